// The check character, the frame builders and the field readers.
#include <gtest/gtest.h>

#include <climits>

#include "frame.h"

namespace {

using namespace vantor;

std::uint8_t Check(std::initializer_list<std::uint8_t> bytes) {
  const std::vector<std::uint8_t> v(bytes);
  return CalcCheck(Bytes(v.data(), v.size()));
}

TEST(CalcCheck, FoldsTheXorIntoPrintableCharacters) {
  struct Row {
    std::vector<std::uint8_t> bytes;
    std::uint8_t expected;
  };
  const Row rows[] = {
      {{'a', 'b', 'c'}, 0x60}, {{}, 0x20},           {{0x7F}, 0x60}, {{0x80}, 0x5F}, {{0xFF}, 0x20}, {{0x1F}, 0x3F},
      {{0x05}, 0x25},          {{0x0F, 0xF0}, 0x20}, {{0x41}, 0x41}, {{0x7E}, 0x7E}, {{0xC0}, 0x3F},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(CalcCheck(Bytes(r.bytes.data(), r.bytes.size())), r.expected)
        << "first byte " << int(r.bytes.empty() ? -1 : r.bytes[0]);
  }
}

TEST(CalcCheck, IsNeverAControlOrFlowCharacter) {
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t c = Check({static_cast<std::uint8_t>(x)});
    EXPECT_GE(c, 0x20) << x;
    EXPECT_LE(c, 0x7E) << x;
    EXPECT_NE(c, XON);
    EXPECT_NE(c, XOFF);
  }
}

TEST(Frames, EndAnswerIsAlwaysTheSameTenBytes) {
  EXPECT_EQ(BuildEndAnswer(), std::string("\x02\x06"
                                          "00000\x04\x32\x03",
                                          10));
}

TEST(Frames, HeaderAnswersFollowTheirLayout) {
  const std::string enq = BuildEnqAnswer("0000012345");
  ASSERT_EQ(enq.size(), 54u);
  EXPECT_EQ(enq.substr(0, 21), std::string("\x02\x06"
                                           "000000000"
                                           "0000012345"));
  EXPECT_EQ(enq.substr(21, 30), std::string(30, ' '));
  EXPECT_EQ(enq[51], ENQ);
  EXPECT_TRUE(HasValidTrailer(Bytes(reinterpret_cast<const std::uint8_t*>(enq.data()), enq.size())));

  const std::string soh = BuildSohAnswer("4000", "0000009000", "STOCK.TXT");
  EXPECT_EQ(soh.substr(0, 21), std::string("\x02\x06"
                                           "00001"
                                           "4000"
                                           "0000009000"));
  EXPECT_EQ(soh.substr(21, 30), "STOCK.TXT" + std::string(21, ' '));
  EXPECT_EQ(soh[51], SOH);
  EXPECT_EQ(soh[53], ETX);

  const std::string nak = BuildNegativeAnswer();
  EXPECT_EQ(nak.substr(0, 2), "\x02\x15");
  EXPECT_EQ(nak.substr(2, 50), std::string(50, ' '));
  EXPECT_EQ(nak[52], 0x35);  // NAK, the 50 blanks cancelling in pairs
}

TEST(Frames, BlockAcknowledgementCarriesNextNumberAndKind) {
  const std::string ack = BuildBlockFrame(5, ETB);
  EXPECT_EQ(ack.substr(0, 8), std::string("\x02\x06"
                                          "00005\x17"));
  EXPECT_TRUE(HasValidTrailer(Bytes(reinterpret_cast<const std::uint8_t*>(ack.data()), ack.size())));
}

TEST(Frames, DataFrameIsPaddedToTheBlockSize) {
  const std::string f = BuildDataFrame(ETB, "00003", "ABC", 8, RS);
  ASSERT_EQ(f.size(), 16u);
  EXPECT_EQ(f.substr(0, 14), std::string("\x17"
                                         "00003"
                                         "ABC\x1e\x1e\x1e\x1e\x1e"));
  EXPECT_TRUE(HasValidTrailer(Bytes(reinterpret_cast<const std::uint8_t*>(f.data()), f.size())));
}

TEST(Frames, TrailerCheckRejectsEveryBrokenPart) {
  std::string f = BuildBlockFrame(1, STX);
  auto valid = [](const std::string& s) {
    return HasValidTrailer(Bytes(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
  };
  EXPECT_TRUE(valid(f));
  std::string noEtx = f;
  noEtx[9] = 0;
  EXPECT_FALSE(valid(noEtx));
  std::string badCheck = f;
  badCheck[8] ^= 1;
  EXPECT_FALSE(valid(badCheck));
  std::string changed = f;
  changed[3] = '9';
  EXPECT_FALSE(valid(changed));
  EXPECT_FALSE(valid(std::string("\x03", 1)));
}

TEST(ParseNumber, ReadsLikeAtol) {
  struct Row {
    std::string text;
    long value;
  };
  const Row rows[] = {{"00042", 42},
                      {"  42 ", 42},
                      {"     ", 0},
                      {"12ab3", 12},
                      {"ab", 0},
                      {"-0010", -10},
                      {"+7", 7},
                      {"0000012345", 12345},
                      // Beyond the range of long: the limit, as strtol gives (found by fuzz_frame).
                      {"9223372036854775807", LONG_MAX},
                      {"9223372036854775808", LONG_MAX},
                      {"-9223372036854775808", LONG_MIN},
                      {"-99999999999999999999", LONG_MIN},
                      {"123456789012345678901234567890", LONG_MAX}};
  for (const Row& r : rows) {
    EXPECT_EQ(ParseNumber(Bytes(reinterpret_cast<const std::uint8_t*>(r.text.data()), r.text.size())), r.value)
        << r.text;
  }
}

TEST(IsPlainName, RefusesEverythingThatCouldLeaveTheDirectory) {
  for (const char* ok : {"STOCK.TXT", "a", "...", "name with blanks", "\xC0\xE7\xB0\xED.TXT"}) {
    EXPECT_TRUE(IsPlainName(ok)) << ok;
  }
  for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "C:x", "/etc/passwd"}) {
    EXPECT_FALSE(IsPlainName(bad)) << bad;
  }
}

}  // namespace
