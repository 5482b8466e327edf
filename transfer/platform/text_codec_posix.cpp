// Conversions through glibc's iconv, whose "CP949" is Microsoft's code page 949.
#include "text_codec.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

std::string ConvertLossy(const std::string& to, const std::string& from, std::string_view in) {
  if (auto exact = Convert(to, from, in)) return *exact;
  // Convert piece by piece, keeping the bytes that do not convert.
  std::string out;
  std::size_t i = 0;
  while (i < in.size()) {
    std::size_t len = (static_cast<unsigned char>(in[i]) < 0x80) ? 1 : 2;
    if (from != "CP949") {
      unsigned char c = static_cast<unsigned char>(in[i]);
      len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    }
    len = std::min(len, in.size() - i);
    if (auto piece = Convert(to, from, in.substr(i, len))) {
      out += *piece;
    } else {
      out.push_back(in[i]);
      len = 1;
    }
    i += len;
  }
  return out;
}

}  // namespace

std::optional<std::string> Cp949ToLocal(std::string_view cp949) { return Convert(LocalCodeset(), "CP949", cp949); }

std::optional<std::string> LocalToCp949(std::string_view local) { return Convert("CP949", LocalCodeset(), local); }

std::optional<std::string> Utf8ToCp949(std::string_view utf8) { return Convert("CP949", "UTF-8", utf8); }

std::string Cp949ToUtf8Lossy(std::string_view cp949) { return ConvertLossy("UTF-8", "CP949", cp949); }

std::string Cp949ToLocalLossy(std::string_view cp949) { return ConvertLossy(LocalCodeset(), "CP949", cp949); }

std::string LocalToCp949Lossy(std::string_view local) { return ConvertLossy("CP949", LocalCodeset(), local); }

}  // namespace vantor
