// The hht-sim program as a whole: its command line, its pseudo-terminal and
// link, and complete runs against the scripted PC on the slave side.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "child_process.h"
#include "pty_pc.h"
#include "temp_dir.h"
#include "text_codec.h"

namespace hht::test {
namespace {

using vtest::TempDir;

namespace fs = std::filesystem;
using std::chrono::seconds;

const std::string kSim = HHT_SIM_PATH;

void WriteFile(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Records(int count, char mark) {
  std::string s;
  for (int i = 0; i < count; ++i) s += std::string(1, mark) + "ITEM" + std::to_string(1000 + i) + "  0042\r\n";
  return s;
}

std::vector<std::string> Sim(std::vector<std::string> args) {
  args.insert(args.begin(), kSim);
  return args;
}

TEST(HhtSimCommandLine, HelpExplainsEveryOption) {
  ChildProcess p(Sim({"--help"}));
  ASSERT_TRUE(p.Started());
  EXPECT_EQ(p.Wait(seconds(10)), 0);
  for (const char* option :
       {"--pty",       "--link",  "--device", "--speed", "--block-size", "--out",       "--noise",    "--answer-noise",
        "--cancel-at", "--drop",  "--insert", "--lose",  "--drop-at",    "--insert-at", "--lose-at",  "--seed",
        "--timeout",   "--tries", "--wait",   "--quiet", "send DIR",     "fetch",       "Exit status"}) {
    EXPECT_NE(p.Output().find(option), std::string::npos) << option;
  }
}

TEST(HhtSimCommandLine, RefusesUnusableCommandLinesWithStatusTwo) {
  TempDir dir;
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--pty"},
      {"--pty", "send"},
      {"--pty", "--device", "/dev/null", "send", dir.Path().string()},
      {"--device", "/dev/null", "--link", "x", "send", dir.Path().string()},
      {"--pty", "--noise", "2", "send", dir.Path().string()},
      {"--pty", "--drop", "-0.1", "send", dir.Path().string()},
      {"--pty", "--insert", "1.5", "send", dir.Path().string()},
      {"--pty", "--lose", "x", "send", dir.Path().string()},
      {"--pty", "--drop-at", "0", "send", dir.Path().string()},
      {"--pty", "--insert-at", "2,", "send", dir.Path().string()},
      {"--pty", "--lose-at", "1,,3", "send", dir.Path().string()},
      {"--pty", "--block-size", "0", "send", dir.Path().string()},
      {"--device", "/dev/null", "--speed", "12345", "send", dir.Path().string()},
      {"--pty", "fetch", "A.TXT"},
      {"--pty", "--out", dir.Path().string(), "fetch"},
      {"--pty", "send", (dir / "missing").string()},
      {"--device", "/dev/null", "send", dir.Path().string()},
      {"--pty", "teleport"},
  };
  for (const auto& args : bad) {
    ChildProcess p(Sim(args));
    ASSERT_TRUE(p.Started());
    EXPECT_EQ(p.Wait(seconds(10)), 2) << ::testing::PrintToString(args);
  }
}

TEST(HhtSimPty, PrintsTheSlaveFirstKeepsTheLinkWhileRunningAndRemovesIt) {
  TempDir dir;
  WriteFile(dir / "A.TXT", "abc\r\n");
  const fs::path link = dir / "com1";
  ChildProcess p(Sim({"--pty", "--link", link.string(), "--wait", "2", "send", dir.Path().string()}));
  ASSERT_TRUE(p.Started());
  const auto first = p.ReadLine(seconds(10));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->rfind("/dev/pts/", 0), 0u) << *first;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link).string(), *first);

  EXPECT_EQ(p.Wait(seconds(30)), 1);  // nobody answered
  EXPECT_NE(p.Output().find("ending=no-answer"), std::string::npos) << p.Output();
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

struct SimRun {
  int status = -1;
  std::string output;
};

