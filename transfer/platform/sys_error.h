#pragma once
// A failed system call as a value: the system's error number and its message.
// Every platform seam reports failures this way; nothing throws across them.

#include <string>

namespace vantor {

struct SysError {
  int code = 0;
  std::string message;
  explicit operator bool() const { return code != 0; }
};

// The calling thread's last system error (errno, or GetLastError on Windows),
// with the system's text for it. A zero error number is reported as an I/O
// error, so that a failure is never mistaken for success.
SysError LastSystemError();

// The system's text for an error number of the same kind.
std::string SystemErrorText(int code);

}  // namespace vantor
