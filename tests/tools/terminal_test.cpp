// The terminal's runs against a scripted PC over the byte-stream seam.

#include <gtest/gtest.h>

#include "fake_pc.h"
#include "frame.h"
#include "terminal.h"
#include "text_codec.h"

namespace hht::test {
namespace {

using vantor::CAN;
using vantor::ENQ;
using vantor::EOT;
using vantor::ETB;
using vantor::FS;
using vantor::RS;
using vantor::SOH;
using vantor::STX;

constexpr int kBlock = 16;

std::string Line(const std::string& utf8) { return vantor::Utf8ToCp949(utf8).value(); }

std::uint8_t Lead(const std::string& frame) { return static_cast<std::uint8_t>(frame.at(0)); }

std::vector<std::uint8_t> Leads(const std::vector<std::string>& frames) {
  std::vector<std::uint8_t> leads;
  for (const std::string& f : frames) leads.push_back(Lead(f));
  return leads;
}

std::string Text(std::size_t n, char seed) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('A' + (seed + i) % 26));
  return s;
}

Options Quick() {
  Options o;
  o.blockSize = kBlock;
  return o;
}

// Three files: a short last block, an empty file with a Korean name, and a
// file of exactly two blocks.
std::vector<FileData> SampleFiles() {
  return {{"STOCK.TXT", Text(40, 0)}, {"재고.TXT", ""}, {"EXACT.DAT", Text(2 * kBlock, 5)}};
}

void ExpectStored(const FakePc& pc, const std::vector<FileData>& files) {
  ASSERT_EQ(pc.stored.size(), files.size());
  for (const FileData& f : files) EXPECT_EQ(pc.stored.at(Line(f.name)), f.bytes) << f.name;
}

TEST(TerminalSend, DeliversEveryFileExactlyInTheOrderOfTheProtocol) {
  FakePc pc;
  const auto files = SampleFiles();
  const RunResult r = Terminal(pc, Quick()).SendFiles(files);

  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.ending, Ending::Success);
  EXPECT_EQ(pc.result, 1);
  ExpectStored(pc, files);
  EXPECT_EQ(r.bytes, 72);
  EXPECT_EQ(r.retries, 0);
  EXPECT_EQ(r.totalAnnounced, 72);
  const std::vector<std::uint8_t> expected = {ENQ, SOH, STX, STX, ETB, FS, SOH, FS, SOH, STX, STX, FS, EOT};
  EXPECT_EQ(Leads(pc.written), expected);
  EXPECT_EQ(r.framesSent, static_cast<int>(expected.size()));
}

TEST(TerminalSend, WritesTheRequestHeadersAndLastBlockAsThePcReadsThem) {
  FakePc pc;
  ASSERT_TRUE(Terminal(pc, Quick()).SendFiles(SampleFiles()).ok);
  const std::string& enq = pc.written[0];
  EXPECT_EQ(enq.size(), 1024u);
  EXPECT_EQ(enq.substr(1, 13), "1030000000072");  // direction, number of files, total size
  EXPECT_EQ(enq.substr(69, 29), "STOCK.TXT:" + Line("재고.TXT") + ":EXACT.DAT:");
  const std::string& soh = pc.written[6];
  EXPECT_EQ(soh.substr(1, 15), "100160000000000");  // direction, block size, file size
  EXPECT_EQ(soh.substr(16, 30), Line("재고.TXT") + std::string(22, ' '));
  const std::string& etb = pc.written[4];
  ASSERT_EQ(etb.size(), static_cast<std::size_t>(kBlock + 8));
  EXPECT_EQ(etb.substr(1, 5), "00003");
  EXPECT_EQ(etb.substr(6, 8), Text(40, 0).substr(32));
  EXPECT_EQ(etb.substr(14, 8), std::string(8, static_cast<char>(RS)));
}

TEST(TerminalFetch, FetchesEveryFileExactlyAndEndsEachWithAnEndOfFileRequest) {
  FakePc pc;
  pc.sendBlockSize = kBlock;
  pc.sendDir[Line("단가.TXT")] = Text(40, 1);
  pc.sendDir["EXACT.DAT"] = Text(2 * kBlock, 2);
  const RunResult r = Terminal(pc, Options{}).FetchFiles({"단가.TXT", "EXACT.DAT", "MISSING.TXT"});

  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(pc.result, 2);
  ASSERT_EQ(r.files.size(), 3u);
  EXPECT_EQ(r.files[0].name, "단가.TXT");
  EXPECT_EQ(r.files[0].bytes, Text(40, 1));
  EXPECT_EQ(r.files[1].bytes, Text(2 * kBlock, 2));
  EXPECT_EQ(r.files[2].bytes, "");  // the PC answers a missing file with an FS frame
  EXPECT_EQ(r.totalAnnounced, 72);
  EXPECT_EQ(r.bytes, 72);
  // File 1: requests 1, 2, 3 (ETB), then the end-of-file request.
  ASSERT_GE(pc.written.size(), 6u);
  EXPECT_EQ(pc.written[2], vantor::BuildBlockFrame(1, STX));
  EXPECT_EQ(pc.written[3], vantor::BuildBlockFrame(2, STX));
  EXPECT_EQ(pc.written[4], vantor::BuildBlockFrame(3, STX));
  EXPECT_EQ(static_cast<std::uint8_t>(pc.written[5][7]), FS);
  EXPECT_EQ(Lead(pc.written.back()), EOT);
}

