#pragma once
// The library's version block, as data: the binary file and product versions
// and one string block (language and code page "041204b0": Korean, Unicode)
// with its six values in their order. VersionText formats it for people.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vantor {

struct VersionString {
  const char* key;
  const char* value;  // UTF-8
};

struct VersionBlock {
  std::array<std::uint16_t, 4> fileVersion;
  std::array<std::uint16_t, 4> productVersion;
  std::uint16_t language;  // 0x0412, Korean
  std::uint16_t codePage;  // 1200, Unicode
  std::span<const VersionString> strings;
};

const VersionBlock& LibraryVersionBlock();

// "1.0.0.1"
std::string FormatVersion(const std::array<std::uint16_t, 4>& version);

// The block for a person to read, UTF-8, one item a line, ending in a line end:
//   Vantor2 1.0.0.1
//   FileVersion 1.0.0.1, ProductVersion 1.0.0.1
//   StringFileInfo 041204b0
//     FileDescription: Vantor3 DLL
//     ...
std::string VersionText();

}  // namespace vantor
