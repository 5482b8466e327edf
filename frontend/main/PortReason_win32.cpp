#include <windows.h>

#include "PortErrorText.h"
#include "WideText.h"

// Opened as the library opens the line; the reason in the system's own
// language through FormatMessageW.
std::string PortOpenReason(const std::string& device) {
  const HANDLE h = CreateFileW(Wide(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  const bool serial = GetCommState(h, &dcb) != 0;
  const DWORD error = serial ? 0 : GetLastError();
  CloseHandle(h);
  return serial ? std::string() : SystemMessage(error);
}
