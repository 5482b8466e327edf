// The transfer dialog's logic: start, cancel, the driver and the end of a run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "control_ids.h"
#include "fakes.h"
#include "frame.h"
#include "run_transfer.h"
#include "test_terminal.h"
#include "transfer_dlg.h"

namespace {

using namespace vantor;
using vtest::TestTerminal;

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ::mkdir(m_cwd.Path("recv").c_str(), 0777);
    ::mkdir(m_cwd.Path("send").c_str(), 0777);
  }
  TransferArgs Params(int append = 0, const std::string& user = "") {
    TransferArgs p;
    p.appendMode = append;
    p.speed = 19200;
    p.portNo = 1;
    p.recvDir = m_cwd.Path("recv/");
    p.sendDir = m_cwd.Path("send/");
    p.userData = user;
    return p;
  }
  // Adds a step that hands a frame to the dialog as the watch thread would.
  void Frame(const std::string& f) {
    m_window.steps.push_back([this, f](CDialogEvents&) {
      m_dlg->m_serial.StoreReceived(reinterpret_cast<const std::uint8_t*>(f.data()), static_cast<int>(f.size()));
      m_dlg->OnCommRecv();
    });
  }
  int Run(TransferArgs p) {
    CTransferDlg dlg(m_window, m_line, m_clock, std::move(p));
    m_dlg = &dlg;
    const int code = dlg.DoModal();
    m_dlg = nullptr;
    return code;
  }
  std::string Log() const { return vtest::ReadFile(m_cwd.Path("Log/comm.log")); }
  std::string Recv(const std::string& n) const { return m_cwd.Path("recv/" + n); }

  vtest::TempCwd m_cwd;
  vtest::ScriptWindow m_window;
  vtest::FakeLine m_line;
  vtest::FakeClock m_clock;
  CTransferDlg* m_dlg = nullptr;
};

TEST_F(Dialog, PortThatCannotBeOpenedEndsWithMinusFour) {
  m_line.failOpen = true;
  vtest::WriteFile(Recv("X.Tmp"), "partial");
  EXPECT_EQ(Run(Params()), -4);
  // The entry after "Port Open Error..." names the port and the line's reason.
  EXPECT_EQ(Log(), "Port Open Error...\r\nCOM1: no such device\r\nCom open error\r\nSendDir = [" + m_cwd.Path("send/") +
                       "]\r\nRecvDir = [" + m_cwd.Path("recv/") + "]\r\n");
  EXPECT_FALSE(vtest::Exists(Recv("X.Tmp")));
}

TEST_F(Dialog, StartClearsTheLogAndTheListAndWritesTheUserData) {
  ::mkdir(m_cwd.Path("Log").c_str(), 0777);
  vtest::WriteFile(m_cwd.Path("Log/comm.log"), "previous transfer\r\n");
  vtest::WriteFile(Recv("COMMLIST.LST"), "old list");
  vtest::WriteFile(m_cwd.Path("send/USERDEF.INI"), "something longer");
  m_window.steps.push_back([](CDialogEvents& e) { e.OnCancel(); });
  Run(Params(0, "abc"));
  EXPECT_EQ(Log().find("previous"), std::string::npos);
  EXPECT_EQ(Log().rfind("Port Open\r\nSendDir = [", 0), 0u);
  EXPECT_FALSE(vtest::Exists(Recv("COMMLIST.LST")));
  EXPECT_EQ(vtest::ReadFile(m_cwd.Path("send/USERDEF.INI")), "abc");
  EXPECT_EQ(m_line.openedPort, "COM1");
  EXPECT_EQ(m_line.openedSpeed, 19200);
}

TEST_F(Dialog, EmptyUserDataLeavesUserDefAlone) {
  vtest::WriteFile(m_cwd.Path("send/USERDEF.INI"), "kept");
  m_window.steps.push_back([](CDialogEvents& e) { e.OnCancel(); });
  Run(Params());
  EXPECT_EQ(vtest::ReadFile(m_cwd.Path("send/USERDEF.INI")), "kept");
}

