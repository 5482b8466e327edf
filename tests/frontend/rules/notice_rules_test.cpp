// The desktop notification after a transfer, written once for both window
// systems: what the library's log says was stored (and what a terminal's data
// in the log cannot make it say), the records counted from the data files'
// sizes, the line for every result, and a whole notice from real files with
// the setting that turns it off. The file tests run on Linux and under Wine.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Cp949Text.h"
#include "FileOps.h"
#include "RecordingNotifier.h"
#include "RecordingStore.h"
#include "RunNotice.h"
#include "RunNoticeText.h"
#include "StockFile.h"
#include "StoredFilesLog.h"
#include "SystemText.h"
#include "TransferCommand.h"
#include "VarDefine.h"
#include "temp_dir.h"
#include "vantor2.h"

namespace {

// "재고" and "데이타" in code page 949, as the library writes them.
const std::string kStockCp949 = "\xC0\xE7\xB0\xED";
const std::string kParseStart = "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing Start!";
const std::string kParseEnd = "\xB5\xA5\xC0\xCC\xC5\xB8 Parsing End!";

std::string U8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Join(const std::string& dir, const std::string& name) { return dir + FileOps::Separator() + name; }

void WriteBytes(const std::string& path, const std::string& bytes, bool append = false) {
  std::ofstream(FsPath(path), std::ios::binary | (append ? std::ios::app : std::ios::trunc)) << bytes;
}

// n records of length bytes each (CR LF included).
std::string Records(char lead, int n, int length) {
  std::string out;
  for (int i = 0; i < n; ++i) out += lead + std::string(static_cast<std::size_t>(length - 3), '0') + "\r\n";
  return out;
}

std::string LogLines(const std::vector<std::string>& lines) {
  std::string log;
  for (const std::string& line : lines) log += line + "\r\n";
  return log;
}

std::string StoredPair(const std::string& dir, const std::string& name, int length, int read) {
  return "File name = [" + name + ".Tmp], Record Length = [" + std::to_string(length) + "]\r\nFileName = [" + dir +
         name + "], Num of Delete = [" + std::to_string(read) + "]";
}

using Entries = std::vector<StoredFilesLog::Entry>;

void ExpectEntries(const Entries& got, const Entries& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].name, want[i].name) << i;
    EXPECT_EQ(got[i].recordLength, want[i].recordLength) << i;
    EXPECT_EQ(got[i].recordsRead, want[i].recordsRead) << i;
  }
}

TEST(Cp949Text, KoreanNamesReadAndAStrayByteShowsAsReplacement) {
  EXPECT_EQ(Cp949ToUtf8("STOCK.TXT"), "STOCK.TXT");
  EXPECT_EQ(Cp949ToUtf8(kStockCp949 + ".TXT"), "재고.TXT");
  // A lead byte whose partner is no trail byte, and one at the very end.
  EXPECT_EQ(Cp949ToUtf8("A\xC0 B"), "A\xEF\xBF\xBD B");
  EXPECT_EQ(Cp949ToUtf8("AB\xC0"), "AB\xEF\xBF\xBD");
}

TEST(StoredFilesLog, ARunThatStoredTwoFiles) {
  const std::string log = LogLines({
      "Port Open",
      "SendDir = [/home/shop/send/]",
      "RecvDir = [/home/shop/recv/]",
      "Recv Data = [\x01" "1STOCK.TXT]",
      "Len = [54]",
      "Data Recv Success!",
      "Port Close",
      kParseStart,
      StoredPair("/home/shop/recv/", "STOCK.TXT", 42, 300),
      // A try that failed logs its first entry only; the next try stores.
      "File name = [" + kStockCp949 + ".TXT.Tmp], Record Length = [10]",
      "File Write Error [/home/shop/recv/" + kStockCp949 + ".TXT]: No space left on device",
      StoredPair("/home/shop/recv/", kStockCp949 + ".TXT", 10, 2),
      kParseEnd,
  });
  ExpectEntries(StoredFilesLog::Parse(log), {{"STOCK.TXT", 42, 300}, {"재고.TXT", 10, 2}});
}

