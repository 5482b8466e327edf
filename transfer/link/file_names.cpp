#include "file_names.h"

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

}  // namespace vantor