TEST_F(Dialog, CancelWritesFiveRunsPausesAndEndsWithMinusTwo) {
  vtest::WriteFile(Recv("A.TXT.Tmp"), "partial");
  m_window.steps.push_back([](CDialogEvents& e) { e.OnCancel(); });
  EXPECT_EQ(Run(Params()), -2);
  ASSERT_EQ(m_line.writes.size(), 5u);
  for (const std::string& w : m_line.writes) EXPECT_EQ(w, std::string(1024, static_cast<char>(CAN)));
  EXPECT_EQ(m_clock.sleeps, (std::vector<int>{100, 50, 100, 50, 100, 50, 100, 50, 100, 50, 1000}));
  EXPECT_EQ(m_window.texts[IDC_STATUS].back(), "\xBB\xE7\xBF\xEB\xC0\xDA \xC1\xDF\xB4\xDC...");  // 사용자 중단...
  EXPECT_NE(Log().find("User Cancel\r\nPort Close\r\n"), std::string::npos);
  EXPECT_TRUE(m_line.closed);
}

TEST_F(Dialog, CancelRunHasTheLengthOfTheFrameExpected) {
  Frame(TestTerminal::Enq('1', "0000000010", "A:"));
  Frame(TestTerminal::Soh('1', 100, 10, "A"));
  m_window.steps.push_back([](CDialogEvents& e) { e.OnCancel(); });
  EXPECT_EQ(Run(Params()), -2);
  EXPECT_EQ(m_line.writes.back(), std::string(108, static_cast<char>(CAN)));
}

TEST_F(Dialog, TerminalCancelEndsWithMinusThree) {
  Frame(TestTerminal::Enq('1', "0000000010", "A:"));
  Frame(std::string(1, static_cast<char>(CAN)));
  EXPECT_EQ(Run(Params()), -3);
  EXPECT_EQ(m_window.texts[IDC_STATUS].back(), "\xBC\xDB\xBC\xF6\xBD\xC5 \xC3\xEB\xBC\xD2...");  // 송수신 취소...
  EXPECT_NE(Log().find("Device Transfer Cancel...\r\nDevice Cancel\r\nPort Close\r\n"), std::string::npos);
}

TEST_F(Dialog, ReplaceModeSwapsTheDataFileOnlyAtASuccessfulEnd) {
  vtest::WriteFile(Recv("A.TXT"), "OLD\r\n");
  Frame(TestTerminal::Enq('1', "0000000005", "A.TXT:"));
  Frame(TestTerminal::Soh('1', 10, 5, "A.TXT"));
  Frame(TestTerminal::Data(ETB, 1, "NEW\r\n", 10));
  m_window.steps.push_back([this](CDialogEvents&) { EXPECT_EQ(vtest::ReadFile(Recv("A.TXT")), "OLD\r\n"); });
  Frame(TestTerminal::Data(FS, 2, "", 10));
  Frame(TestTerminal::Eot());
  EXPECT_EQ(Run(Params()), 1);
  EXPECT_EQ(vtest::ReadFile(Recv("A.TXT")), "NEW\r\n");
  const std::string log = Log();
  EXPECT_LT(log.find("Data Recv Success!"), log.find("Port Close"));
  EXPECT_LT(log.find("Port Close"), log.find("Parsing Start!"));
}

// Data the terminal was told is stored but that could not reach its data
// file is no success: the run ends with -1, and the operator is told where
// the data is (a message, standard error, the log).
TEST_F(Dialog, DataThatCannotBeStoredAfterTheAnswerEndsWithMinusOneAndAMessage) {
  ::mkdir(Recv("A.TXT").c_str(), 0777);  // a directory in the data file's way
  Frame(TestTerminal::Enq('1', "0000000005", "A.TXT:"));
  Frame(TestTerminal::Soh('1', 10, 5, "A.TXT"));
  Frame(TestTerminal::Data(ETB, 1, "NEW\r\n", 10));
  Frame(TestTerminal::Data(FS, 2, "", 10));
  Frame(TestTerminal::Eot());
  EXPECT_EQ(Run(Params()), -1);
  EXPECT_EQ(vtest::ReadFile(Recv("A.TXT.Tmp.unsaved")), "NEW\r\n");
  ASSERT_EQ(m_window.logFailures.size(), 1u);
  EXPECT_NE(m_window.logFailures[0].find("Tmp.unsaved"), std::string::npos) << m_window.logFailures[0];
  const std::string log = Log();
  EXPECT_LT(log.find("Data Recv Success!"), log.find("Transfer error"));
}