SimRun RunAgainst(FakePc& pc, std::vector<std::string> args) {
  args.insert(args.begin(), "--pty");
  ChildProcess p(Sim(args));
  SimRun run;
  if (!p.Started()) return run;
  const auto path = p.ReadLine(seconds(10));
  if (!path) return run;
  PtyPc pcOnLine(pc);
  pcOnLine.Start(*path, Millis(60000));
  run.status = p.Wait(seconds(90));
  pcOnLine.Join();
  run.output = p.Output();
  return run;
}

TEST(HhtSimPty, SendsAFolderToThePc) {
  TempDir dir;
  WriteFile(dir / "STOCK.TXT", Records(40, ' '));
  WriteFile(dir / "재고.TXT", Records(3, '*'));
  WriteFile(dir / "EMPTY.TXT", "");
  FakePc pc;
  const SimRun run = RunAgainst(pc, {"send", dir.Path().string(), "--block-size", "128"});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(pc.result, 1);
  ASSERT_EQ(pc.stored.size(), 3u);
  EXPECT_EQ(pc.stored["STOCK.TXT"], Records(40, ' '));
  EXPECT_EQ(pc.stored[vantor::Utf8ToCp949("재고.TXT").value()], Records(3, '*'));
  EXPECT_EQ(pc.stored["EMPTY.TXT"], "");
  EXPECT_NE(run.output.find("ending=success"), std::string::npos);
  EXPECT_NE(run.output.find("sending STOCK.TXT"), std::string::npos);  // progress
}

TEST(HhtSimPty, FetchesFilesIntoTheOutputFolder) {
  TempDir dir;
  FakePc pc;
  pc.sendDir["MASTER.TXT"] = Records(300, ' ');  // three blocks of 4000 and a short one
  pc.sendDir[vantor::Utf8ToCp949("단가.TXT").value()] = Records(2, ' ');
  const fs::path out = dir / "new" / "out";
  const SimRun run = RunAgainst(pc, {"--quiet", "fetch", "--out", out.string(), "MASTER.TXT", "단가.TXT"});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(pc.result, 2);
  EXPECT_EQ(ReadFile(out / "MASTER.TXT"), Records(300, ' '));
  EXPECT_EQ(ReadFile(out / "단가.TXT"), Records(2, ' '));
  EXPECT_EQ(run.output.find("block"), std::string::npos) << "--quiet printed progress";
}

TEST(HhtSimPty, CancelsAtTheChosenBlockAndSaysSo) {
  TempDir dir;
  WriteFile(dir / "STOCK.TXT", Records(40, ' '));
  FakePc pc;
  const SimRun run = RunAgainst(pc, {"--cancel-at", "2", "send", dir.Path().string(), "--block-size", "128"});
  EXPECT_EQ(run.status, 3) << run.output;
  EXPECT_EQ(pc.result, -3);
  EXPECT_NE(run.output.find("ending=cancelled"), std::string::npos);
}

TEST(HhtSimPty, PlaysLostAndExtraBytesAndLostAnswersAtTheChosenFrames) {
  TempDir dir;
  WriteFile(dir / "STOCK.TXT", Records(40, ' '));
  FakePc pc;
  // Frames: 1 opening, 2 header, 3.. blocks of 128 bytes.
  const SimRun run = RunAgainst(pc, {"--lose-at", "1,2", "--drop-at", "3", "--insert-at", "4", "send",
                                     dir.Path().string(), "--block-size", "128"});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(pc.stored["STOCK.TXT"], Records(40, ' '));
  EXPECT_NE(run.output.find(" retries=4 "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" dropped=1 inserted=1 lost=2"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("header of STOCK.TXT: answer lost on the line"), std::string::npos);
}

TEST(HhtSimPty, AFailedFetchWritesNothing) {
  TempDir dir;
  FakePc pc;
  pc.sendDir["MASTER.TXT"] = Records(300, ' ');
  pc.closeAfter = 4;  // the PC goes away in the middle of the file
  const fs::path out = dir / "out";
  const SimRun run = RunAgainst(pc, {"fetch", "--out", out.string(), "MASTER.TXT"});
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_FALSE(fs::exists(out / "MASTER.TXT"));
}

}  // namespace
}  // namespace hht::test
