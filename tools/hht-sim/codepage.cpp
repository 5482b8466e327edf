#include "codepage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace hht {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> in(text.begin(), text.end());
  // Neither encoding grows a character by more than a factor of two.
  std::string out(text.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t rc = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  const bool ok = rc != static_cast<std::size_t>(-1) && inLeft == 0 &&
                  ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  ::iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToLine(std::string_view utf8) { return Convert("CP949", "UTF-8", utf8); }

std::optional<std::string> LineToUtf8(std::string_view cp949) { return Convert("UTF-8", "CP949", cp949); }

}  // namespace hht
