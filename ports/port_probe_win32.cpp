// Why a COM device cannot be opened on Windows: the system's text for the
// error of a plain open, as the line itself would open it.
#include <windows.h>

#include "port_probe.h"

namespace ports {
namespace {

std::string ErrorText(DWORD code) {
  char* text = nullptr;
  const DWORD len = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = len != 0 && text != nullptr ? std::string(text, len) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  return out;
}

}  // namespace

std::string OpenProblem(const std::string& device) {
  const HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    if (err == ERROR_ACCESS_DENIED) return "in use by another program (" + ErrorText(err) + ")";
    return ErrorText(err);
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  const bool serial = GetCommState(h, &dcb) != 0;
  CloseHandle(h);
  return serial ? std::string() : "not a serial line";
}

}  // namespace ports
