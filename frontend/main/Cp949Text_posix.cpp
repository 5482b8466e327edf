#include <iconv.h>

#include <cerrno>

#include "Cp949Text.h"

std::string Cp949ToUtf8(std::string_view cp949) {
  iconv_t cd = ::iconv_open("UTF-8", "CP949");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(cp949);  // no converter: ASCII still reads
  std::string out;
  out.reserve(cp949.size() + cp949.size() / 2);
  char* in = const_cast<char*>(cp949.data());
  std::size_t inLeft = cp949.size();
  char buf[4096];
  while (inLeft > 0) {
    char* next = buf;
    std::size_t outLeft = sizeof buf;
    const std::size_t done = ::iconv(cd, &in, &inLeft, &next, &outLeft);
    out.append(buf, static_cast<std::size_t>(next - buf));
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // A byte that starts no character, or a lead byte at the very end.
    out += "\xEF\xBF\xBD";
    ++in;
    --inLeft;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv_close(cd);
  return out;
}
