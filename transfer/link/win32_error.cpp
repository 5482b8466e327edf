#include "win32_error.h"

#include <windows.h>

namespace vantor {

std::string Win32Message(unsigned long code) {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  // Log lines are read by support staff: English first, the user's language
  // when the system has no English text.
  DWORD len = FormatMessageA(flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             reinterpret_cast<char*>(&text), 0, nullptr);
  if (len == 0) {
    len = FormatMessageA(flags, nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  }
  std::string message = len != 0 && text != nullptr ? std::string(text, len) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

ComError Win32Error(const std::string& what, unsigned long code) {
  if (code == 0) code = ERROR_GEN_FAILURE;
  return {static_cast<int>(code), what + ": " + Win32Message(code)};
}

ComError Win32Error(const std::string& what) { return Win32Error(what, GetLastError()); }

}  // namespace vantor