TEST(StoredFilesLog, ATerminalsDataThatLooksLikeTheEntriesIsNotTaken) {
  // Data files hold lines ending in CR LF; the log holds the data as it came.
  const std::string forged = StoredPair("/home/shop/recv/", "FAKE.TXT", 5, 99);
  const std::string log = LogLines({
      "Port Open",
      "Recv Data = [\x02" "00001S00001",
      forged,
      "Port Close",
      "]",
      "Len = [1010]",
      // Pieces that came late are logged after the port's close line, and
      // then come the real entries.
      "Port Close",
      kParseStart,
      StoredPair("/home/shop/recv/", "ORDER.DAT", 12, 3),
      kParseEnd,
  });
  ExpectEntries(StoredFilesLog::Parse(log), {{"ORDER.DAT", 12, 3}});
}

TEST(StoredFilesLog, TheRecoveryBeforeThePortOpensCounts) {
  const std::string log = LogLines({
      "Recovery: storing the data of a run that ended before it was stored",
      StoredPair("C:\\recv\\", "STOCK.TXT", 42, 7),
      "Recovery: completed [STOCK.TXT.Tmp]",
      "Port Open Error...",
      "COM1: No such file or directory",
  });
  ExpectEntries(StoredFilesLog::Parse(log), {{"STOCK.TXT", 42, 7}});
}

TEST(StoredFilesLog, EntriesThatDoNotPairAreLeftOut) {
  const std::string log = LogLines({
      "Port Open",
      "Port Close",
      // No first entry.
      "FileName = [/r/A.TXT], Num of Delete = [1]",
      // The data file is not the temporary file's.
      "File name = [B.TXT.Tmp], Record Length = [4]",
      "FileName = [/r/C.TXT], Num of Delete = [1]",
      // A name that only ends like it.
      "File name = [D.TXT.Tmp], Record Length = [4]",
      "FileName = [/r/XD.TXT], Num of Delete = [1]",
      // Not a number.
      "File name = [E.TXT.Tmp], Record Length = [4x]",
      "FileName = [/r/E.TXT], Num of Delete = [1]",
      "File name = [F.TXT.Tmp], Record Length = [0]",
      "FileName = [/r/F.TXT], Num of Delete = [1]",
      // A name may hold "]" and ", ": the marks are taken from the end.
      StoredPair("/r/", "G], Record Length = [1].TXT", 6, 2),
      // The last line of a log cut short.
      "File name = [H.TXT.Tmp], Record Length = [4]",
      "FileName = [/r/H.TXT], Num of Del",
  });
  ExpectEntries(StoredFilesLog::Parse(log), {{"G], Record Length = [1].TXT", 6, 2}});
}

struct CountRow {
  std::optional<std::int64_t> before;
  std::optional<std::int64_t> after;
  long long length;
  bool append;
  std::optional<long long> records;
};

class RecordsStored : public ::testing::TestWithParam<CountRow> {};

TEST_P(RecordsStored, AreTheWholeRecordsTheFileGainedOrHolds) {
  const CountRow& row = GetParam();
  EXPECT_EQ(RunNoticeText::RecordsStored(row.before, row.after, row.length, row.append), row.records);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecordsStored,
    ::testing::Values(CountRow{std::nullopt, 84, 42, true, 2},    // a new data file
                      CountRow{42, 126, 42, true, 2},             // appended to one record
                      CountRow{42, 42, 42, true, 0},              // everything marked deleted
                      CountRow{50, 134, 42, true, 2},             // an earlier piece shorter than a record
                      CountRow{42, 100, 42, true, std::nullopt},  // changed by someone else
                      CountRow{126, 84, 42, true, std::nullopt},  // cut meanwhile
                      CountRow{420, 84, 42, false, 2},            // replaced: what it holds
                      CountRow{std::nullopt, 85, 42, false, std::nullopt},
                      CountRow{0, std::nullopt, 42, true, std::nullopt},  // gone
                      CountRow{0, 84, 0, true, std::nullopt}));

