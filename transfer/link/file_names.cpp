#include "file_names.h"

#include <algorithm>
#include <cctype>

#include "frame.h"
#include "text_codec.h"

namespace vantor {

std::optional<std::string> PathInDir(const std::string& dir, const std::string& cp949Name) {
  if (!IsPlainName(cp949Name)) return std::nullopt;
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
