// Turning temporary receive files into data files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "comm_log.h"
#include "fakes.h"
#include "recv_files.h"

namespace {

using namespace vantor;

class RecvFiles : public ::testing::Test {
 protected:
  void SetUp() override { ::mkdir(m_cwd.Path("recv").c_str(), 0777); }
  std::string Dir() const { return m_cwd.Path("recv/"); }
  std::string Log() const { return vtest::ReadAll(m_cwd.Path("Log/comm.log")); }
  vtest::TempCwd m_cwd;
};

TEST_F(RecvFiles, StarredRecordsAndTheShortTailAreDropped) {
  vtest::WriteAll(Dir() + "STOCK.TXT.Tmp", "ABC\r\nDEF\r\n*GH\r\nIJ");
  ParseRecvFiles(Dir());
  EXPECT_EQ(vtest::ReadAll(Dir() + "STOCK.TXT"), "ABC\r\nDEF\r\n");
  EXPECT_FALSE(vtest::Exists(Dir() + "STOCK.TXT.Tmp"));
  EXPECT_EQ(Log(),
            "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing Start!\r\n"
            "File name = [STOCK.TXT.Tmp], Record Length = [5]\r\n"
            "FileName = [" + Dir() + "STOCK.TXT], Num of Delete = [3]\r\n"
            "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing End!\r\n");
}

TEST_F(RecvFiles, RecordsAreCutByLengthWhereverLineEndsFall) {
  vtest::WriteAll(Dir() + "A.Tmp", "AB\r\nCDEFGH\r\n*J\r\nKL");
  ParseRecvFiles(Dir());
  // Record length 4: "AB\r\n", "CDEF", "GH\r\n", "*J\r\n" (dropped), "KL" dropped.
  EXPECT_EQ(vtest::ReadAll(Dir() + "A"), "AB\r\nCDEFGH\r\n");
  EXPECT_NE(Log().find("Num of Delete = [4]"), std::string::npos);
}

TEST_F(RecvFiles, EmptyOrCrLessFileWritesNothingButMakesTheDataFile) {
  vtest::WriteAll(Dir() + "E.TXT.Tmp", "");
  vtest::WriteAll(Dir() + "N.TXT.Tmp", "NO LINE END");
  ParseRecvFiles(Dir());
  EXPECT_TRUE(vtest::Exists(Dir() + "E.TXT"));
  EXPECT_EQ(vtest::ReadAll(Dir() + "E.TXT"), "");
  EXPECT_EQ(vtest::ReadAll(Dir() + "N.TXT"), "");
  EXPECT_NE(Log().find("E.TXT.Tmp], Record Length = [2]"), std::string::npos);
  EXPECT_NE(Log().find("N.TXT.Tmp], Record Length = [13]"), std::string::npos);
  EXPECT_FALSE(vtest::Exists(Dir() + "E.TXT.Tmp"));
  EXPECT_FALSE(vtest::Exists(Dir() + "N.TXT.Tmp"));
}

TEST_F(RecvFiles, EachFileCountsItsOwnRecordsAndAppendsAfterExistingData) {
  vtest::WriteAll(Dir() + "ONE.Tmp", "1\r\n2\r\n");
  vtest::WriteAll(Dir() + "TWO.TMP", "X\r\n");
  vtest::WriteAll(Dir() + "ONE", "0\r\n");
  ParseRecvFiles(Dir());
  EXPECT_EQ(vtest::ReadAll(Dir() + "ONE"), "0\r\n1\r\n2\r\n");
  EXPECT_EQ(vtest::ReadAll(Dir() + "TWO"), "X\r\n");
  EXPECT_NE(Log().find("ONE], Num of Delete = [2]"), std::string::npos);
  EXPECT_NE(Log().find("TWO], Num of Delete = [1]"), std::string::npos);
}

TEST_F(RecvFiles, FirstLineLongerThanAnyFixedBufferIsHandled) {
  const std::string longRecord = std::string(70000, 'L') + "\r\n";
  vtest::WriteAll(Dir() + "L.Tmp", longRecord + "*" + std::string(69999, 'x') + "\r\n" + longRecord);
  ParseRecvFiles(Dir());
  EXPECT_TRUE(vtest::ReadAll(Dir() + "L") == longRecord + longRecord);
  EXPECT_NE(Log().find("Record Length = [70002]"), std::string::npos);
}

TEST_F(RecvFiles, NamelessTemporaryFileIsSkippedAndTheOthersProcessed) {
  vtest::WriteAll(Dir() + ".Tmp", "X\r\n");
  vtest::WriteAll(Dir() + "OK.Tmp", "Y\r\n");
  ParseRecvFiles(Dir());
  EXPECT_FALSE(vtest::Exists(Dir() + ".Tmp"));
  EXPECT_EQ(vtest::ReadAll(Dir() + "OK"), "Y\r\n");
}

TEST_F(RecvFiles, DataThatCannotBeStoredIsKeptInItsTemporaryFile) {
  ::mkdir((Dir() + "BLOCKED").c_str(), 0777);  // a directory where the data file should be
  vtest::WriteAll(Dir() + "BLOCKED.Tmp", "KEEP\r\n");
  vtest::WriteAll(Dir() + "FINE.Tmp", "Y\r\n");
  vtest::WriteAll(Dir() + "BLOCKED.Tmp.unsaved", "EARLIER\r\n");
  ParseRecvFiles(Dir());
  // Set aside under a name that neither the next run's start nor its
  // processing touches, without replacing what an earlier run set aside.
  EXPECT_FALSE(vtest::Exists(Dir() + "BLOCKED.Tmp"));
  EXPECT_EQ(vtest::ReadAll(Dir() + "BLOCKED.Tmp.unsaved"), "EARLIER\r\n");
  EXPECT_EQ(vtest::ReadAll(Dir() + "BLOCKED.Tmp.unsaved.1"), "KEEP\r\n");
  EXPECT_NE(Log().find("File Open Error [" + Dir() + "BLOCKED]: Is a directory, data kept in BLOCKED.Tmp.unsaved.1"),
            std::string::npos);
  EXPECT_EQ(vtest::ReadAll(Dir() + "FINE"), "Y\r\n");
  DeleteTmpFiles(Dir());
  EXPECT_TRUE(vtest::Exists(Dir() + "BLOCKED.Tmp.unsaved.1"));
}

TEST_F(RecvFiles, FullDiskKeepsTheReceivedData) {
  // /dev/full takes the open and refuses every write with "No space left".
  ASSERT_EQ(::symlink("/dev/full", (Dir() + "FULL.TXT").c_str()), 0);
  vtest::WriteAll(Dir() + "FULL.TXT.Tmp", "A1\r\nA2\r\n");
  ParseRecvFiles(Dir());
  EXPECT_EQ(vtest::ReadAll(Dir() + "FULL.TXT.Tmp.unsaved"), "A1\r\nA2\r\n");
  EXPECT_NE(Log().find("File Write Error [" + Dir() + "FULL.TXT]: No space left on device"), std::string::npos);
}

TEST_F(RecvFiles, WithoutTemporaryFilesOnlyStartAndEndAreLogged) {
  ParseRecvFiles(Dir());
  EXPECT_EQ(Log(), "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing Start!\r\n\xB5\xA5\xC0\xCC\xC5\xB8 Parsing End!\r\n");
}

TEST_F(RecvFiles, DeleteRemovesEveryTmpWhateverItsCaseAndNothingElse) {
  for (const char* n : {"a.Tmp", "b.TMP", "c.tmp", "keep.txt", "tmp", "COMMLIST.LST"}) vtest::WriteAll(Dir() + n, "x");
  DeleteTmpFiles(Dir());
  for (const char* n : {"a.Tmp", "b.TMP", "c.tmp"}) EXPECT_FALSE(vtest::Exists(Dir() + n)) << n;
  for (const char* n : {"keep.txt", "tmp", "COMMLIST.LST"}) EXPECT_TRUE(vtest::Exists(Dir() + n)) << n;
}

}  // namespace
