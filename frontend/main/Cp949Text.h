#pragma once
// The transfer library writes its own files (Log/comm.log among them) in code
// page 949 on every system; the program reads them in UTF-8, through the
// library's own codec.

#include <string>
#include <string_view>

// A byte that is no character in code page 949 becomes U+FFFD; the rest is
// converted exactly.
std::string Cp949ToUtf8(std::string_view cp949);
