// Turning temporary receive files into data files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

#include "comm_log.h"
#include "commit_record.h"
#include "fake_file_system.h"
#include "fakes.h"
#include "recv_files.h"
#include "transfer_file.h"

namespace {

using namespace vantor;

class RecvFiles : public ::testing::Test {
 protected:
  void SetUp() override { ::mkdir(m_cwd.Path("recv").c_str(), 0777); }
  std::string Dir() const { return m_cwd.Path("recv/"); }
  std::string Log() const { return vtest::ReadFile(m_cwd.Path("Log/comm.log")); }
  vtest::TempCwd m_cwd;
};

TEST_F(RecvFiles, StarredRecordsAndTheShortTailAreDropped) {
  vtest::WriteFile(Dir() + "STOCK.TXT.Tmp", "ABC\r\nDEF\r\n*GH\r\nIJ");
  ParseRecvFiles(Dir());
  EXPECT_EQ(vtest::ReadFile(Dir() + "STOCK.TXT"), "ABC\r\nDEF\r\n");
  EXPECT_FALSE(vtest::Exists(Dir() + "STOCK.TXT.Tmp"));
  EXPECT_EQ(Log(),
            "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing Start!\r\n"
            "File name = [STOCK.TXT.Tmp], Record Length = [5]\r\n"
            "FileName = [" +
                Dir() +
                "STOCK.TXT], Num of Delete = [3]\r\n"
                "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing End!\r\n");
}

TEST_F(RecvFiles, RecordsAreCutByLengthWhereverLineEndsFall) {
  vtest::WriteFile(Dir() + "A.Tmp", "AB\r\nCDEFGH\r\n*J\r\nKL");
  ParseRecvFiles(Dir());
  // Record length 4: "AB\r\n", "CDEF", "GH\r\n", "*J\r\n" (dropped), "KL" dropped.
  EXPECT_EQ(vtest::ReadFile(Dir() + "A"), "AB\r\nCDEFGH\r\n");
  EXPECT_NE(Log().find("Num of Delete = [4]"), std::string::npos);
}

TEST_F(RecvFiles, EmptyOrCrLessFileWritesNothingButMakesTheDataFile) {
  vtest::WriteFile(Dir() + "E.TXT.Tmp", "");
  vtest::WriteFile(Dir() + "N.TXT.Tmp", "NO LINE END");
  ParseRecvFiles(Dir());
  EXPECT_TRUE(vtest::Exists(Dir() + "E.TXT"));
  EXPECT_EQ(vtest::ReadFile(Dir() + "E.TXT"), "");
  EXPECT_EQ(vtest::ReadFile(Dir() + "N.TXT"), "");
  EXPECT_NE(Log().find("E.TXT.Tmp], Record Length = [2]"), std::string::npos);
  EXPECT_NE(Log().find("N.TXT.Tmp], Record Length = [13]"), std::string::npos);
  EXPECT_FALSE(vtest::Exists(Dir() + "E.TXT.Tmp"));
  EXPECT_FALSE(vtest::Exists(Dir() + "N.TXT.Tmp"));
}

TEST_F(RecvFiles, EachFileCountsItsOwnRecordsAndAppendsAfterExistingData) {
  vtest::WriteFile(Dir() + "ONE.Tmp", "1\r\n2\r\n");
  vtest::WriteFile(Dir() + "TWO.TMP", "X\r\n");
  vtest::WriteFile(Dir() + "ONE", "0\r\n");
  ParseRecvFiles(Dir());
  EXPECT_EQ(vtest::ReadFile(Dir() + "ONE"), "0\r\n1\r\n2\r\n");
  EXPECT_EQ(vtest::ReadFile(Dir() + "TWO"), "X\r\n");
  EXPECT_NE(Log().find("ONE], Num of Delete = [2]"), std::string::npos);
  EXPECT_NE(Log().find("TWO], Num of Delete = [1]"), std::string::npos);
}

TEST_F(RecvFiles, FirstLineLongerThanAnyFixedBufferIsHandled) {
  const std::string longRecord = std::string(70000, 'L') + "\r\n";
  vtest::WriteFile(Dir() + "L.Tmp", longRecord + "*" + std::string(69999, 'x') + "\r\n" + longRecord);
  ParseRecvFiles(Dir());
  EXPECT_TRUE(vtest::ReadFile(Dir() + "L") == longRecord + longRecord);
  EXPECT_NE(Log().find("Record Length = [70002]"), std::string::npos);
}

TEST_F(RecvFiles, NamelessTemporaryFileIsSkippedAndTheOthersProcessed) {
  vtest::WriteFile(Dir() + ".Tmp", "X\r\n");
  vtest::WriteFile(Dir() + "OK.Tmp", "Y\r\n");
  ParseRecvFiles(Dir());
  EXPECT_FALSE(vtest::Exists(Dir() + ".Tmp"));
  EXPECT_EQ(vtest::ReadFile(Dir() + "OK"), "Y\r\n");
}

TEST_F(RecvFiles, DataThatCannotBeStoredIsKeptInItsTemporaryFile) {
  ::mkdir((Dir() + "BLOCKED").c_str(), 0777);  // a directory where the data file should be
  vtest::WriteFile(Dir() + "BLOCKED.Tmp", "KEEP\r\n");
  vtest::WriteFile(Dir() + "FINE.Tmp", "Y\r\n");
  vtest::WriteFile(Dir() + "BLOCKED.Tmp.unsaved", "EARLIER\r\n");
  ParseRecvFiles(Dir());
  // Set aside under a name that neither the next run's start nor its
  // processing touches, without replacing what an earlier run set aside.
  EXPECT_FALSE(vtest::Exists(Dir() + "BLOCKED.Tmp"));
  EXPECT_EQ(vtest::ReadFile(Dir() + "BLOCKED.Tmp.unsaved"), "EARLIER\r\n");
  EXPECT_EQ(vtest::ReadFile(Dir() + "BLOCKED.Tmp.unsaved.1"), "KEEP\r\n");
  EXPECT_NE(Log().find("File Open Error [" + Dir() + "BLOCKED]: Is a directory, data kept in BLOCKED.Tmp.unsaved.1"),
            std::string::npos);
  EXPECT_EQ(vtest::ReadFile(Dir() + "FINE"), "Y\r\n");
  DeleteTmpFiles(Dir());
  EXPECT_TRUE(vtest::Exists(Dir() + "BLOCKED.Tmp.unsaved.1"));
}

TEST_F(RecvFiles, FullDiskKeepsTheReceivedData) {
  // /dev/full takes the open and refuses every write with "No space left".
  ASSERT_EQ(::symlink("/dev/full", (Dir() + "FULL.TXT").c_str()), 0);
  vtest::WriteFile(Dir() + "FULL.TXT.Tmp", "A1\r\nA2\r\n");
  ParseRecvFiles(Dir());
  EXPECT_EQ(vtest::ReadFile(Dir() + "FULL.TXT.Tmp.unsaved"), "A1\r\nA2\r\n");
  EXPECT_NE(Log().find("File Write Error [" + Dir() + "FULL.TXT]: No space left on device"), std::string::npos);
}

// Every way the storing of one file can fail, on a disk that fails on demand:
// the data file is left as it was, the received data stays where it is under
// a commit record that the next start completes (none of these reasons is
// lasting), the log says why, and the next file is still stored. A call that
// fails only once is tried again at once and stores the data whole.
TEST_F(RecvFiles, EachFailureWhileStoringKeepsTheDataAndTheOldDataFile) {
  using Op = vtest::FakeFileSystem::Op;
  struct Row {
    const char* what;
    Op op;
    const char* path;
    int error;
    int after;
    int times;
    const char* logged;
  };
  const Row rows[] = {
      {"data file refused", Op::Open, "/r/A.TXT", EACCES, 0, -1, "File Open Error [/r/A.TXT]: Permission denied"},
      {"disk full at once", Op::Write, "/r/A.TXT", ENOSPC, 0, -1, "File Write Error [/r/A.TXT]: No space left"},
      {"temporary file unreadable", Op::Read, "A.TXT.Tmp", EIO, 1, -1, "File Write Error [/r/A.TXT]: Input/output"},
      {"temporary file not opened", Op::Open, "A.TXT.Tmp", EIO, 1, -1, "File Open Error [/r/A.TXT.Tmp]: Input/output"},
      {"record length unreadable", Op::Read, "A.TXT.Tmp", EIO, 0, -1, "File Write Error [/r/A.TXT]: Input/output"},
      {"data file's size unknown", Op::Size, "/r/A.TXT", EIO, 0, -1, "File Open Error [/r/A.TXT]: Input/output"},
      {"data file's flush fails", Op::Flush, "/r/A.TXT", EIO, 0, -1, "File Write Error [/r/A.TXT]: Input/output"},
      {"read fails once", Op::Read, "A.TXT.Tmp", EIO, 0, 1, nullptr},
      {"write fails once", Op::Write, "/r/A.TXT", EIO, 0, 1, nullptr},
      {"open fails once", Op::Open, "/r/A.TXT", EACCES, 0, 1, nullptr},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    vtest::FakeFileSystem fs;
    fs.MakeDir("/r");
    fs.Put("/r/A.TXT", "OLD\r\n");
    fs.Put("/r/A.TXT.Tmp", "N1\r\nN2\r\n");
    fs.Put("/r/B.TXT.Tmp", "B1\r\n");
    fs.Fail(r.op, r.path, r.error, r.after, r.times);
    ::unlink(m_cwd.Path("Log/comm.log").c_str());
    EXPECT_EQ(ParseRecvFiles("/r/", fs), r.logged != nullptr ? StoreResult::Kept : StoreResult::Stored);
    EXPECT_EQ(fs.Get("/r/B.TXT"), "B1\r\n");
    if (r.logged == nullptr) {
      EXPECT_EQ(fs.Get("/r/A.TXT"), "OLD\r\nN1\r\nN2\r\n");
      EXPECT_EQ(fs.Names("/r"), (std::vector<std::string>{"A.TXT", "B.TXT"}));
      continue;
    }
    EXPECT_EQ(fs.Get("/r/A.TXT"), "OLD\r\n");
    EXPECT_EQ(fs.Get("/r/A.TXT.Tmp"), "N1\r\nN2\r\n");
    EXPECT_FALSE(fs.Has("/r/A.TXT.Tmp.unsaved"));
    EXPECT_NE(Log().find(r.logged), std::string::npos) << Log();
    EXPECT_NE(Log().find(", data kept in A.TXT.Tmp and stored at the next start"), std::string::npos) << Log();
    // The disk mends: the next start stores the data, once.
    vtest::FakeFileSystem mended = fs;
    mended.ClearFailures();
    EXPECT_EQ(RecoverRecvFiles("/r/", mended), StoreResult::Stored);
    DeleteTmpFiles("/r/", mended);
    EXPECT_EQ(mended.Get("/r/A.TXT"), "OLD\r\nN1\r\nN2\r\n");
    EXPECT_EQ(mended.Names("/r"), (std::vector<std::string>{"A.TXT", "B.TXT"}));
  }
}

// A read of the temporary file that fails once, while its record length is
// measured: the data is stored whole by the next try, not cut at a wrong
// length (a failed read was taken for the end of the file; found by
// fuzz_recv_files).
TEST_F(RecvFiles, AReadErrorWhileMeasuringTheRecordLengthKeepsTheData) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/r");
  fs.Put("/r/A.TXT", "OLD\r\n");
  fs.Put("/r/A.TXT.Tmp", "N1\r\nN2\r\n");
  fs.Fail(vtest::FakeFileSystem::Op::Read, "A.TXT.Tmp", EIO, 0, 1);
  EXPECT_EQ(ParseRecvFiles("/r/", fs), StoreResult::Stored);
  EXPECT_EQ(fs.Get("/r/A.TXT"), "OLD\r\nN1\r\nN2\r\n");
  EXPECT_NE(Log().find("Record Length = [4]"), std::string::npos) << Log();
}