TEST(TerminalOpening, RepeatsTheRequestAtTheIntervalUntilThePcAnswers) {
  FakePc pc;
  pc.silentOpenings = 2;
  Options o = Quick();
  o.repeatInterval = Millis(2000);
  const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", "abc"}});

  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.openings, 3);
  EXPECT_EQ(pc.written[0], pc.written[1]);
  EXPECT_EQ(pc.written[1], pc.written[2]);
  EXPECT_EQ(pc.timeouts.at(0), Millis(2000));
  EXPECT_EQ(pc.timeouts.at(1), Millis(2000));
  EXPECT_GE(pc.discards, 2);  // whatever came before each repeat is dropped
}

TEST(TerminalOpening, GivesUpAfterTheAllowedNumberOfSilentRequests) {
  FakePc pc;
  pc.silentOpenings = 100;
  Options o = Quick();
  o.maxOpenings = 4;
  const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", "abc"}});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.ending, Ending::NoAnswer);
  EXPECT_EQ(r.openings, 4);
}

// A refused frame is written again, byte for byte, and the run goes on.
struct RefusalCase {
  const char* what;
  int direction;
  int refused;  // index of the refused frame
};

class TerminalRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TerminalRefusal, SendsTheSameFrameAgainAndLosesNothing) {
  const RefusalCase& c = GetParam();
  FakePc pc;
  pc.sendBlockSize = kBlock;
  pc.sendDir["A.TXT"] = Text(40, 3);
  pc.refuse.insert(c.refused);
  Options o = Quick();
  Terminal terminal(pc, o);
  RunResult r;
  if (c.direction == 1) {
    r = terminal.SendFiles({{"A.TXT", Text(40, 3)}});
  } else {
    r = terminal.FetchFiles({"A.TXT"});
  }
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.retries, 1);
  EXPECT_EQ(pc.written.at(c.refused), pc.written.at(c.refused + 1));
  if (c.direction == 1) {
    EXPECT_EQ(pc.stored.at("A.TXT"), Text(40, 3));
  } else {
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].bytes, Text(40, 3));
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfFrame, TerminalRefusal,
                         ::testing::Values(RefusalCase{"opening", 1, 0}, RefusalCase{"header", 1, 1},
                                           RefusalCase{"full block", 1, 2}, RefusalCase{"last block", 1, 4},
                                           RefusalCase{"end of file", 1, 5}, RefusalCase{"end frame", 1, 6},
                                           RefusalCase{"fetch header", 2, 1}, RefusalCase{"first request", 2, 2},
                                           RefusalCase{"later request", 2, 3}, RefusalCase{"end-of-file request", 2, 5},
                                           RefusalCase{"fetch end frame", 2, 6}),
                         [](const auto& param) {
                           std::string name = param.param.what;
                           for (char& ch : name) ch = ch == ' ' || ch == '-' ? '_' : ch;
                           return name;
                         });

TEST(TerminalAnswers, ASpoiltAcknowledgementMakesTheTerminalSendItsBlockAgain) {
  FakePc pc;
  pc.garble = {2};  // the acknowledgement of block 1
  const RunResult r = Terminal(pc, Quick()).SendFiles({{"A.TXT", Text(40, 4)}});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.retries, 1);
  EXPECT_EQ(pc.written[2], pc.written[3]);
  // Like the PC, the fake stores every accepted frame: block 1 now twice.
  EXPECT_EQ(pc.stored.at("A.TXT"), Text(40, 4).substr(0, kBlock) + Text(40, 4));
}

TEST(TerminalAnswers, ASpoiltDataFrameMakesTheTerminalAskForTheBlockAgain) {
  FakePc pc;
  pc.sendBlockSize = kBlock;
  pc.sendDir["A.TXT"] = Text(40, 4);
  pc.garble = {3};  // the data frame answering the request for block 2
  const RunResult r = Terminal(pc, Options{}).FetchFiles({"A.TXT"});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.retries, 1);
  EXPECT_EQ(pc.written[3], pc.written[4]);
  EXPECT_EQ(r.files.at(0).bytes, Text(40, 4));
}

