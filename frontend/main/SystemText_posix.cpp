#include "SystemText.h"

// The locale's encoding is UTF-8 (a process in the C locale is taken as
// UTF-8 too, as the library does).
std::string ToSystemNarrow(const std::string& utf8) { return utf8; }
std::string FromSystemNarrow(const std::string& narrow) { return narrow; }
