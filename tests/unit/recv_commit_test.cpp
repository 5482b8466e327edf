// The commit of received data and its recovery: whatever instant a run is cut
// at (a kill keeps what was written, a power cut keeps only what was flushed),
// the next run leaves every data file either as it was or with every record of
// the run exactly once, and always the latter once the terminal was promised.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "comm_log.h"
#include "commit_record.h"
#include "fake_file_system.h"
#include "fakes.h"
#include "recv_files.h"

using namespace vantor;

namespace {

struct Mode {
  const char* name;
  bool append;
  bool powerCut;
  bool windows = false;  // the disk's Windows rules: no directory flush, names durable with file flushes
};

// The receive directory as a run leaves it when the terminal has sent A.TXT
// and B.TXT with data and announced C.TXT without any: the temporary files
// are written but neither they nor their names are flushed yet.
void SetUpRun(vtest::FakeFileSystem& fs) {
  fs.MakeDir("/r");
  fs.Put("/r/A.TXT", "OLD1\r\n");
  fs.Put("/r/C.TXT", "C0\r\n");
  for (const auto& [name, data] :
       {std::pair<const char*, const char*>{"/r/A.TXT.Tmp", "N1\r\nN2\r\n*X\r\n"}, {"/r/B.TXT.Tmp", "B1\r\n"}}) {
    auto f = fs.Open(name, OpenMode::Append);
    ASSERT_TRUE(f);
    ASSERT_FALSE(f->Write(data, std::strlen(data)));
  }
  fs.calls.clear();
}
// The run from its end frame on: the commit, then (when the terminal was
// promised) storing. Returns whether the promise was given.
bool RunEnd(vtest::FakeFileSystem& fs, bool append) {
  if (!CommitRecvFiles("/r/", {"A.TXT", "B.TXT", "C.TXT"}, append, fs)) return false;
  ParseRecvFiles("/r/", fs);
  return true;
}
// The next run's start.
void NextRunStarts(vtest::FakeFileSystem& fs) {
  RecoverRecvFiles("/r/", fs);
  DeleteTmpFiles("/r/", fs);
}
bool HoldsTheOldData(const vtest::FakeFileSystem& fs) {
  return fs.Get("/r/A.TXT") == "OLD1\r\n" && !fs.Has("/r/B.TXT") && fs.Get("/r/C.TXT") == "C0\r\n";
}
bool HoldsTheNewData(const vtest::FakeFileSystem& fs, bool append) {
  if (append) {
    return fs.Get("/r/A.TXT") == "OLD1\r\nN1\r\nN2\r\n" && fs.Get("/r/B.TXT") == "B1\r\n" &&
           fs.Get("/r/C.TXT") == "C0\r\n";
  }
  return fs.Get("/r/A.TXT") == "N1\r\nN2\r\n" && fs.Get("/r/B.TXT") == "B1\r\n" && !fs.Has("/r/C.TXT");
}
std::string Contents(const vtest::FakeFileSystem& fs) {
  std::string all;
  for (const std::string& name : fs.Names("/r")) all += name + "=" + fs.Get("/r/" + name) + "|";
  return all;
}

class RecvCommit : public ::testing::TestWithParam<Mode> {
 protected:
  void SetUpRun(vtest::FakeFileSystem& fs) { ::SetUpRun(fs); }
  bool RunEnd(vtest::FakeFileSystem& fs) { return ::RunEnd(fs, GetParam().append); }
  static void NextRunStarts(vtest::FakeFileSystem& fs) { ::NextRunStarts(fs); }
  bool HoldsTheOldData(const vtest::FakeFileSystem& fs) const { return ::HoldsTheOldData(fs); }
  bool HoldsTheNewData(const vtest::FakeFileSystem& fs) const { return ::HoldsTheNewData(fs, GetParam().append); }
  vtest::TempCwd m_cwd;  // for Log/comm.log
};

TEST_P(RecvCommit, EveryInstantOfTheCommitAndOfStoringIsRecovered) {
  vtest::FakeFileSystem whole;
  SetUpRun(whole);
  ASSERT_TRUE(RunEnd(whole));
  ASSERT_TRUE(HoldsTheNewData(whole));
  const int steps = static_cast<int>(whole.calls.size());
  ASSERT_GT(steps, 10);
  for (int k = 0; k <= steps; ++k) {
    SCOPED_TRACE("cut after " + std::to_string(k) + " of " + std::to_string(steps) + " calls");
    vtest::FakeFileSystem fs;
    fs.SetWindowsRules(GetParam().windows);
    SetUpRun(fs);
    fs.StopAfter(k);
    const bool promised = RunEnd(fs);
    if (GetParam().powerCut) fs.PowerCut();
    // A data file is replaced in one step: never a mixture, never missing.
    const std::string a = fs.Get("/r/A.TXT");
    EXPECT_TRUE(a == "OLD1\r\n" || a == "N1\r\nN2\r\n" || (GetParam().append && a.starts_with("OLD1\r\n"))) << a;
    fs.Restart();
    NextRunStarts(fs);
    if (promised) {
      EXPECT_TRUE(HoldsTheNewData(fs)) << fs.Get("/r/A.TXT") << "|" << fs.Get("/r/B.TXT");
    } else {
      EXPECT_TRUE(HoldsTheOldData(fs) || HoldsTheNewData(fs)) << fs.Get("/r/A.TXT") << "|" << fs.Get("/r/B.TXT");
    }
    // Nothing is left over, and a second start changes nothing.
    for (const std::string& name : fs.Names("/r")) {
      EXPECT_TRUE(name == "A.TXT" || name == "B.TXT" || name == "C.TXT") << name;
    }
    const std::string before = fs.Get("/r/A.TXT") + fs.Get("/r/B.TXT") + fs.Get("/r/C.TXT");
    NextRunStarts(fs);
    EXPECT_EQ(fs.Get("/r/A.TXT") + fs.Get("/r/B.TXT") + fs.Get("/r/C.TXT"), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, RecvCommit,
                         ::testing::Values(Mode{"ReplaceKilled", false, false}, Mode{"ReplacePowerCut", false, true},
                                           Mode{"AppendKilled", true, false}, Mode{"AppendPowerCut", true, true},
                                           Mode{"ReplacePowerCutWindows", false, true, true},
                                           Mode{"AppendPowerCutWindows", true, true, true}),
                         [](const auto& row) { return std::string(row.param.name); });

// Every call of a receive run's end (its commit and its storing), and every
// call of the next start's recovery after a run killed once it had promised,
// fails once, and then twice in a row, with each error a disk gives; the start
// after that must leave the data files with the run's records exactly once
// when the terminal got its end answer, and exactly as they were when it did
// not. None of these reasons lasts: nothing is set aside, nothing is left.
struct Sweep {
  const char* name;
  bool append;
  bool windows;   // the disk's Windows rules (names, flushes)
  bool powerCut;  // a power cut after the failing run
};

class FailingCalls : public ::testing::TestWithParam<Sweep> {
 protected:
  void SetUp() override { vantor::SetLogFileSystem(&m_log); }
  void TearDown() override { vantor::SetLogFileSystem(nullptr); }
  vtest::FakeFileSystem Fresh() const {
    vtest::FakeFileSystem fs;
    fs.SetWindowsRules(GetParam().windows);
    SetUpRun(fs);
    return fs;
  }
  vtest::FakeFileSystem m_log;
};

TEST_P(FailingCalls, NeverLoseCutOrDoubleTheData) {
  const Sweep& p = GetParam();
  std::map<std::string, int> outcomes;
  int failedCalls = 0;
  int runs = 0;
  for (const bool inRecovery : {false, true}) {
    // How many calls the phase makes when nothing fails.
    vtest::FakeFileSystem whole = Fresh();
    if (inRecovery) {
      ASSERT_TRUE(CommitRecvFiles("/r/", {"A.TXT", "B.TXT", "C.TXT"}, p.append, whole));
      whole.calls.clear();
      NextRunStarts(whole);
    } else {
      ASSERT_TRUE(RunEnd(whole, p.append));
    }
    ASSERT_TRUE(HoldsTheNewData(whole, p.append)) << Contents(whole);
    const int calls = static_cast<int>(whole.calls.size());
    failedCalls += calls;
    for (int k = 0; k < calls; ++k) {
      for (const int times : {1, 2}) {
        for (const int error : {EIO, ENOSPC, EACCES}) {
          SCOPED_TRACE(std::string(inRecovery ? "recovery" : "run") + ": call " + std::to_string(k) + " (" +
                       whole.calls[static_cast<std::size_t>(k)] + ") fails " + std::to_string(times) + "x with " +
                       std::strerror(error));
          ++runs;
          vtest::FakeFileSystem fs = Fresh();
          bool promised = true;
          if (inRecovery) {
            ASSERT_TRUE(CommitRecvFiles("/r/", {"A.TXT", "B.TXT", "C.TXT"}, p.append, fs));
            fs.calls.clear();
            fs.FailCall(k, error, times);
            NextRunStarts(fs);
          } else {
            fs.FailCall(k, error, times);
            promised = RunEnd(fs, p.append);
          }
          fs.ClearFailures();
          if (p.powerCut) fs.PowerCut();
          const bool doneAtOnce = HoldsTheNewData(fs, p.append) && fs.Names("/r").size() <= 3;
          NextRunStarts(fs);
          if (promised) {
            EXPECT_TRUE(HoldsTheNewData(fs, p.append)) << Contents(fs);
          } else {
            EXPECT_TRUE(HoldsTheOldData(fs)) << Contents(fs);
          }
          for (const std::string& name : fs.Names("/r")) {
            EXPECT_TRUE(name == "A.TXT" || name == "B.TXT" || name == "C.TXT") << name;
          }
          const std::string after = Contents(fs);
          NextRunStarts(fs);
          EXPECT_EQ(Contents(fs), after);
          ++outcomes[!promised    ? "no end answer, data files as before"
                     : doneAtOnce ? "stored by the run"
                                  : "stored by the next start"];
        }
      }
    }
  }
  std::string shown;
  for (const auto& [what, n] : outcomes) shown += ", " + std::to_string(n) + " " + what;
  std::printf("[ sweep %s ] %d calls failed (once, twice; EIO, ENOSPC, EACCES), %d runs%s\n", p.name, failedCalls, runs,
              shown.c_str());
}

INSTANTIATE_TEST_SUITE_P(Modes, FailingCalls,
                         ::testing::Values(Sweep{"Replace", false, false, false}, Sweep{"Append", true, false, false},
                                           Sweep{"ReplacePowerCut", false, false, true},
                                           Sweep{"AppendPowerCut", true, false, true},
                                           Sweep{"ReplaceWindows", false, true, false},
                                           Sweep{"AppendWindows", true, true, false},
                                           Sweep{"ReplaceWindowsPowerCut", false, true, true},
                                           Sweep{"AppendWindowsPowerCut", true, true, true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CommitRecord, FormatsAndReadsBackAnyPlainName) {
  CommitRecord r;
  r.append = true;
  r.entries = {{"A.TXT.Tmp", true, 1234}, {"\xC7\xD1 name\r\n.tmp", false, -1}, {".Tmp", true, 0}};
  EXPECT_EQ(ParseCommitRecord(FormatCommitRecord(r)), r);
  EXPECT_EQ(FormatCommitRecord({false, {{"B.Tmp", false, -1}}}),
            "VANTOR2-COMMIT 1\nMODE REPLACE\nFILES 1\n0 -1 5:B.Tmp\nEND\n");
}

TEST(CommitRecord, AnythingButAWholeRecordWithPlainTemporaryNamesIsRefused) {
  const std::string good = "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 1\n1 7 5:A.Tmp\nEND\n";
  ASSERT_TRUE(ParseCommitRecord(good));
  for (std::size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(ParseCommitRecord(good.substr(0, cut))) << cut;
  for (const char* bad : {
           "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 1\n1 7 8:../A.Tmp\nEND\n",  // outside the directory
           "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 1\n1 7 5:A.TXT\nEND\n",     // not a temporary file
           "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 1\n1 -2 5:A.Tmp\nEND\n",    // no such length
           "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 2\n1 7 5:A.Tmp\nEND\n",     // an entry short
           "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 1\n1 7 99:A.Tmp\nEND\n",    // name longer than the record
           "VANTOR2-COMMIT 1\nMODE APPEND\nFILES 1\n1 7 5:A.Tmp\nEND\nX",    // something after the end
           "VANTOR2-COMMIT 2\nMODE APPEND\nFILES 0\nEND\n",                  // another format
       }) {
    EXPECT_FALSE(ParseCommitRecord(bad)) << bad;
  }
}

class Recovery : public ::testing::Test {
 protected:
  std::string Log() const { return vtest::ReadFile(m_cwd.Path("Log/comm.log")); }
  vtest::TempCwd m_cwd;
  vtest::FakeFileSystem m_fs;
};

TEST_F(Recovery, LogsWhatItCompletedAndSparesTheCommittedFilesFromTheCleanup) {
  m_fs.MakeDir("/r");
  m_fs.Put("/r/A.TXT.Tmp", "N1\r\n");
  m_fs.Put("/r/STALE.Tmp", "old run\r\n");
  m_fs.Put(std::string("/r/") + kCommitRecordName, FormatCommitRecord({false, {{"A.TXT.Tmp", true, -1}}}));
  DeleteTmpFiles("/r/", m_fs);  // a cleanup that ran first would spare it
  EXPECT_TRUE(m_fs.Has("/r/A.TXT.Tmp"));
  EXPECT_FALSE(m_fs.Has("/r/STALE.Tmp"));
  RecoverRecvFiles("/r/", m_fs);
  EXPECT_EQ(m_fs.Get("/r/A.TXT"), "N1\r\n");
  EXPECT_EQ(m_fs.Names("/r"), std::vector<std::string>{"A.TXT"});
  EXPECT_NE(Log().find("Recovery: completed [A.TXT]"), std::string::npos) << Log();
}

TEST_F(Recovery, ADataFileThatCannotBeWrittenSetsTheDataAsideAndNeverBlocks) {
  m_fs.MakeDir("/r");
  m_fs.MakeDir("/r/A.TXT");  // a directory in the data file's way
  m_fs.Put("/r/A.TXT.Tmp", "N1\r\n");
  m_fs.Put("/r/B.TXT.Tmp", "B1\r\n");
  m_fs.Put(std::string("/r/") + kCommitRecordName,
           FormatCommitRecord({true, {{"A.TXT.Tmp", true, -1}, {"B.TXT.Tmp", true, -1}}}));
  RecoverRecvFiles("/r/", m_fs);
  EXPECT_EQ(m_fs.Get("/r/A.TXT.Tmp.unsaved"), "N1\r\n");
  EXPECT_EQ(m_fs.Get("/r/B.TXT"), "B1\r\n");
  EXPECT_FALSE(m_fs.Has(std::string("/r/") + kCommitRecordName));
  EXPECT_NE(Log().find("data kept in A.TXT.Tmp.unsaved"), std::string::npos) << Log();
}

TEST_F(Recovery, AnUnreadableRecordKeepsEveryTemporaryFile) {
  m_fs.MakeDir("/r");
  m_fs.Put("/r/A.TXT.Tmp", "N1\r\n");
  m_fs.Put(std::string("/r/") + kCommitRecordName, "VANTOR2-COMMIT 1\ngarbage");
  RecoverRecvFiles("/r/", m_fs);
  DeleteTmpFiles("/r/", m_fs);
  EXPECT_EQ(m_fs.Get("/r/A.TXT.Tmp.unsaved"), "N1\r\n");
  EXPECT_FALSE(m_fs.Has("/r/A.TXT"));
  EXPECT_NE(Log().find("unreadable, temporary files kept"), std::string::npos);
}

// Calls that keep failing for a while (a file held, a flaky stick): whatever
// the run or the start in which they fail, the data waits under its record
// until a start after the disk has mended stores it once; a commit that
// failed leaves nothing that a later start stores.
TEST_F(Recovery, CallsThatKeepFailingKeepTheDataForAStartAfterTheyMend) {
  using Op = vtest::FakeFileSystem::Op;
  struct Fault {
    Op op;
    const char* path;
    int after;
  };
  struct Row {
    const char* what;
    bool killedAfterCommit;  // the run stopped once it had promised: the faults hit the next start
    bool append;
    std::vector<Fault> faults;
    bool promised;
  };
  const Row rows[] = {
      {"a status check of a temporary file at the commit", false, false, {{Op::Status, "A.TXT.Tmp", 0}}, false},
      {"an existence check while storing", false, true, {{Op::Exists, "B.TXT.Tmp", 0}}, true},
      {"the temporary file cannot be opened nor set aside",
       true,
       false,
       {{Op::Open, "A.TXT.Tmp", 0}, {Op::Rename, "A.TXT.Tmp", 0}},
       true},
      {"the record cannot be read, nor the directory listed",
       true,
       true,
       {{Op::Read, "COMMIT-RECORD.LST", 0}, {Op::ListDirectory, "/r/", 0}},
       true},
      {"the record's name never reaches the disk and it cannot be removed",
       false,
       true,
       {{Op::FlushDirectory, "/r/", 1}, {Op::Remove, "COMMIT-RECORD.LST.new", 0}, {Op::Remove, "COMMIT-RECORD.LST", 0}},
       false},
      {"the data file's flush fails, and the cut back's", true, true, {{Op::Flush, "/r/A.TXT", 0}}, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    vtest::FakeFileSystem fs;
    SetUpRun(fs);
    bool promised = true;
    if (r.killedAfterCommit) {
      ASSERT_TRUE(CommitRecvFiles("/r/", {"A.TXT", "B.TXT", "C.TXT"}, r.append, fs));
      for (const Fault& f : r.faults) fs.Fail(f.op, f.path, EIO, f.after);
      NextRunStarts(fs);
    } else {
      for (const Fault& f : r.faults) fs.Fail(f.op, f.path, EIO, f.after);
      promised = RunEnd(fs, r.append);
    }
    EXPECT_EQ(promised, r.promised);
    NextRunStarts(fs);  // the disk still fails: nothing may be lost or half done meanwhile
    fs.ClearFailures();
    NextRunStarts(fs);
    if (promised) {
      EXPECT_TRUE(HoldsTheNewData(fs, r.append)) << Contents(fs);
    } else {
      EXPECT_TRUE(HoldsTheOldData(fs)) << Contents(fs);
    }
    for (const std::string& name : fs.Names("/r")) {
      EXPECT_TRUE(name == "A.TXT" || name == "B.TXT" || name == "C.TXT") << name;
    }
  }
}

TEST_F(Recovery, ACommitThatFailsPromisesNothingAndLeavesNoRecord) {
  m_fs.MakeDir("/r");
  m_fs.Put("/r/A.TXT", "OLD\r\n");
  m_fs.Put("/r/A.TXT.Tmp", "N1\r\n");
  m_fs.Fail(vtest::FakeFileSystem::Op::Flush, kCommitRecordNewName, ENOSPC);
  EXPECT_FALSE(CommitRecvFiles("/r/", {"A.TXT"}, false, m_fs));
  EXPECT_EQ(m_fs.Names("/r"), (std::vector<std::string>{"A.TXT", "A.TXT.Tmp"}));
  EXPECT_NE(Log().find("Commit Error [/r/VANTOR2-RECEIVE-COMMIT-RECORD.LST.new]: No space left on device"),
            std::string::npos)
      << Log();
  // With nothing received there is nothing to commit, and nothing fails.
  EXPECT_TRUE(CommitRecvFiles("/r/", {}, false, m_fs));
}

}  // namespace