// A disk that fills up in the middle of a write: the part that went out is
// taken back from the data file, and the data waits for the next start.
TEST_F(RecvFiles, DiskFillingUpMidWayTakesBackThePartialAppend) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/r");
  fs.Put("/r/A.TXT", "OLD\r\n");
  fs.Put("/r/A.TXT.Tmp", "N1\r\nN2\r\nN3\r\n");
  // Room for OLD, the temporary file, the record and 7 more bytes.
  fs.SetCapacity(5 + 12 + static_cast<std::int64_t>(FormatCommitRecord({true, {{"A.TXT.Tmp", true, 5}}}).size()) + 7);
  EXPECT_EQ(ParseRecvFiles("/r/", fs), StoreResult::Kept);
  EXPECT_EQ(fs.Get("/r/A.TXT"), "OLD\r\n");
  EXPECT_EQ(fs.Get("/r/A.TXT.Tmp"), "N1\r\nN2\r\nN3\r\n");
  fs.PowerCut();  // the cut back was flushed
  EXPECT_EQ(fs.Get("/r/A.TXT"), "OLD\r\n");
}

TEST_F(RecvFiles, BlockThatDoesNotFitIsStoredWholeOrNotAtAll) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/r");
  const CTransferFile io(fs);
  const std::string block = "0123456789";
  fs.SetCapacity(15);
  ASSERT_TRUE(io.AppendToTemp("/r/A", reinterpret_cast<const std::uint8_t*>(block.data()), 10));
  EXPECT_FALSE(io.AppendToTemp("/r/A", reinterpret_cast<const std::uint8_t*>(block.data()), 10));
  EXPECT_EQ(fs.Get("/r/A.Tmp"), block);
}

