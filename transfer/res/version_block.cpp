#include "version_block.h"

#include <cstdio>

namespace vantor {
namespace {

constexpr std::array<VersionString, 6> kStrings{{
    {"FileDescription", "Vantor3 DLL"},
    {"FileVersion", "1, 0, 0, 1"},
    {"InternalName", "Vantor3"},
    {"OriginalFilename", "Vantor3.DLL"},
    {"ProductName", "Vantor3 동적 연결 라이브러리"},
    {"ProductVersion", "1, 0, 0, 1"},
}};

}  // namespace

const VersionBlock& LibraryVersionBlock() {
  static const VersionBlock block{{1, 0, 0, 1}, {1, 0, 0, 1}, 0x0412, 1200, kStrings};
  return block;
}

std::string FormatVersion(const std::array<std::uint16_t, 4>& v) {
  return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

std::string VersionText() {
  const VersionBlock& block = LibraryVersionBlock();
  char blockName[9];
  std::snprintf(blockName, sizeof blockName, "%04x%04x", block.language, block.codePage);
  std::string text = "Vantor2 " + FormatVersion(block.fileVersion) + "\n";
  text += "FileVersion " + FormatVersion(block.fileVersion) + ", ProductVersion " +
          FormatVersion(block.productVersion) + "\n";
  text += std::string("StringFileInfo ") + blockName + "\n";
  for (const VersionString& s : block.strings) text += std::string("  ") + s.key + ": " + s.value + "\n";
  return text;
}

}  // namespace vantor
