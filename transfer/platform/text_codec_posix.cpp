// Conversions through glibc's iconv, whose "CP949" is Microsoft's code page 949.
#include "text_codec.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "lossy_convert.h"

namespace vantor {
namespace {

// The encoding of names on disk. A process that never called setlocale (or
// runs under the C locale) reports ASCII; file names on Linux are UTF-8 then too.
std::string LocalCodeset() {
  const char* cs = nl_langinfo(CODESET);
  if (cs == nullptr || *cs == '\0' || std::strcmp(cs, "ANSI_X3.4-1968") == 0) return "UTF-8";
  return cs;
}

std::optional<std::string> Convert(const std::string& to, const std::string& from, std::string_view in) {
  if (in.empty()) return std::string();
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  bool ok = rc != static_cast<std::size_t>(-1) && srcLeft == 0;
  if (ok) ok = iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

// Length of the character that starts at in[i]: CP949 has one-byte and
// two-byte characters, UTF-8 (and any other local set, taken alike) up to four.
std::size_t CharLength(const std::string& encoding, std::string_view in, std::size_t i) {
  const auto c = static_cast<unsigned char>(in[i]);
  if (c < 0x80) return 1;
  if (encoding == "CP949") return 2;
  return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
}

std::string ConvertLossy(const std::string& to, const std::string& from, std::string_view in) {
  return ConvertKeepingBytes(
      in, [&](std::string_view piece) { return Convert(to, from, piece); },
      [&](std::string_view text, std::size_t i) { return CharLength(from, text, i); });
}

}  // namespace

std::optional<std::string> Cp949ToLocal(std::string_view cp949) { return Convert(LocalCodeset(), "CP949", cp949); }

std::optional<std::string> LocalToCp949(std::string_view local) { return Convert("CP949", LocalCodeset(), local); }

std::optional<std::string> Utf8ToCp949(std::string_view utf8) { return Convert("CP949", "UTF-8", utf8); }

std::string Cp949ToUtf8Lossy(std::string_view cp949) { return ConvertLossy("UTF-8", "CP949", cp949); }

std::string Cp949ToLocalLossy(std::string_view cp949) { return ConvertLossy(LocalCodeset(), "CP949", cp949); }

std::string LocalToCp949Lossy(std::string_view local) { return ConvertLossy("CP949", LocalCodeset(), local); }

std::string Utf8ToLocalLossy(std::string_view utf8) { return ConvertLossy(LocalCodeset(), "UTF-8", utf8); }

}  // namespace vantor
