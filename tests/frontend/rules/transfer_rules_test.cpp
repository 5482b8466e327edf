// The rules of the transfer command and of the dialogs, written once for both
// window systems: the library's arguments and the result messages, the stock
// file's new name, the directory levels, the start-up wait, the port devices,
// the chooser's drive change and the splash's place. The file tests use the
// platform's own separator and run on Linux and under Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "Clock.h"
#include "DirSelectRules.h"
#include "Environment.h"
#include "FileOps.h"
#include "FolderProblem.h"
#include "FuntDefine.h"
#include "PortDevices.h"
#include "RecordingStore.h"
#include "SplashRules.h"
#include "StockFile.h"
#include "SystemText.h"
#include "TransferCommand.h"
#include "VarDefine.h"
#include "temp_dir.h"

namespace {

// A path of the test's temporary folder in the rules' form: UTF-8, the
// platform's separator.
std::string U8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

void Touch(const std::string& path, const std::string& content = "x") { std::ofstream(FsPath(path)) << content; }

std::string Join(const std::string& dir, const std::string& name) { return dir + FileOps::Separator() + name; }

const LocalDateTime kEnd{2026, 3, 15, 14, 25, 30, 0};

TEST(TransferArgs, CarryTheBoxesTheValuesInEffectAndAbc) {
  gPortNo = 3;
  gBaudRate = 38400;
  const vantor::TransferArgs args = TransferCommand::MakeArgs(" /recv ", "/send/", true);
  EXPECT_EQ(args.recvDir, ToSystemNarrow(" /recv "));  // unchanged, not trimmed
  EXPECT_EQ(args.sendDir, ToSystemNarrow("/send/"));
  EXPECT_EQ(args.portNo, 3);
  EXPECT_EQ(args.speed, 38400);
  EXPECT_EQ(args.appendMode, 1);
  EXPECT_EQ(args.userData, "abc");
  EXPECT_EQ(TransferCommand::MakeArgs("r", "s", false).appendMode, 0);
}

TEST(TransferArgs, KoreanFoldersGoInTheSystemEncodingAndBack) {
  const std::string folder = "C:\\데이터";
  EXPECT_EQ(FromSystemNarrow(ToSystemNarrow(folder)), folder);
}

struct MessageRow {
  int result;
  const char* message;  // nullptr: none
};

class ResultMessages : public ::testing::TestWithParam<MessageRow> {};

TEST_P(ResultMessages, OnlyTheArgumentErrorsSpeak) {
  const char* message = TransferCommand::ResultMessage(GetParam().result);
  if (GetParam().message == nullptr) {
    EXPECT_EQ(message, nullptr) << GetParam().result;
  } else {
    ASSERT_NE(message, nullptr) << GetParam().result;
    EXPECT_STREQ(message, GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ResultMessages,
                         ::testing::Values(MessageRow{-11, "Recv 디렉토리 설정에러"},
                                           MessageRow{-12, "Send 디렉토리 설정에러"},
                                           MessageRow{-13, "통신포트 설정에러"}, MessageRow{-14, "통신속도 설정에러"},
                                           MessageRow{2, nullptr}, MessageRow{1, nullptr}, MessageRow{0, nullptr},
                                           MessageRow{-1, nullptr}, MessageRow{-2, nullptr}, MessageRow{-3, nullptr},
                                           MessageRow{-4, nullptr}));

TEST(StockFile, GetsItsTimeStampedNameBesideItself) {
  vtest::TempDir tmp;
  const std::string recv = U8Path(tmp.Path());
  Touch(Join(recv, "STOCK.TXT"), "S000001\r\n");
  // The chooser leaves a final separator: the name still lands in the folder.
  EXPECT_EQ(StockFile::RenameReceived(recv + FileOps::Separator(), kEnd), StockFile::Outcome::Renamed);
  EXPECT_TRUE(FileOps::FileExists(Join(recv, "STOCK_20260315142530.txt")));
  EXPECT_FALSE(FileOps::FileExists(Join(recv, "STOCK.TXT")));
}

TEST(StockFile, TheSecondRenameWithinOneSecondKeepsTheNewFile) {
  vtest::TempDir tmp;
  const std::string recv = U8Path(tmp.Path());
  Touch(Join(recv, "STOCK.TXT"), "first");
  ASSERT_EQ(StockFile::RenameReceived(recv, kEnd), StockFile::Outcome::Renamed);
  Touch(Join(recv, "STOCK.TXT"), "second");
  EXPECT_EQ(StockFile::RenameReceived(recv, kEnd), StockFile::Outcome::RenameFailed);
  std::ifstream first(FsPath(Join(recv, "STOCK_20260315142530.txt")));
  std::string content;
  first >> content;
  EXPECT_EQ(content, "first");  // never replaced
  EXPECT_TRUE(FileOps::FileExists(Join(recv, "STOCK.TXT")));
}

TEST(StockFile, NoStockFileAndAFolderOfThatNameRenameNothing) {
  vtest::TempDir tmp;
  const std::string recv = U8Path(tmp.Path());
  EXPECT_EQ(StockFile::RenameReceived(recv, kEnd), StockFile::Outcome::NoStockFile);
  ASSERT_TRUE(FileOps::MakeDir(Join(recv, "STOCK.TXT")));
  EXPECT_EQ(StockFile::RenameReceived(recv, kEnd), StockFile::Outcome::NoStockFile);
}

TEST(StockFile, ALowerCaseNameFromTheTerminalIsFound) {
  vtest::TempDir tmp;
  const std::string recv = U8Path(tmp.Path());
  Touch(Join(recv, "stock.txt"));
  EXPECT_EQ(StockFile::RenameReceived(recv, kEnd), StockFile::Outcome::Renamed);
  EXPECT_TRUE(FileOps::FileExists(Join(recv, "STOCK_20260315142530.txt")));
}

TEST(MakeDirPath, CreatesTheMissingLevelsInTheirOrder) {
  vtest::TempDir tmp;
  const std::string base = U8Path(tmp.Path());
  EXPECT_TRUE(MakeDirPath(Join(Join(base, "in"), "day")));
  EXPECT_TRUE(FileOps::DirectoryExists(Join(Join(base, "in"), "day")));
  // A final or doubled separator names a level that exists.
  EXPECT_TRUE(MakeDirPath("  " + Join(base, "in") + FileOps::Separator() + FileOps::Separator() + "  "));
  EXPECT_TRUE(MakeDirPath("   "));
}

TEST(MakeDirPath, FailsBehindAFile) {
  vtest::TempDir tmp;
  const std::string base = U8Path(tmp.Path());
  Touch(Join(base, "blocker"));
  EXPECT_FALSE(MakeDirPath(Join(Join(base, "blocker"), "inner")));
  EXPECT_TRUE(FileOps::FileExists(Join(base, "blocker")));
}

// The folder refused by the library, as the operator is told of it: each
// problem found on the disk as it is, and its message.
struct FolderRow {
  const char* name;
  const char* setUp;  // "none", "file", "dir", "file+sep"
  bool mustBeWritable;
  FolderProblem expected;
};

class FolderProblems : public ::testing::TestWithParam<FolderRow> {};

TEST_P(FolderProblems, AreFoundOnTheDisk) {
  const FolderRow& row = GetParam();
  vtest::TempDir tmp;
  std::string dir = Join(U8Path(tmp.Path()), "recv");
  const std::string setUp = row.setUp;
  if (setUp.rfind("file", 0) == 0) Touch(dir);
  if (setUp.rfind("dir", 0) == 0) {
    ASSERT_TRUE(FileOps::MakeDir(dir));
  }
  if (setUp.find("+sep") != std::string::npos) dir += FileOps::Separator();
  EXPECT_EQ(CheckFolder(setUp == "empty" ? " " : dir, row.mustBeWritable), row.expected) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FolderProblems,
    ::testing::Values(FolderRow{"nothing typed", "empty", true, FolderProblem::NotGiven},
                      FolderRow{"missing", "none", true, FolderProblem::Missing},
                      FolderRow{"missing with separator", "none+sep", false, FolderProblem::Missing},
                      FolderRow{"a file", "file", false, FolderProblem::NotAFolder},
                      FolderRow{"a file with separator", "file+sep", true, FolderProblem::NotAFolder},
                      FolderRow{"a usable folder", "dir+sep", true, FolderProblem::NotKnown}));

TEST(FolderProblems, AFolderThatRefusesNewFilesIsNotWritable) {
#ifndef _WIN32
  if (::geteuid() == 0) {
    GTEST_SKIP() << "permissions do not bind root";
  }
  vtest::TempDir tmp;
  const std::string dir = Join(U8Path(tmp.Path()), "locked");
  ASSERT_TRUE(FileOps::MakeDir(dir));
  std::filesystem::permissions(FsPath(dir), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(CheckFolder(dir, true), FolderProblem::NotWritable);
  EXPECT_EQ(CheckFolder(dir, false), FolderProblem::NotKnown);  // the send folder is only read
  std::filesystem::permissions(FsPath(dir), std::filesystem::perms::owner_all);
#else
  GTEST_SKIP() << "a folder's access list is not set by this test";
#endif
}

TEST(FolderProblems, ANameTheSystemsEncodingLacksIsSaidSo) {
  // Thai has no place in code page 949; a UTF-8 system keeps every name.
  const std::string dir = Join("C:", "ข้อมูล");
  if (FromSystemNarrow(ToSystemNarrow(dir)) == dir) {
    GTEST_SKIP() << "the system's encoding holds every name";
  }
  EXPECT_EQ(CheckFolder(dir, true), FolderProblem::NotEncodable);
  EXPECT_EQ(FolderErrorMessage(-11, dir, FolderProblem::NotEncodable).text,
            "Recv 디렉토리 설정에러\n[" + dir + "] 폴더 이름에 이 시스템의 문자 집합에 없는 문자가 있습니다.");
}

TEST(FolderMessages, TheLibrarysTextThenTheFolderAndWhy) {
  const std::string dir = Join("recv", "day");
  struct Row {
    int result;
    FolderProblem problem;
    std::string text;
    bool offerCreate;
  };
  const Row rows[] = {
      {-11, FolderProblem::Missing,
       "Recv 디렉토리 설정에러\n[" + dir + "] 폴더가 없습니다.\n\n폴더를 만들고 다시 전송하시겠습니까?", true},
      {-12, FolderProblem::NotAFolder, "Send 디렉토리 설정에러\n[" + dir + "] 같은 이름의 파일이 있습니다. 폴더가 아닙니다.",
       false},
      {-11, FolderProblem::NotWritable,
       "Recv 디렉토리 설정에러\n[" + dir + "] 이 폴더에 파일을 쓸 수 없습니다. 쓰기 권한을 확인하십시오.", false},
      {-12, FolderProblem::NotGiven, "Send 디렉토리 설정에러\n폴더가 지정되지 않았습니다.", false},
      {-11, FolderProblem::NotKnown, "Recv 디렉토리 설정에러\n[" + dir + "] 이 폴더를 사용할 수 없습니다.", false},
      {-13, FolderProblem::Missing, "", false},
      {1, FolderProblem::Missing, "", false},
  };
  for (const Row& row : rows) {
    const FolderMessage message = FolderErrorMessage(row.result, dir, row.problem);
    EXPECT_EQ(message.text, row.text) << row.result;
    EXPECT_EQ(message.offerCreate, row.offerCreate) << row.result;
  }
  EXPECT_EQ(FolderNotMadeMessage(-11, dir, "Permission denied"),
            "Recv 디렉토리 설정에러\n[" + dir + "] 폴더를 만들 수 없습니다: Permission denied");
}

TEST(MakeFolder, MakesEveryMissingLevelOfAnAbsoluteOrRelativePath) {
  vtest::TempDir tmp;
  const std::string base = U8Path(tmp.Path());
  std::string reason;
  const std::string absolute = Join(Join(base, "수신"), "day") + FileOps::Separator();
  EXPECT_TRUE(MakeFolder(absolute, &reason)) << reason;
  EXPECT_EQ(CheckFolder(absolute, true), FolderProblem::NotKnown);
  // A relative folder is taken from the current directory, as the library
  // takes it.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(tmp.Path());
  const bool made = MakeFolder(Join(Join("rel", "a"), "b"), &reason);
  std::filesystem::current_path(before);
  EXPECT_TRUE(made) << reason;
  EXPECT_TRUE(FileOps::DirectoryExists(Join(Join(Join(base, "rel"), "a"), "b")));
}

TEST(MakeFolder, AFileInTheWayIsReportedWithTheSystemsReason) {
  vtest::TempDir tmp;
  const std::string base = U8Path(tmp.Path());
  Touch(Join(base, "blocker"));
  std::string reason;
  EXPECT_FALSE(MakeFolder(Join(Join(base, "blocker"), "inner"), &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(FileOps::FileExists(Join(base, "blocker")));
}

class StepClock final : public Clock {
 public:
  explicit StepClock(LocalDateTime start) : now(start) {}
  LocalDateTime Now() const override { return now; }
  void RunEventsFor(int ms) override {
    ++passes;
    advancedMs += ms;
    now.millisecond += ms;
    now.second += now.millisecond / 1000;
    now.millisecond %= 1000;
    now.minute += now.second / 60;
    now.second %= 60;
  }
  LocalDateTime now;
  int passes = 0;
  int advancedMs = 0;
};

struct WaitRow {
  int hour, minute, second, millisecond;
  bool waits;
};

class WaitNearMidnight : public ::testing::TestWithParam<WaitRow> {};

TEST_P(WaitNearMidnight, SkipsTheLastFiveSeconds) {
  const WaitRow& row = GetParam();
  StepClock clock({2026, 3, 15, row.hour, row.minute, row.second, row.millisecond});
  WaitSeconds(VarDefine::kSplashSeconds, clock);
  EXPECT_EQ(clock.passes > 0, row.waits);
  // Counted in whole milliseconds: times of day as fractions of seconds
  // differ in their last bits between the x87 and SSE units.
  if (row.waits) {
    EXPECT_GE(clock.advancedMs, 1000);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, WaitNearMidnight,
                         ::testing::Values(WaitRow{12, 0, 0, 0, true}, WaitRow{23, 59, 54, 0, true},
                                           WaitRow{23, 59, 55, 400, true}, WaitRow{23, 59, 55, 500, false},
                                           WaitRow{23, 59, 56, 0, false}, WaitRow{23, 59, 58, 0, false}));

TEST(PortDevices, TheSettingsNameTheDevicesAndTheEnvironmentWins) {
  Environment::Unset("VANTOR_COM2");
  Environment::Set("VANTOR_COM3", "from-environment");
  const PortDevices devices;
  RecordingStore store;
  store.portDevices = {{2, "cradle-2"}, {3, "cradle-3"}};
  devices.Apply(store);
  EXPECT_EQ(PortDevices::DeviceOf(2), "cradle-2");
  EXPECT_EQ(PortDevices::DeviceOf(3), "from-environment");
  EXPECT_TRUE(devices.FromEnvironment(3));
  store.portDevices.erase(2);
  devices.Apply(store);
  EXPECT_EQ(PortDevices::DeviceOf(2), PortDevices::DefaultDeviceOf(2));
  Environment::Unset("VANTOR_COM3");
}

TEST(ChooserText, FinalSeparatorAndDrive) {
  EXPECT_EQ(DirSelectRules::WithFinalSeparator("C:\\send", '\\'), "C:\\send\\");
  EXPECT_EQ(DirSelectRules::WithFinalSeparator("C:\\", '\\'), "C:\\");
  EXPECT_EQ(DirSelectRules::WithFinalSeparator("", '\\'), "\\");
  EXPECT_EQ(DirSelectRules::DriveOfText("d:\\recv"), "D:");
  EXPECT_EQ(DirSelectRules::UpperCase("c:\\데이터\\in"), "C:\\데이터\\IN");
}

// The two lists of the chooser, scripted: drives in notReady cannot be
// opened; selecting a drive runs the change again, as the lists do.
class ScriptedLists final : public DirSelectRules::DriveChangeView {
 public:
  explicit ScriptedLists(DirSelectRules::DriveChange& change) : m_change(change) {}
  std::string DirPath() const override { return path; }
  std::string Drive() const override { return drive; }
  std::optional<std::string> OpenSelectedDrive() override {
    if (drive == notReady) return std::string("The device is not ready.");
    path = drive + "\\";
    return std::nullopt;
  }
  void SelectDrive(const std::string& next) override {
    if (next == drive) return;  // no change
    drive = next;
    m_change.Changed(*this);
  }
  void SetDirPath(const std::string& next) override { path = next; }
  void ShowAccessError(const std::string& text) override { errors.push_back(text); }

  std::string path = "C:\\recv";
  std::string drive = "C:";
  std::string notReady = "A:";
  std::vector<std::string> errors;

 private:
  DirSelectRules::DriveChange& m_change;
};

TEST(DriveChange, ADriveThatIsNotReadyGoesBackToTheLastFocusedDrive) {
  DirSelectRules::DriveChange change;
  ScriptedLists lists(change);
  change.Loaded("C:");
  change.GotFocus("D:");
  lists.drive = "D:";
  change.Changed(lists);
  EXPECT_EQ(lists.path, "D:\\");
  lists.drive = "A:";
  change.Changed(lists);
  EXPECT_EQ(lists.errors, std::vector<std::string>{"The device is not ready."});
  EXPECT_EQ(lists.drive, "D:");
  EXPECT_EQ(lists.path, "D:\\");  // the directory shown before the change
}

TEST(DriveChange, BeforeAnyFocusTheDriveShownBeforeServes) {
  DirSelectRules::DriveChange change;
  ScriptedLists lists(change);
  change.Loaded("C:");
  lists.drive = "A:";
  change.Changed(lists);
  EXPECT_EQ(lists.errors.size(), 1u);
  EXPECT_EQ(lists.drive, "C:");
  EXPECT_EQ(lists.path, "C:\\recv");
}

TEST(Splash, IsCentredByItsOuterSize) {
  EXPECT_EQ(SplashRules::CentredOn(0, 0, 1280, 1024, 409, 214), (SplashRules::Point{435, 405}));
  EXPECT_EQ(SplashRules::CentredOn(1280, 0, 800, 600, 400, 200), (SplashRules::Point{1480, 200}));
}

}  // namespace