RunNoticeText::Facts FactsOf(int result) {
  RunNoticeText::Facts facts;
  facts.result = result;
  facts.logRead = true;
  facts.logPath = "/home/shop/.local/state/Kelvane/Log/comm.log";
  facts.recvDir = "/home/shop/recv";
  facts.sendDir = "/home/shop/send";
  facts.portNo = 2;
  facts.speed = 19200;
  return facts;
}

struct TextRow {
  const char* name;
  RunNoticeText::Facts facts;
  const char* text;
};

RunNoticeText::Facts Received(std::vector<RunNoticeText::Stored> stored, int result = VANTOR_RECEIVED) {
  RunNoticeText::Facts facts = FactsOf(result);
  facts.stored = std::move(stored);
  return facts;
}

RunNoticeText::Facts Unread(int result) {
  RunNoticeText::Facts facts = FactsOf(result);
  facts.logRead = false;
  return facts;
}

RunNoticeText::Facts Odd(int result, int portNo, int speed) {
  RunNoticeText::Facts facts = FactsOf(result);
  facts.portNo = portNo;
  facts.speed = speed;
  return facts;
}

class NoticeText : public ::testing::TestWithParam<TextRow> {};

TEST_P(NoticeText, SaysWhatHappenedInOneLine) {
  const std::string text = RunNoticeText::Text(GetParam().facts);
  EXPECT_EQ(text, GetParam().text);
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NoticeText,
    ::testing::Values(
        TextRow{"received", Received({{"STOCK_20260315142530.txt", 300}, {"재고.TXT", std::nullopt}}),
                "데이터 수신 완료: STOCK_20260315142530.txt 300건, 재고.TXT 저장"},
        TextRow{"received many",
                Received({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}, {"F", 6}, {"G", 0}}),
                "데이터 수신 완료: A 1건, B 2건, C 3건, D 4건, E 5건 외 2개 파일 저장"},
        TextRow{"received nothing", Received({}), "데이터 수신 완료: 저장된 파일 없음"},
        TextRow{"received, log unread", Unread(VANTOR_RECEIVED),
                "데이터 수신 완료 (저장 내역은 로그에 있습니다: /home/shop/.local/state/Kelvane/Log/comm.log)"},
        TextRow{"sent", FactsOf(VANTOR_SENT), "마스터 파일 송신 완료"},
        TextRow{"sent, log unread", Unread(VANTOR_SENT), "마스터 파일 송신 완료"},
        TextRow{"sent after receiving", Received({{"ORDER.DAT", 3}}, VANTOR_SENT),
                "마스터 파일 송신 완료, 데이터 수신: ORDER.DAT 3건 저장"},
        TextRow{"error", FactsOf(VANTOR_ERROR),
                "송수신 에러: 통신 오류로 중단되었습니다. 로그: /home/shop/.local/state/Kelvane/Log/comm.log"},
        TextRow{"cancelled on the PC", FactsOf(VANTOR_USER_CANCEL),
                "송수신 중단: PC에서 취소했습니다. 로그: /home/shop/.local/state/Kelvane/Log/comm.log"},
        TextRow{"cancelled by the terminal", FactsOf(VANTOR_DEVICE_CANCEL),
                "송수신 중단: 단말기에서 취소했습니다. 로그: /home/shop/.local/state/Kelvane/Log/comm.log"},
        TextRow{"port", FactsOf(VANTOR_PORT_ERROR),
                "송수신 에러: 통신포트를 열 수 없습니다 (COM2). 로그: /home/shop/.local/state/Kelvane/Log/comm.log"},
        // Refused before the library starts its log: the value is named.
        TextRow{"recv dir", FactsOf(VANTOR_RECV_DIR_ERROR), "송수신 에러: Recv 디렉토리 설정에러 (/home/shop/recv)"},
        TextRow{"send dir", FactsOf(VANTOR_SEND_DIR_ERROR), "송수신 에러: Send 디렉토리 설정에러 (/home/shop/send)"},
        TextRow{"port number", Odd(VANTOR_PORT_NO_ERROR, 0, 19200), "송수신 에러: 통신포트 설정에러 (COM0)"},
        TextRow{"speed", Odd(VANTOR_SPEED_ERROR, 1, 12345), "송수신 에러: 통신속도 설정에러 (12345)"},
        TextRow{"unknown", FactsOf(0),
                "송수신 에러: 결과 코드 0. 로그: /home/shop/.local/state/Kelvane/Log/comm.log"}),
    [](const ::testing::TestParamInfo<TextRow>& param) {
      std::string name = param.param.name;
      for (char& c : name) {
        if (c == ' ' || c == ',') c = '_';
      }
      return name;
    });

