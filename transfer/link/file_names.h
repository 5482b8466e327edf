#pragma once
// Turning a file name from the terminal (code page 949) into a path on disk.

#include <optional>
#include <string>

namespace vantor {

// dir + the name in the locale's encoding, when the name is plain (not empty,
// not "." or "..", no "/", "\" or ":") and converts exactly; else nullopt, so
// that nothing is ever read or written outside the directory.
std::optional<std::string> PathInDir(const std::string& dir, const std::string& cp949Name);

}  // namespace vantor
