#include <cerrno>
#include <cstring>

#include "sys_error.h"

namespace vantor {

SysError LastSystemError() {
  const int code = errno != 0 ? errno : EIO;
  return {code, SystemErrorText(code)};
}

std::string SystemErrorText(int code) { return std::strerror(code); }

}  // namespace vantor
