// The machine's COM devices on Windows, as the system names them: every
// "COMn" among the DOS device names whose device is there, as \\.\COMn.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "serial_devices.h"

namespace ports {

bool DevicePresent(const std::string& path) {
  // The system's list of COM names says nothing of the device behind a name
  // (Wine lists COM1 and COM2 whatever they stand for, and opens a name whose
  // device is gone as something that is no serial line): only opening it and
  // reading its line settings does. A device in use by another program is
  // there.
  const HANDLE h =
      CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    return err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  const bool serial = GetCommState(h, &dcb) != 0;
  CloseHandle(h);
  return serial;
}

std::vector<SerialDevice> ListSerialDevices(const DeviceRoots&) {
  std::vector<char> names(65536);
  const DWORD len = QueryDosDeviceA(nullptr, names.data(), static_cast<DWORD>(names.size()));
  std::vector<SerialDevice> devices;
  for (DWORD i = 0; i < len && names[i] != '\0'; i += static_cast<DWORD>(std::strlen(&names[i])) + 1) {
    const std::string name = &names[i];
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0 &&
        std::all_of(name.begin() + 3, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
      const std::string device = "\\\\.\\" + name;
      if (DevicePresent(device)) devices.push_back({device, {}});
    }
  }
  // By number: COM5 before COM12 (the names differ only in their digits).
  std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
    return a.path.size() != b.path.size() ? a.path.size() < b.path.size() : a.path < b.path;
  });
  return devices;
}

bool SameDevice(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace ports
