#include <unistd.h>

#include "console.h"

namespace vantor {

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

}  // namespace vantor
