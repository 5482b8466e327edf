#pragma once
// The program keeps its texts in UTF-8; the transfer library takes 8-bit
// text in the system's encoding: the locale's on Linux (UTF-8), the ANSI code
// page on Windows (949 on a Korean system).

#include <string>

std::string ToSystemNarrow(const std::string& utf8);
std::string FromSystemNarrow(const std::string& narrow);