// A receive folder and a log, laid out as the library leaves them.
class Notice : public ::testing::Test {
 protected:
  void SetUp() override {
    recv = U8Path(tmp.Make("recv"));
    log = U8Path(tmp.Make("work")) + FileOps::Separator() + "comm.log";
    gPortNo = 1;
    gBaudRate = 19200;
  }
  vantor::TransferArgs Args(bool append) const {
    // The chooser leaves a final separator.
    return TransferCommand::MakeArgs(recv + FileOps::Separator(), recv, append);
  }
  // The log of a run that stored the given files (name, record length).
  void WriteLog(const std::vector<std::pair<std::string, int>>& stored) const {
    std::vector<std::string> lines = {"Port Open", "Port Close", kParseStart};
    for (const auto& [name, length] : stored) lines.push_back(StoredPair(recv + FileOps::Separator(), name, length, 9));
    lines.push_back(kParseEnd);
    WriteBytes(log, LogLines(lines));
  }

  vtest::TempDir tmp{"rtk-notice"};
  std::string recv;
  std::string log;
  RecordingStore store;
  RecordingNotifier notifier;
};

TEST_F(Notice, AReceiveInAppendModeNamesTheFilesAndTheRecordsTheyGained) {
  WriteBytes(Join(recv, "ORDER.DAT"), Records('O', 4, 12));
  WriteBytes(Join(recv, "STOCK_20260315142529.txt"), Records('S', 50, 20));  // an earlier run's
  const RunNotice notice(store, Args(true), log);
  // The run: three files stored, one of them with a Korean name.
  WriteBytes(Join(recv, "STOCK.TXT"), Records('S', 3, 20));
  WriteBytes(Join(recv, "ORDER.DAT"), Records('O', 2, 12), true);
  WriteBytes(Join(recv, "재고.TXT"), Records('K', 1, 8));
  WriteLog({{"STOCK.TXT", 20}, {"ORDER.DAT", 12}, {kStockCp949 + ".TXT", 8}});
  StockFile::RenamedPaths stock;
  ASSERT_EQ(StockFile::RenameReceived(recv, {2026, 3, 15, 14, 25, 30, 0}, &stock), StockFile::Outcome::Renamed);
  notice.Send(notifier, VANTOR_RECEIVED, stock);
  ASSERT_EQ(notifier.shown.size(), 1u);
  EXPECT_EQ(notifier.shown[0].title, "RTKelvane");
  EXPECT_EQ(notifier.shown[0].text, "데이터 수신 완료: STOCK_20260315142530.txt 3건, ORDER.DAT 2건, 재고.TXT 1건 저장");
}