TEST(TerminalAnswers, ALostAcknowledgementMakesTheTerminalSendItsBlockAgainAfterItsTimeOut) {
  FakePc pc;
  pc.lose = {2};
  Options o = Quick();
  o.answerTimeout = Millis(1234);
  const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", "abc"}});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.retries, 1);
  EXPECT_EQ(pc.written[2], pc.written[3]);
  EXPECT_EQ(pc.timeouts.front(), Millis(1234));
}

TEST(TerminalAnswers, ReceivedNoiseMakesRepeatsButChangesNothingThatIsSent) {
  int repeatedAndCompleted = 0;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    FakePc pc;
    Options o = Quick();
    o.answerNoiseRate = 0.01;
    o.seed = seed;
    const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", Text(200, 5)}});
    EXPECT_EQ(r.framesCorrupted, 0);
    // A spoilt acknowledgement of a file's end cannot be repaired: the PC has
    // gone back to its header phase and refuses the end frame when it comes
    // again. (A spoilt header answer can: the PC answers the header again.)
    EXPECT_TRUE(r.ok || r.ending == Ending::TooManyTries) << r.message;
    if (r.ok && r.retries > 0) ++repeatedAndCompleted;
  }
  EXPECT_GT(repeatedAndCompleted, 0);
}

TEST(TerminalAnswers, TheRunFailsAfterTheAllowedNumberOfTries) {
  FakePc pc;
  for (int i = 1; i < 50; ++i) pc.refuse.insert(i);
  Options o = Quick();
  o.maxTries = 5;
  const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", "abc"}});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.ending, Ending::TooManyTries);
  EXPECT_EQ(pc.written.size(), 6u);  // the opening and five headers
  EXPECT_EQ(r.retries, 4);
}

TEST(TerminalAnswers, APcThatLetsGoOfTheLineEndsTheRunAtOnce) {
  FakePc pc;
  pc.closeAfter = 3;  // after block 1
  const RunResult r = Terminal(pc, Quick()).SendFiles({{"A.TXT", Text(100, 0)}});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.ending, Ending::LineClosed);
  EXPECT_EQ(pc.written.size(), 4u);  // block 2 went unanswered and was not repeated
}

TEST(TerminalCancel, SendsARunOfCanInPlaceOfTheChosenBlockAndStops) {
  FakePc pc;
  Options o = Quick();
  o.cancelAtBlock = 2;
  const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", Text(40, 0)}});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.ending, Ending::Cancelled);
  EXPECT_EQ(pc.result, -3);
  EXPECT_EQ(pc.written.back(), std::string(kBlock + 8, static_cast<char>(CAN)));
  EXPECT_EQ(pc.written.size(), 4u);  // opening, header, block 1, cancel
  EXPECT_EQ(pc.stored.at("A.TXT"), Text(40, 0).substr(0, kBlock));
}

TEST(TerminalCancel, CountsBlocksOverTheWholeFetch) {
  FakePc pc;
  pc.sendBlockSize = kBlock;
  pc.sendDir["A.TXT"] = Text(20, 0);  // blocks 1 and 2
  pc.sendDir["B.TXT"] = Text(20, 1);  // block 3 of the run
  Options o;
  o.cancelAtBlock = 3;
  const RunResult r = Terminal(pc, o).FetchFiles({"A.TXT", "B.TXT"});
  EXPECT_EQ(r.ending, Ending::Cancelled);
  EXPECT_EQ(pc.written.back(), std::string(10, static_cast<char>(CAN)));
  EXPECT_EQ(pc.result, -3);
  EXPECT_TRUE(r.files.size() == 1 && r.files[0].bytes == Text(20, 0));
}

TEST(TerminalInput, RefusesWhatTheLineCannotCarryBeforeSendingAnything) {
  const std::vector<std::vector<FileData>> bad = {
      {{"A:B.TXT", "x"}},                               // ':' separates the name list
      {{std::string(31, 'N'), "x"}},                    // longer than the header's name field
      {{"가나다라마바사아자차카타파하가나.TXT", "x"}},  // 20 characters, 36 bytes on the line
      {{"SMILE\xF0\x9F\x98\x80.TXT", "x"}},             // no form in code page 949
      {{"", "x"}},
  };
  for (const auto& files : bad) {
    FakePc pc;
    const RunResult r = Terminal(pc, Quick()).SendFiles(files);
    EXPECT_EQ(r.ending, Ending::BadInput) << files[0].name;
    EXPECT_FALSE(r.message.empty());
    EXPECT_TRUE(pc.written.empty()) << files[0].name;
  }
  Options o = Quick();
  o.blockSize = 10000;
  FakePc pc;
  EXPECT_EQ(Terminal(pc, o).SendFiles({{"A", "x"}}).ending, Ending::BadInput);
  std::vector<std::string> many(100, "NAME0001.TXT");  // 1300 bytes of list
  EXPECT_EQ(Terminal(pc, o).FetchFiles(many).ending, Ending::BadInput);
  EXPECT_TRUE(pc.written.empty());
}

}  // namespace
}  // namespace hht::test
