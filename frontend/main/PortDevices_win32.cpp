#include <algorithm>
#include <cctype>

#include "PortDevices.h"

std::string PortDevices::DefaultDeviceOf(int portNo) { return "\\\\.\\COM" + std::to_string(portNo); }

std::string PortDevices::DeviceOfName(const std::string& name) {
  const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  const bool bareCom = name.size() > 3 && (name[0] == 'C' || name[0] == 'c') && (name[1] == 'O' || name[1] == 'o') &&
                       (name[2] == 'M' || name[2] == 'm') && std::all_of(name.begin() + 3, name.end(), digit);
  return bareCom ? "\\\\.\\COM" + name.substr(3) : name;
}