TEST_F(Notice, AReplacedFileCountsWhatItHoldsAndAStockFileNotRenamedKeepsItsName) {
  WriteBytes(Join(recv, "ORDER.DAT"), Records('O', 40, 12));
  const RunNotice notice(store, Args(false), log);
  WriteBytes(Join(recv, "ORDER.DAT"), Records('O', 2, 12));
  WriteBytes(Join(recv, "STOCK.TXT"), Records('S', 5, 20));
  WriteLog({{"ORDER.DAT", 12}, {"STOCK.TXT", 20}});
  const RunNoticeText::Facts facts = notice.Facts(VANTOR_RECEIVED, {});
  ASSERT_EQ(facts.stored.size(), 2u);
  EXPECT_EQ(facts.stored[0].name, "ORDER.DAT");
  EXPECT_EQ(facts.stored[0].records, 2);
  EXPECT_EQ(facts.stored[1].name, "STOCK.TXT");
  EXPECT_EQ(facts.stored[1].records, 5);
}

TEST_F(Notice, AFailureNamesTheLogAndAMissingLogIsSaid) {
  WriteLog({});
  const RunNotice notice(store, Args(false), log);
  notice.Send(notifier, VANTOR_USER_CANCEL, {});
  std::filesystem::remove(FsPath(log));
  notice.Send(notifier, VANTOR_RECEIVED, {});
  ASSERT_EQ(notifier.shown.size(), 2u);
  EXPECT_EQ(notifier.shown[0].text, "송수신 중단: PC에서 취소했습니다. 로그: " + log);
  EXPECT_EQ(notifier.shown[1].text, "데이터 수신 완료 (저장 내역은 로그에 있습니다: " + log + ")");
}

struct SettingRow {
  const char* value;  // nullptr: not stored
  bool on;
};

class NotifySetting : public Notice, public ::testing::WithParamInterface<SettingRow> {};

TEST_P(NotifySetting, ZeroTurnsTheNoticeOff) {
  if (GetParam().value != nullptr) store.values[VarDefine::kKeyNotify] = GetParam().value;
  WriteLog({});
  const RunNotice notice(store, Args(true), log);
  EXPECT_EQ(notice.Enabled(), GetParam().on);
  notice.Send(notifier, VANTOR_SENT, {});
  EXPECT_EQ(notifier.shown.size(), GetParam().on ? 1u : 0u);
  EXPECT_TRUE(store.writes.empty());  // the setting is only read
}

INSTANTIATE_TEST_SUITE_P(Rows, NotifySetting,
                         ::testing::Values(SettingRow{nullptr, true}, SettingRow{"1", true}, SettingRow{"", true},
                                           SettingRow{"yes", true}, SettingRow{"0", false}, SettingRow{" 0 ", false},
                                           SettingRow{"false", false}, SettingRow{"Off", false},
                                           SettingRow{"NO", false}));

TEST(FileOps, FilesInListsFilesWithTheirSizesOnly) {
  vtest::TempDir tmp{"rtk-files"};
  const std::string dir = U8Path(tmp.Path());
  WriteBytes(Join(dir, "A.TXT"), "12345");
  WriteBytes(Join(dir, "재고.TXT"), "");
  ASSERT_TRUE(FileOps::MakeDir(Join(dir, "SUB")));
  std::vector<std::pair<std::string, std::int64_t>> found;
  for (const FileOps::FileEntry& entry : FileOps::FilesIn(dir)) found.emplace_back(entry.name, entry.size);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<std::string, std::int64_t>>{{"A.TXT", 5}, {"재고.TXT", 0}}));
  EXPECT_TRUE(FileOps::FilesIn(Join(dir, "missing")).empty());
  EXPECT_EQ(FileOps::SizeOf(Join(dir, "A.TXT")), 5);
  EXPECT_EQ(FileOps::SizeOf(Join(dir, "SUB")), std::nullopt);
  EXPECT_EQ(FileOps::ReadAll(Join(dir, "A.TXT")), std::optional<std::string>("12345"));
  EXPECT_EQ(FileOps::ReadAll(Join(dir, "missing")), std::nullopt);
  // Names match as the platform's file system matches them.
  EXPECT_EQ(FileOps::SameEntryName("stock.txt", "STOCK.TXT"), FileOps::Separator() == '\\');
  EXPECT_TRUE(FileOps::SameEntryName("재고.TXT", "재고.TXT"));
}

}  // namespace
