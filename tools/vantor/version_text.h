#pragma once
#include <string>
namespace vantor {
// The library's version, as --version prints it.
std::string VersionText();
}  // namespace vantor