TEST_F(Dialog, SendingAfterReceivingStillStoresTheReceivedFiles) {
  vtest::WriteFile(m_cwd.Path("send/M.TXT"), "MASTER");
  Frame(TestTerminal::Enq('1', "0000000005", "A.TXT:"));
  Frame(TestTerminal::Soh('1', 10, 5, "A.TXT"));
  Frame(TestTerminal::Data(ETB, 1, "NEW\r\n", 10));
  Frame(TestTerminal::Data(FS, 2, "", 10));
  Frame(TestTerminal::Soh('2', 0, 0, "M.TXT"));
  Frame(TestTerminal::Request(1));
  Frame(TestTerminal::Request(0, FS));
  Frame(TestTerminal::Eot());
  EXPECT_EQ(Run(Params()), 2);
  EXPECT_EQ(vtest::ReadFile(Recv("A.TXT")), "NEW\r\n");
  EXPECT_FALSE(vtest::Exists(Recv("A.TXT.Tmp")));
}

TEST_F(Dialog, PureSendRunLeavesTheReceiveDirectoryAlone) {
  vtest::WriteFile(m_cwd.Path("send/M.TXT"), "MASTER");
  Frame(TestTerminal::Enq('2', "0000000000", "M.TXT:"));
  Frame(TestTerminal::Soh('2', 0, 0, "M.TXT"));
  Frame(TestTerminal::Request(1));
  Frame(TestTerminal::Request(0, FS));
  Frame(TestTerminal::Eot());
  EXPECT_EQ(Run(Params()), 2);
  EXPECT_EQ(Log().find("Parsing"), std::string::npos);
}

TEST_F(Dialog, HeaderPhaseUpdatesNameAndBarsEvenAtTheEnd) {
  vtest::WriteFile(m_cwd.Path("send/M.TXT"), std::string(300, 'm'));
  Frame(TestTerminal::Enq('2', "0000000000", "M.TXT:"));
  Frame(TestTerminal::Soh('2', 0, 0, "M.TXT"));
  m_window.steps.push_back([this](CDialogEvents&) {
    EXPECT_EQ(m_window.texts[IDC_FILE_NAME].back(), "M.TXT");
    // The file's count starts anew with its name.
    ASSERT_FALSE(m_window.texts[IDC_FILE_COUNT].empty());
    EXPECT_EQ(m_window.texts[IDC_FILE_COUNT].back(), "0/300");
    EXPECT_EQ(m_window.bars[IDC_PROGRESS_TOTAL].high, 300);
    EXPECT_EQ(m_window.bars[IDC_PROGRESS_FILE].high, 300);
  });
  Frame(TestTerminal::Request(1));
  m_window.steps.push_back([this](CDialogEvents&) {
    EXPECT_EQ(m_window.bars[IDC_PROGRESS_FILE].pos, 300);
    EXPECT_EQ(m_window.texts[IDC_TOTAL_COUNT].back(), "300/300");
  });
  Frame(TestTerminal::Request(0, FS));
  Frame(TestTerminal::Eot());
  EXPECT_EQ(Run(Params()), 2);
  // The EOT step still set the name and reset the file bar once.
  EXPECT_EQ(m_window.bars[IDC_PROGRESS_FILE].pos, 0);
  EXPECT_EQ(m_window.texts[IDC_FILE_NAME].size(), 2u);  // the SOH and the EOT
}

