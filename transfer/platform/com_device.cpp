#include "com_device.h"

#include <cstdlib>

namespace vantor {

std::string DeviceForPort(const std::string& portName) {
  if (portName.size() != 4 || portName.compare(0, 3, "COM") != 0 || portName[3] < '1' || portName[3] > '9') return {};
  const std::string var = "VANTOR_" + portName;
  const char* named = std::getenv(var.c_str());
  if (named != nullptr && *named != '\0') return named;
  return NativeDeviceForPort(portName);
}

}  // namespace vantor
