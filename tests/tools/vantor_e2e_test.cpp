// Whole runs of hht-sim against the PC's command line over a pseudo-terminal,
// in both directions: exact data without noise; with noise every run ends in
// bounded time with a result, and a run that does not succeed merges nothing.

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "temp_dir.h"

namespace hht::test {
namespace {

using vtest::TempDir;

namespace fs = std::filesystem;
using std::chrono::seconds;

const std::string kSim = HHT_SIM_PATH;
const std::string kVantor = VANTOR_PATH;

void WriteFile(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Stock records of 24 bytes with CR LF; every `markEvery`-th is marked "*".
std::string Records(int count, int seed, int markEvery = 0) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    char rec[32];
    const bool marked = markEvery > 0 && i % markEvery == markEvery - 1;
    std::snprintf(rec, sizeof rec, "%cITEM%05d QTY%06d  \r\n", marked ? '*' : ' ', seed * 1000 + i, (i * 37) % 999999);
    s += rec;
  }
  return s;
}

// What the PC stores of received records: the marked ones dropped.
std::string Kept(const std::string& records) {
  std::string kept;
  for (std::size_t at = 0; at + 24 <= records.size(); at += 24) {
    if (records[at] != '*') kept += records.substr(at, 24);
  }
  return kept;
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct Outcome {
  int simStatus = -1;
  int pcCode = INT_MIN;   // the last line of the PC's output
  bool hung = false;      // the terminal did not end, or the PC not even on SIGTERM
  bool pcStayed = false;  // the PC went on waiting after the terminal had left
  std::string simOutput;
  int acceptedCorrupted = 0;
};

int LastNumber(const std::string& output) {
  std::istringstream in(output);
  std::string line, last;
  while (std::getline(in, line)) {
    if (!line.empty()) last = line;
  }
  try {
    return std::stoi(last);
  } catch (...) {
    return INT_MIN;
  }
}

int SummaryField(const std::string& output, const std::string& key) {
  const std::size_t at = output.find(" " + key + "=");
  return at == std::string::npos ? -1 : std::atoi(output.c_str() + at + key.size() + 2);
}

struct Dirs {
  fs::path recv, send, work;
};

Outcome RunPair(const Dirs& d, std::vector<std::string> simArgs) {
  std::vector<std::string> argv = {kSim, "--pty", "--quiet", "--wait", "20"};
  argv.insert(argv.end(), simArgs.begin(), simArgs.end());
  Outcome o;
  ChildProcess sim(argv);
  if (!sim.Started()) return o;
  const auto path = sim.ReadLine(seconds(10));
  if (!path) return o;
  ChildProcess pc(
      {kVantor, "--recv-dir", d.recv.string(), "--send-dir", d.send.string(), "--port", "1", "--speed", "19200"},
      {"VANTOR_COM1=" + *path, "LC_ALL=C.UTF-8"}, d.work.string(), false);
  // The terminal ends on its own, bounded by its tries and time-outs. Once it
  // has let go of the line the PC sees the hang-up and must end too; if it
  // does not, SIGTERM is the operator's Cancel.
  o.simStatus = sim.Wait(seconds(90));
  pc.Wait(seconds(10), SIGTERM);
  o.pcStayed = pc.Killed();
  o.pcCode = LastNumber(pc.Output());
  o.hung = sim.Killed() || (pc.Killed() && o.pcCode == INT_MIN);
  o.simOutput = sim.Output();
  o.acceptedCorrupted = SummaryField(o.simOutput, "accepted-corrupted");
  return o;
}

class VantorRuns : public ::testing::Test {
 protected:
  Dirs MakeDirs(const std::string& tag) {
    return {temp_.Make(tag + "/recv"), temp_.Make(tag + "/send"), temp_.Make(tag + "/work")};
  }
  TempDir temp_;
};

TEST_F(VantorRuns, TheTerminalSendsFilesAndThePcStoresTheirRecordsExactly) {
  const Dirs d = MakeDirs("send");
  const fs::path out = temp_.Make("send/terminal");
  WriteFile(out / "STOCK.TXT", Records(400, 1, 7));  // 9600 bytes: three blocks and a short one
  WriteFile(out / "재고.TXT", Records(5, 2));
  WriteFile(out / "COUNT.DAT", Records(50, 3, 3));
  const Outcome o = RunPair(d, {"send", out.string(), "--block-size", "3000"});
  ASSERT_FALSE(o.hung);
  EXPECT_EQ(o.pcCode, 1);
  EXPECT_EQ(o.simStatus, 0) << o.simOutput;
  EXPECT_EQ(ReadFile(d.recv / "STOCK.TXT"), Kept(Records(400, 1, 7)));
  EXPECT_EQ(ReadFile(d.recv / "재고.TXT"), Records(5, 2));
  EXPECT_EQ(ReadFile(d.recv / "COUNT.DAT"), Kept(Records(50, 3, 3)));
}

TEST_F(VantorRuns, TheTerminalFetchesMasterFilesExactly) {
  const Dirs d = MakeDirs("fetch");
  WriteFile(d.send / "MASTER.TXT", Records(500, 4));  // 12000 bytes: three full blocks, then FS
  WriteFile(d.send / "단가.TXT", Records(10, 5));
  const fs::path out = temp_.Make("fetch/terminal");
  const Outcome o = RunPair(d, {"fetch", "--out", out.string(), "MASTER.TXT", "단가.TXT"});
  ASSERT_FALSE(o.hung);
  EXPECT_EQ(o.pcCode, 2);
  EXPECT_EQ(o.simStatus, 0) << o.simOutput;
  EXPECT_EQ(ReadFile(out / "MASTER.TXT"), Records(500, 4));
  EXPECT_EQ(ReadFile(out / "단가.TXT"), Records(10, 5));
}

TEST_F(VantorRuns, LostHeaderAnswersAndFramesThatLostOrGainedAByteAreRecovered) {
  // Send run, frames: 1 opening, 2 header of the first file (COUNT.DAT, in
  // name order), 3 and 4 its blocks, 5 its end, 6 the next header, 7.. blocks.
  const Dirs d = MakeDirs("lossy-send");
  const fs::path out = temp_.Make("lossy-send/terminal");
  WriteFile(out / "COUNT.DAT", Records(60, 1));  // 1440 bytes: a full block and a short one
  WriteFile(out / "STOCK.TXT", Records(100, 2, 5));
  Outcome o = RunPair(d, {"--lose-at", "1,2,6", "--drop-at", "3,7", "--insert-at", "4,8", "send", out.string(),
                          "--block-size", "1000"});
  ASSERT_FALSE(o.hung);
  EXPECT_EQ(o.pcCode, 1);
  EXPECT_EQ(o.simStatus, 0) << o.simOutput;
  EXPECT_NE(o.simOutput.find(" dropped=2 inserted=2 lost=3"), std::string::npos) << o.simOutput;
  EXPECT_EQ(ReadFile(d.recv / "COUNT.DAT"), Records(60, 1));
  EXPECT_EQ(ReadFile(d.recv / "STOCK.TXT"), Kept(Records(100, 2, 5)));

  // Fetch run, frames: 1 opening, 2 header, 3.. block requests.
  const Dirs f = MakeDirs("lossy-fetch");
  WriteFile(f.send / "MASTER.TXT", Records(400, 3));  // 9600 bytes: three blocks
  const fs::path fetched = temp_.Make("lossy-fetch/terminal");
  o = RunPair(f, {"--lose-at", "1,2,4", "--drop-at", "3", "--insert-at", "5", "fetch", "--out", fetched.string(),
                  "MASTER.TXT"});
  ASSERT_FALSE(o.hung);
  EXPECT_EQ(o.pcCode, 2);
  EXPECT_EQ(o.simStatus, 0) << o.simOutput;
  EXPECT_EQ(ReadFile(fetched / "MASTER.TXT"), Records(400, 3));
}

TEST_F(VantorRuns, TheTerminalsCancelEndsThePcsRunWithoutMergingAnything) {
  const Dirs d = MakeDirs("cancel");
  WriteFile(d.recv / "STOCK.TXT", "old data\r\n");
  const fs::path out = temp_.Make("cancel/terminal");
  WriteFile(out / "STOCK.TXT", Records(400, 6));
  const Outcome o = RunPair(d, {"--cancel-at", "2", "send", out.string(), "--block-size", "1000"});
  ASSERT_FALSE(o.hung);
  EXPECT_EQ(o.pcCode, -3);
  EXPECT_EQ(o.simStatus, 3) << o.simOutput;
  EXPECT_EQ(ReadFile(d.recv / "STOCK.TXT"), "old data\r\n");
  for (const std::string& name : Names(d.recv)) EXPECT_FALSE(name.ends_with(".Tmp")) << name;
}

TEST_F(VantorRuns, ATerminalThatGivesUpEndsTheRunWithoutMergingAnything) {
  // Heavy noise, two tries: the terminal gives up and leaves the line. The PC
  // sees the hang-up, ends without the operator's Cancel and keeps nothing.
  const Dirs d = MakeDirs("leave");
  WriteFile(d.recv / "STOCK.TXT", "old data\r\n");
  const fs::path out = temp_.Make("leave/terminal");
  WriteFile(out / "STOCK.TXT", Records(100, 7));
  const Outcome o = RunPair(d, {"--noise", "0.01", "--seed", "4", "--tries", "2", "send", out.string()});
  ASSERT_FALSE(o.hung);
  EXPECT_EQ(o.simStatus, 1) << o.simOutput;
  EXPECT_FALSE(o.pcStayed) << "the PC did not notice the terminal leave the line";
  EXPECT_NE(o.pcCode, INT_MIN) << "the PC printed no result";
  EXPECT_NE(o.pcCode, 1);
  EXPECT_EQ(ReadFile(d.recv / "STOCK.TXT"), "old data\r\n");
  for (const std::string& name : Names(d.recv)) EXPECT_FALSE(name.ends_with(".Tmp")) << name;
}

TEST_F(VantorRuns, UnderNoiseEveryRunEndsAndOnlySuccessfulRunsMergeData) {
  constexpr int kRuns = 20;
  const std::string oldData = Records(3, 9);
  int succeeded = 0, spoilt = 0, flagged = 0;
  for (int run = 0; run < kRuns; ++run) {
    const bool sending = run % 2 == 0;
    const std::string seed = std::to_string(run + 1);
    const std::string rate = run % 3 == 0 ? "0.0015" : run % 3 == 1 ? "0.001" : "0.0005";
    const Dirs d = MakeDirs("noise" + seed);
    const fs::path terminal = temp_.Make("noise" + seed + "/terminal");
    const std::string stock = Records(60, run, 10), count = Records(20, run + 50);
    Outcome o;
    if (sending) {
      WriteFile(d.recv / "STOCK.TXT", oldData);
      WriteFile(terminal / "STOCK.TXT", stock);
      WriteFile(terminal / "COUNT.DAT", count);
      o = RunPair(d, {"--noise", rate, "--seed", seed, "send", terminal.string(), "--block-size", "256"});
    } else {
      WriteFile(d.send / "STOCK.TXT", stock);
      WriteFile(d.send / "COUNT.DAT", count);
      o = RunPair(d, {"--noise", rate, "--seed", seed, "fetch", "--out", terminal.string(), "STOCK.TXT", "COUNT.DAT"});
    }
    SCOPED_TRACE("run " + seed + (sending ? " send" : " fetch") + " noise " + rate + "\n" + o.simOutput);
    ASSERT_FALSE(o.hung);
    EXPECT_FALSE(o.pcStayed) << "the PC did not end within 10 s after the terminal had left the line";
    ASSERT_NE(o.pcCode, INT_MIN) << "the PC printed no result";
    const int success = sending ? 1 : 2;
    EXPECT_EQ(o.pcCode == success, o.simStatus == 0) << "PC " << o.pcCode << ", terminal " << o.simStatus;
    if (o.pcCode == success && o.simStatus == 0) {
      ++succeeded;
      const bool exact = sending
                             ? ReadFile(d.recv / "STOCK.TXT") == Kept(stock) && ReadFile(d.recv / "COUNT.DAT") == count
                             : ReadFile(terminal / "STOCK.TXT") == stock && ReadFile(terminal / "COUNT.DAT") == count;
      if (!exact) ++spoilt;
      if (o.acceptedCorrupted > 0) ++flagged;
      if (!exact) {
        EXPECT_GT(o.acceptedCorrupted, 0) << "data changed but the terminal counted no accepted corruption";
      }
    } else if (sending) {
      // Nothing of a failed receive reaches the data files.
      EXPECT_EQ(ReadFile(d.recv / "STOCK.TXT"), oldData);
      EXPECT_FALSE(fs::exists(d.recv / "COUNT.DAT"));
      for (const std::string& name : Names(d.recv)) EXPECT_FALSE(name.ends_with(".Tmp")) << name;
    } else {
      EXPECT_TRUE(Names(terminal).empty());
    }
  }
  std::printf(
      "[ noise    ] %d of %d runs succeeded; %d of them with data the check could not protect (%.1f %%), "
      "%d with frames accepted although changed\n",
      succeeded, kRuns, spoilt, succeeded > 0 ? 100.0 * spoilt / succeeded : 0.0, flagged);
  RecordProperty("succeeded", succeeded);
  RecordProperty("spoilt", spoilt);
}

}  // namespace
}  // namespace hht::test
