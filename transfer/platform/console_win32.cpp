// A stream is a terminal on Windows when it is a console: a character device
// that answers GetConsoleMode (NUL is a character device too, and no console).
#include <windows.h>

#include <io.h>

#include "console.h"

namespace vantor {

bool IsTerminal(std::FILE* stream) {
  const intptr_t os = _get_osfhandle(_fileno(stream));
  if (os == -1) return false;
  const HANDLE handle = reinterpret_cast<HANDLE>(os);
  DWORD mode = 0;
  return GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace vantor