TEST_F(Dialog, DataArrivingAfterTheEndStartsNothing) {
  m_window.steps.push_back([this](CDialogEvents& e) {
    e.OnCancel();
    const std::size_t writes = m_line.writes.size();
    const std::string enq = TestTerminal::Enq('1', "0000000000", "A:");
    m_dlg->m_serial.StoreReceived(reinterpret_cast<const std::uint8_t*>(enq.data()), static_cast<int>(enq.size()));
    m_dlg->OnCommRecv();
    e.OnCancel();
    EXPECT_EQ(m_line.writes.size(), writes);
  });
  EXPECT_EQ(Run(Params()), -2);
  EXPECT_EQ(m_window.code, -2);
}

TEST_F(Dialog, ProgressBarsKeepTheirPositionWithinTheRange) {
  m_window.steps.push_back([this](CDialogEvents& e) {
    m_dlg->SetRange32(IDC_PROGRESS_FILE, 0, 100);
    m_dlg->SetPos(IDC_PROGRESS_FILE, 250);
    EXPECT_EQ(m_dlg->GetPos(IDC_PROGRESS_FILE), 100);
    m_dlg->SetRange32(IDC_PROGRESS_FILE, 0, 40);
    EXPECT_EQ(m_dlg->GetPos(IDC_PROGRESS_FILE), 40);
    m_dlg->SetPos(IDC_PROGRESS_FILE, -5);
    EXPECT_EQ(m_dlg->GetPos(IDC_PROGRESS_FILE), 0);
    e.OnCancel();
  });
  Run(Params());
}

TEST(CheckArgs, PortFirstThenSpeedThenDirectories) {
  vtest::TempCwd cwd;
  ::mkdir(cwd.Path("d").c_str(), 0777);
  vtest::WriteFile(cwd.Path("f"), "x");
  const std::string d = cwd.Path("d");
  struct Row {
    int port, speed;
    std::string recv, send;
    int expected;
  };
  const Row rows[] = {
      {0, 9600, d, d, -13},  {5, 9600, d, d, -13},         {-1, 1, d, d, -13},
      {4, 4800, d, d, -14},  {1, 2400, d, d, -14},         {1, 230400, d, d, -14},
      {1, 9600, "", d, -11}, {1, 9600, d + "/no", d, -11}, {1, 9600, cwd.Path("f"), d, -11},
      {1, 9600, d, "", -12}, {1, 9600, d, d + "/no", -12}, {1, 9600, d, d, 0},
      {4, 256000, d, d, 0},
  };
  for (const Row& r : rows) {
    TransferArgs a{r.recv, r.send, r.port, r.speed, 0, ""};
    EXPECT_EQ(CheckArgs(a), r.expected) << r.port << " " << r.speed << " " << r.recv << " " << r.send;
  }
  for (int speed : {9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000}) {
    EXPECT_EQ(CheckArgs({d, d, 1, speed, 0, ""}), 0) << speed;
  }
}

TEST(CheckArgs, RejectedCallTouchesNothing) {
  vtest::TempCwd cwd;
  ::mkdir(cwd.Path("Log").c_str(), 0777);
  vtest::WriteFile(cwd.Path("Log/comm.log"), "last transfer\r\n");
  vtest::ScriptWindow window;
  vtest::FakeLine line;
  vtest::FakeClock clock;
  EXPECT_EQ(RunTransfer({cwd.Path(), cwd.Path(), 9, 9600, 0, "abc"}, window, line, clock), -13);
  EXPECT_EQ(vtest::ReadFile(cwd.Path("Log/comm.log")), "last transfer\r\n");
  EXPECT_FALSE(vtest::Exists(cwd.Path("USERDEF.INI")));
  EXPECT_TRUE(line.openedPort.empty());
}

TEST(WithSeparator, AddsOneSlashOnlyWhenMissing) {
  EXPECT_EQ(WithSeparator("/data/recv"), "/data/recv/");
  EXPECT_EQ(WithSeparator("/data/recv/"), "/data/recv/");
  EXPECT_EQ(WithSeparator(""), "");
}

}  // namespace
