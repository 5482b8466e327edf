// The machine's COM devices on Windows, as the system names them: every
// "COMn" among the DOS device names, as \\.\COMn.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "serial_devices.h"

namespace ports {

std::vector<SerialDevice> ListSerialDevices(const DeviceRoots&) {
  std::vector<char> names(65536);
  const DWORD len = QueryDosDeviceA(nullptr, names.data(), static_cast<DWORD>(names.size()));
  std::vector<SerialDevice> devices;
  for (DWORD i = 0; i < len && names[i] != '\0'; i += static_cast<DWORD>(std::strlen(&names[i])) + 1) {
    const std::string name = &names[i];
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0 &&
        std::all_of(name.begin() + 3, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
      devices.push_back({"\\\\.\\" + name, {}});
    }
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
  return devices;
}

bool SameDevice(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace ports
