// System errors on Windows: GetLastError() codes with the system's own text.
#include <windows.h>

#include "sys_error.h"

namespace vantor {

SysError LastSystemError() {
  const DWORD code = GetLastError();
  const int reported = code != 0 ? static_cast<int>(code) : ERROR_GEN_FAILURE;
  return {reported, SystemErrorText(reported)};
}

std::string SystemErrorText(int code) {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  // The log is read by support staff: English first, the user's language when
  // the system has no English text.
  DWORD len = FormatMessageA(flags, nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             reinterpret_cast<char*>(&text), 0, nullptr);
  if (len == 0) {
    len = FormatMessageA(flags, nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  }
  std::string message = len != 0 && text != nullptr ? std::string(text, len) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

}  // namespace vantor
