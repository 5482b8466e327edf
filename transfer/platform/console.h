#pragma once
// What the headless view needs to know of its output stream.

#include <cstdio>

namespace vantor {

// True when the stream is an interactive terminal (a console), where a
// progress line can be redrawn in place.
bool IsTerminal(std::FILE* stream);

}  // namespace vantor
