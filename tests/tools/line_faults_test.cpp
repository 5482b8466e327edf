// Lost bytes, extra bytes and lost answers: where they fall, that a seed
// repeats them, and that the terminal's runs against the scripted PC get
// through each of them.

#include <gtest/gtest.h>

#include "fake_pc.h"
#include "frame.h"
#include "line_faults.h"
#include "terminal.h"

namespace hht::test {
namespace {

std::string Text(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('A' + i % 26));
  return s;
}

// True when `shorter` is `longer` with exactly one byte taken out.
bool OneByteOut(const std::string& longer, const std::string& shorter) {
  if (shorter.size() + 1 != longer.size()) return false;
  std::size_t i = 0;
  while (i < shorter.size() && shorter[i] == longer[i]) ++i;
  return shorter.compare(i, std::string::npos, longer, i + 1, std::string::npos) == 0;
}

bool Unfit(char c) { return c == 0x11 || c == 0x13 || c == 0x18; }

TEST(LineFaults, OnPurposeOneByteOfTheChosenFramesFirstTryIsLostOrAdded) {
  const std::string frame = Text(108);
  for (std::uint64_t key = 0; key < 300; ++key) {
    FaultPlan plan;
    plan.dropAt = {3};
    plan.insertAt = {4};
    LineFaults faults(plan, 7);
    faults.Rekey(key);
    std::string dropped = frame;
    EXPECT_EQ(faults.Apply(dropped, 3, true).dropped, 1);
    EXPECT_TRUE(OneByteOut(frame, dropped)) << key;
    std::string added = frame;
    EXPECT_EQ(faults.Apply(added, 4, true).inserted, 1);
    ASSERT_TRUE(OneByteOut(added, frame)) << key;
    // Never before the first byte or after the last, never a flow or cancel byte.
    EXPECT_EQ(added.front(), frame.front());
    EXPECT_EQ(added.back(), frame.back());
    for (std::size_t i = 0; i < added.size(); ++i) EXPECT_FALSE(Unfit(added[i])) << key;
    // Repeats and other frames go through untouched.
    for (const auto& [number, first] : {std::pair{3L, false}, std::pair{4L, false}, std::pair{5L, true}}) {
      std::string same = frame;
      EXPECT_FALSE(faults.Apply(same, number, first).Any());
      EXPECT_EQ(same, frame);
    }
  }
}

TEST(LineFaults, AtRandomBytesAreLostAndAddedAtTheirRatesAndASeedRepeatsThem) {
  FaultPlan plan;
  plan.dropRate = 0.01;
  plan.insertRate = 0.01;
  const std::string data = Text(100000);
  LineFaults a(plan, 5), b(plan, 5), c(plan, 6);
  a.Rekey(1);
  b.Rekey(1);
  c.Rekey(1);
  std::string ta = data, tb = data, tc = data;
  const LineFaults::Damage da = a.Apply(ta, 1, true);
  b.Apply(tb, 1, true);
  c.Apply(tc, 1, true);
  EXPECT_GT(da.dropped, 800);
  EXPECT_LT(da.dropped, 1200);
  EXPECT_GT(da.inserted, 800);
  EXPECT_LT(da.inserted, 1200);
  EXPECT_EQ(ta.size(), data.size() - static_cast<std::size_t>(da.dropped) + static_cast<std::size_t>(da.inserted));
  EXPECT_EQ(ta, tb);
  EXPECT_NE(ta, tc);
  for (char ch : ta) ASSERT_FALSE(Unfit(ch));
  LineFaults none(FaultPlan{}, 5);
  none.Rekey(1);
  std::string untouched = data;
  EXPECT_FALSE(none.Apply(untouched, 1, true).Any());
  EXPECT_EQ(untouched, data);
}

TEST(LineFaults, AnAnswerIsLostOnPurposeOnceOrAtItsRate) {
  FaultPlan plan;
  plan.loseAt = {2, 5};
  LineFaults faults(plan, 1);
  EXPECT_FALSE(faults.LoseAnswer(1));
  EXPECT_TRUE(faults.LoseAnswer(2));
  EXPECT_FALSE(faults.LoseAnswer(2));  // the repeat's answer goes through
  EXPECT_TRUE(faults.LoseAnswer(5));
  FaultPlan always;
  always.loseRate = 1.0;
  LineFaults lossy(always, 1);
  for (long frame = 1; frame < 20; ++frame) EXPECT_TRUE(lossy.LoseAnswer(frame));
  FaultPlan some;
  some.loseRate = 0.2;
  LineFaults sometimes(some, 3);
  int lost = 0;
  for (long frame = 1; frame <= 5000; ++frame) lost += sometimes.LoseAnswer(frame) ? 1 : 0;
  EXPECT_GT(lost, 850);
  EXPECT_LT(lost, 1150);
}

Options Small() {
  Options o;
  o.blockSize = 16;
  return o;
}

// A lost answer makes the terminal send the same frame again, and the PC
// answers it again: every kind of frame whose answer can be repeated. Frames
// of a send run: 1 opening, 2 header, 3..5 blocks, 6 end of file, 7 end frame;
// of a fetch run: 1 opening, 2 header, 3..5 requests, 6 end-of-file request.
struct LostCase {
  const char* what;
  int direction;
  long frame;
};

class LostAnswer : public ::testing::TestWithParam<LostCase> {};

TEST_P(LostAnswer, TheFrameIsSentAgainAndTheRunSucceeds) {
  const LostCase& c = GetParam();
  const std::string data = Text(40);
  FakePc pc;
  pc.sendBlockSize = 16;
  pc.sendDir["A.TXT"] = data;
  Options o = Small();
  o.faults.loseAt = {c.frame};
  Terminal terminal(pc, o);
  const RunResult r = c.direction == 1 ? terminal.SendFiles({{"A.TXT", data}}) : terminal.FetchFiles({"A.TXT"});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.answersLost, 1);
  EXPECT_EQ(r.retries, 1);
  const auto index = static_cast<std::size_t>(c.frame - 1);
  EXPECT_EQ(pc.written.at(index), pc.written.at(index + 1));
  if (c.direction == 1) {
    EXPECT_EQ(pc.stored.at("A.TXT").substr(0, 16), data.substr(0, 16));
  } else {
    EXPECT_EQ(r.files.at(0).bytes, data);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRepeatableAnswer, LostAnswer,
                         ::testing::Values(LostCase{"opening", 1, 1}, LostCase{"header", 1, 2}, LostCase{"block", 1, 3},
                                           LostCase{"fetch_opening", 2, 1}, LostCase{"fetch_header", 2, 2},
                                           LostCase{"request", 2, 4}),
                         [](const auto& param) { return std::string(param.param.what); });

TEST(LostAnswer, ALostCopyOfTheEndAnswerIsFollowedByTheNextCopy) {
  FakePc pc;
  Options o = Small();
  o.faults.loseAt = {7};
  const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", Text(40)}});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.answersLost, 1);
  EXPECT_EQ(r.retries, 0);
  EXPECT_EQ(pc.written.size(), 7u);  // the end frame written once
}

TEST(DamagedFrames, AFrameThatLostOrGainedAByteIsRefusedAndSentAgainWhole) {
  const std::string data = Text(40);
  for (const char* kind : {"drop", "insert"}) {
    SCOPED_TRACE(kind);
    FakePc pc;
    Options o = Small();
    (std::string(kind) == "drop" ? o.faults.dropAt : o.faults.insertAt) = {2, 4};
    const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", data}});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.retries, 2);
    EXPECT_EQ(r.framesCorrupted, 2);
    EXPECT_EQ(r.corruptedAccepted, 0);
    EXPECT_EQ(r.bytesDropped + r.bytesInserted, 2);
    // Frame 2 (the header) is written spoilt, then whole; so is frame 4 (block 2).
    ASSERT_EQ(pc.written.size(), 9u);
    EXPECT_EQ(pc.written[1].size() + (std::string(kind) == "drop" ? 1 : -1), pc.written[2].size());
    EXPECT_EQ(pc.written[2].size(), 1024u);
    EXPECT_NE(pc.written[4], pc.written[5]);
    EXPECT_EQ(pc.stored.at("A.TXT"), data);
  }
}

TEST(DamagedFrames, ASeedRepeatsARunOverALossyLine) {
  const auto run = [](std::uint64_t seed) {
    FakePc pc;
    Options o = Small();
    o.seed = seed;
    o.maxTries = 30;
    o.faults.dropRate = 0.002;
    o.faults.insertRate = 0.002;
    o.faults.loseRate = 0.05;
    const RunResult r = Terminal(pc, o).SendFiles({{"A.TXT", Text(600)}, {"B.TXT", Text(300)}});
    return std::pair{pc.written, r.bytesDropped + r.bytesInserted + r.answersLost};
  };
  const auto a = run(21), b = run(21), c = run(22);
  EXPECT_GT(a.second, 0);
  EXPECT_EQ(a, b);
  EXPECT_NE(a.first, c.first);
}

}  // namespace
}  // namespace hht::test
