#pragma once
// The lossy half of both text codecs: a text converted whole when it can be,
// else character by character, keeping the bytes of a character that does not
// convert, so that a name or a log line is never lost for one odd character.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// `convert(piece)` gives the converted piece or nothing; `charLength(in, i)`
// the length of the character of the source encoding that starts at in[i].
template <class Convert, class CharLength>
std::string ConvertKeepingBytes(std::string_view in, Convert convert, CharLength charLength) {
  if (std::optional<std::string> exact = convert(in)) return *exact;
  std::string out;
  std::size_t i = 0;
  while (i < in.size()) {
    std::size_t len = std::min(charLength(in, i), in.size() - i);
    if (std::optional<std::string> piece = convert(in.substr(i, len))) {
      out += *piece;
    } else {
      out.push_back(in[i]);
      len = 1;
    }
    i += len;
  }
  return out;
}

}  // namespace vantor
