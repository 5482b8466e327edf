#include "file_names.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "frame.h"
#include "text_codec.h"

namespace vantor {

namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

bool IsDeviceName(const std::string& name) {
  // Windows takes the part before the first dot, without trailing blanks.
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  base = Upper(base);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

// "STEM~N.EXT": up to 8 characters before the dot, among them "~" and a
// number, and at most 3 after it.
bool IsAliasForm(const std::string& name) {
  const std::size_t dot = name.find('.');
  const std::string base = name.substr(0, dot);
  if (dot != std::string::npos && (name.size() - dot - 1 > 3 || name.find('.', dot + 1) != std::string::npos))
    return false;
  const std::size_t tilde = base.find('~');
  if (base.size() > 8 || tilde == std::string::npos || tilde + 1 == base.size()) return false;
  return std::all_of(base.begin() + static_cast<std::ptrdiff_t>(tilde) + 1, base.end(),
                     [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

bool IsPortableName(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (const unsigned char c : name) {
    if (c < 0x20 || c == 0x7F || std::strchr("<>:\"|?*", c) != nullptr) return false;
  }
  return !IsDeviceName(name) && !IsAliasForm(name);
}

std::optional<std::string> PathInDir(const std::string& dir, const std::string& cp949Name) {
  if (!IsPlainName(cp949Name) || !IsPortableName(cp949Name)) return std::nullopt;
  auto local = Cp949ToLocal(cp949Name);
  // The converted name is checked again: a byte that is harmless in code page
  // 949 must not become a separator on disk.
  if (!local || !IsPlainName(*local)) return std::nullopt;
  return dir + *local;
}

bool IsReservedRecvName(const std::string& localName) {
  std::string n = localName;
  std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
  return n.ends_with(".tmp") || n.ends_with(".tmp.new") || n == "commlist.lst" || n == "comminfo.ini";
}

}  // namespace vantor
