#include "version_text.h"

#if __has_include("version_block.h")
#include "version_block.h"
#define VANTOR_HAVE_VERSION_BLOCK 1
#endif

namespace vantor {
#ifndef VANTOR_HAVE_VERSION_BLOCK
std::string VersionText() { return "Vantor2 1.0.0.1\n"; }
#endif
}  // namespace vantor