TEST_F(RecvFiles, SetAsideDataListsAndTheCommitRecordAreNeverTakenForData) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/r");
  const std::vector<std::string> names = {"A.Tmp.unsaved", "A.Tmp.unsaved.1", "COMMLIST.LST", "COMMINFO.INI"};
  for (const std::string& n : names) fs.Put("/r/" + n, "X\r\n");
  ParseRecvFiles("/r/", fs);
  DeleteTmpFiles("/r/", fs);
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(fs.Names("/r"), sorted);
  for (const std::string& n : names) EXPECT_EQ(fs.Get("/r/" + n), "X\r\n") << n;
}

TEST_F(RecvFiles, WithoutTemporaryFilesOnlyStartAndEndAreLogged) {
  ParseRecvFiles(Dir());
  EXPECT_EQ(Log(), "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing Start!\r\n\xB5\xA5\xC0\xCC\xC5\xB8 Parsing End!\r\n");
}

TEST_F(RecvFiles, DeleteRemovesEveryTmpWhateverItsCaseAndNothingElse) {
  for (const char* n : {"a.Tmp", "b.TMP", "c.tmp", "keep.txt", "tmp", "COMMLIST.LST"}) vtest::WriteFile(Dir() + n, "x");
  DeleteTmpFiles(Dir());
  for (const char* n : {"a.Tmp", "b.TMP", "c.tmp"}) EXPECT_FALSE(vtest::Exists(Dir() + n)) << n;
  for (const char* n : {"keep.txt", "tmp", "COMMLIST.LST"}) EXPECT_TRUE(vtest::Exists(Dir() + n)) << n;
}

}  // namespace
