// The commit of received data and its recovery: whatever instant a run is cut
// at (a kill keeps what was written, a power cut keeps only what was flushed),
// the next run leaves every data file either as it was or with every record of
// the run exactly once, and always the latter once the terminal was promised.
#include <gtest/gtest.h>

#include <cstring>

#include "commit_record.h"
#include "fake_file_system.h"
#include "fakes.h"
#include "recv_files.h"

namespace {

using namespace vantor;

struct Mode {
  const char* name;
  bool append;
  bool powerCut;
};

class RecvCommit : public ::testing::TestWithParam<Mode> {
 protected:
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
  bool RunEnd(vtest::FakeFileSystem& fs) {
    if (!CommitRecvFiles("/r/", {"A.TXT", "B.TXT", "C.TXT"}, GetParam().append, fs)) return false;
    ParseRecvFiles("/r/", fs);
    return true;
  }
  // The next run's start.
  static void NextRunStarts(vtest::FakeFileSystem& fs) {
    RecoverRecvFiles("/r/", fs);
    DeleteTmpFiles("/r/", fs);
  }
  bool HoldsTheOldData(const vtest::FakeFileSystem& fs) const {
    return fs.Get("/r/A.TXT") == "OLD1\r\n" && !fs.Has("/r/B.TXT") && fs.Get("/r/C.TXT") == "C0\r\n";
  }
  bool HoldsTheNewData(const vtest::FakeFileSystem& fs) const {
    if (GetParam().append) {
      return fs.Get("/r/A.TXT") == "OLD1\r\nN1\r\nN2\r\n" && fs.Get("/r/B.TXT") == "B1\r\n" &&
             fs.Get("/r/C.TXT") == "C0\r\n";
    }
    return fs.Get("/r/A.TXT") == "N1\r\nN2\r\n" && fs.Get("/r/B.TXT") == "B1\r\n" && !fs.Has("/r/C.TXT");
  }
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
                                           Mode{"AppendKilled", true, false}, Mode{"AppendPowerCut", true, true}),
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

TEST_F(Recovery, ACommitThatFailsPromisesNothingAndLeavesNoRecord) {
  m_fs.MakeDir("/r");
  m_fs.Put("/r/A.TXT", "OLD\r\n");
  m_fs.Put("/r/A.TXT.Tmp", "N1\r\n");
  m_fs.Fail(vtest::FakeFileSystem::Op::Flush, kCommitRecordNewName, ENOSPC);
  EXPECT_FALSE(CommitRecvFiles("/r/", {"A.TXT"}, false, m_fs));
  EXPECT_EQ(m_fs.Names("/r"), (std::vector<std::string>{"A.TXT", "A.TXT.Tmp"}));
  EXPECT_NE(Log().find("Commit Error [/r/VANTOR2-RECEIVE-COMMIT-RECORD.LST]: No space left on device"),
            std::string::npos)
      << Log();
  // With nothing received there is nothing to commit, and nothing fails.
  EXPECT_TRUE(CommitRecvFiles("/r/", {}, false, m_fs));
}

}  // namespace
