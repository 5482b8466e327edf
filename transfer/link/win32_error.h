#pragma once
// Win32 errors as values: the one place where GetLastError() codes become the
// system's own message, for every Win32 backend of the library.

#include <string>

#include "com_line.h"

namespace vantor {

// The system's message for a Win32 error code, in English when the system
// has it, without the trailing line end; "error N" when it has none.
std::string Win32Message(unsigned long code);

// what + ": " + the message of GetLastError() (or of code, when given).
ComError Win32Error(const std::string& what);
ComError Win32Error(const std::string& what, unsigned long code);

}  // namespace vantor
