// The lossy conversions: a text with a character that does not convert keeps
// that character's bytes and converts the rest. (The process runs in the C
// locale, where local names are taken as UTF-8.)
#include <gtest/gtest.h>

#include "text_codec.h"

namespace {

using namespace vantor;

TEST(TextCodec, LossyConversionKeepsTheBytesItCannotConvertAndConvertsTheRest) {
  struct Row {
    std::string (*convert)(std::string_view);
    const char* in;
    const char* out;
  };
  const Row rows[] = {
      // whole
      {Cp949ToUtf8Lossy, "\xC5\xEB\xBD\xC5", "통신"},
      // a lead byte without its trail byte at the end
      {Cp949ToUtf8Lossy,
       "A\xC5\xEB"
       "B\xC5",
       "A통B\xC5"},
      // a byte that is no character
      {Cp949ToUtf8Lossy,
       "\xFF"
       "A\xC5\xEB",
       "\xFF"
       "A통"},
      // a four-byte character without a code in 949
      {LocalToCp949Lossy, "통\xF0\x9F\x98\x80신", "\xC5\xEB\xF0\x9F\x98\x80\xBD\xC5"},
      // a character cut short
      {LocalToCp949Lossy, "\xE2\x82", "\xE2\x82"},
      {Cp949ToLocalLossy, "", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(r.convert(r.in), r.out) << r.in;
}

}  // namespace
