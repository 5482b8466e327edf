#include "Cp949Text.h"

#include "text_codec.h"

namespace {

// Each byte that starts no whole UTF-8 character becomes U+FFFD. The
// library's lossy conversion keeps a byte that is no character of code page
// 949 as it is; its neighbours are whole characters, so such a byte never
// forms UTF-8 with them.
std::string WithReplacementCharacters(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    bool whole = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (whole) {
      out.append(text, i, length);
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string Cp949ToUtf8(std::string_view cp949) { return WithReplacementCharacters(vantor::Cp949ToUtf8Lossy(cp949)); }
