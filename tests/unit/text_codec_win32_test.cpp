// The Win32 text codec (text_codec_win32.cpp): code page 949 through the
// system's tables, "local" being the ANSI code page (949 under the tests'
// LANG=ko_KR.UTF-8, as on a Korean Windows).
#include <gtest/gtest.h>
#include <windows.h>

#include "text_codec.h"

namespace {

using namespace vantor;

TEST(Win32TextCodec, RunsWithTheKoreanAnsiCodePage) { EXPECT_EQ(GetACP(), 949u); }

TEST(Win32TextCodec, ConvertsTheLibrarysTextsTo949) {
  struct Row {
    const char* utf8;
    const char* cp949;
  };
  const Row rows[] = {
      {"통신 대기중...", "\xC5\xEB\xBD\xC5 \xB4\xEB\xB1\xE2\xC1\xDF..."},
      {"사용자 중단...", "\xBB\xE7\xBF\xEB\xC0\xDA \xC1\xDF\xB4\xDC..."},
      {"뷁", "\x94\xEE"},  // outside KS X 1001: only the extended code page has it
      {"STOCK.TXT", "STOCK.TXT"},
      {"", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Utf8ToCp949(r.utf8), std::optional<std::string>(r.cp949)) << r.utf8;
    EXPECT_EQ(Cp949ToUtf8Lossy(r.cp949), r.utf8);
  }
}

TEST(Win32TextCodec, RefusesWhatCannotBeConvertedExactly) {
  EXPECT_EQ(Utf8ToCp949("\xF0\x9F\x98\x80"), std::nullopt) << "an emoji has no code in 949";
  EXPECT_EQ(Utf8ToCp949("\xC3\xA9"), std::nullopt) << "no best-fit 'e' for e-acute";
  EXPECT_EQ(Cp949ToLocal("\xC5"), std::nullopt) << "a lead byte without its trail byte";
  EXPECT_EQ(Utf8ToCp949("\xFF"), std::nullopt) << "not UTF-8";
}

TEST(Win32TextCodec, LocalIsTheAnsiCodePage) {
  // With code page 949 as the ANSI code page, names pass unchanged both ways.
  EXPECT_EQ(Cp949ToLocal("\xC5\xEB\xBD\xC5.TXT"), std::optional<std::string>("\xC5\xEB\xBD\xC5.TXT"));
  EXPECT_EQ(LocalToCp949("\xC5\xEB\xBD\xC5.TXT"), std::optional<std::string>("\xC5\xEB\xBD\xC5.TXT"));
}

TEST(Win32TextCodec, LossyConversionKeepsTheBytesItCannotConvert) {
  EXPECT_EQ(Cp949ToUtf8Lossy("A\xC5\xEB"
                             "B\xC5"),
            "A통B\xC5");
  EXPECT_EQ(Cp949ToLocalLossy("x\xC5"), "x\xC5");
  EXPECT_EQ(LocalToCp949Lossy("\xBB\xE7"), "\xBB\xE7");
}

}  // namespace
