// The protocol steps against a fake line and a recording dialog.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "control_ids.h"
#include "fakes.h"
#include "frame.h"
#include "serial_port.h"
#include "serial_port_probe.h"
#include "test_terminal.h"

namespace {

using namespace vantor;
using vtest::TestTerminal;

class Steps : public ::testing::Test {
 protected:
  void SetUp() override {
    ::mkdir(m_cwd.Path("recv").c_str(), 0777);
    ::mkdir(m_cwd.Path("send").c_str(), 0777);
    m_port.m_hWndNotify = &m_view;
    m_port.m_strRecvDir = m_cwd.Path("recv/");
    m_port.m_strSendDir = m_cwd.Path("send/");
  }
  void Feed(const std::string& frame) {
    m_port.StoreReceived(reinterpret_cast<const std::uint8_t*>(frame.data()), static_cast<int>(frame.size()));
  }
  // Feeds a frame to the step of the current phase, as the driver does.
  int Step(const std::string& frame) {
    Feed(frame);
    return m_port.ProcessFrame();
  }
  std::string LastWrite() const { return m_line.writes.empty() ? "" : m_line.writes.back(); }
  std::string Log() const { return vtest::ReadFile(m_cwd.Path("Log/comm.log")); }
  std::string Recv(const std::string& n) const { return m_cwd.Path("recv/" + n); }
  std::string Send(const std::string& n) const { return m_cwd.Path("send/" + n); }

  vtest::TempCwd m_cwd;
  vtest::FakeLine m_line;
  vtest::FakeClock m_clock;
  vtest::RecordingNotify m_view;
  CSerialPort m_port{m_line, m_clock};
  vtest::SerialPortProbe m_state{m_port};
};

TEST_F(Steps, EveryWriteIsPrecededByAPurgeAndAPauseAndClearsTheReceiveBuffer) {
  Feed("garbage");
  m_port.SendData(std::string("\x02\x06"));
  EXPECT_EQ(m_line.purges, 1);
  EXPECT_EQ(m_clock.sleeps, std::vector<int>{50});
  for (std::uint8_t b : m_state.m_recvBuf) ASSERT_EQ(b, 0);
  EXPECT_EQ(Log(), "SendData = [\x02\x06]\r\n");
}

TEST_F(Steps, EnqInReceiveDirectionListsNamesAndEchoesTheSize) {
  ASSERT_EQ(Step(TestTerminal::Enq('1', "12AB567890", "A.TXT:B.TXT:ignored")), 1);
  EXPECT_EQ(vtest::ReadFile(Recv("COMMINFO.INI")), "A.TXT\r\nB.TXT\r\n");
  // The ten size characters go back exactly as received, digits or not.
  EXPECT_EQ(LastWrite(), BuildEnqAnswer("12AB567890"));
  EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  EXPECT_EQ(m_state.m_nReadLen, 1024);
  EXPECT_EQ(m_state.m_nDirection, 1);
  EXPECT_EQ(m_view.text[IDC_STATUS], "\xC7\xEC\xB4\xF5 \xBC\xF6\xBD\xC5...");  // 헤더 수신...
  const std::string log = Log();
  EXPECT_EQ(log.find("Recv"), std::string::npos);
  EXPECT_NE(log.find("ENQ \xC7\xEC\xB4\xF5 \xBC\xF6\xBD\xC5...\r\nThe time is "), std::string::npos);
}

TEST_F(Steps, EnqInSendDirectionAddsTheListedFilesToTheTotal) {
  vtest::WriteFile(Send("A.TXT"), std::string(1500, 'a'));
  vtest::WriteFile(Send("B.TXT"), std::string(500, 'b'));
  vtest::WriteFile(Send("COMMINFO.INI"), "old content");
  Step(TestTerminal::Enq('2', "0000000100", "A.TXT::B.TXT:../A.TXT:"));
  // 100 from the request, plus 2000; the empty and the hostile name add nothing.
  EXPECT_EQ(LastWrite(), BuildEnqAnswer("0000002100"));
  EXPECT_EQ(vtest::ReadFile(Send("COMMINFO.INI")), "A.TXT\r\n\r\nB.TXT\r\n../A.TXT\r\n");
}

TEST_F(Steps, EnqListWithoutColonLeavesNoInfoFile) {
  vtest::WriteFile(Send("COMMINFO.INI"), "old");
  Step(TestTerminal::Enq('2', "0000000777", "NOCOLON"));
  EXPECT_FALSE(vtest::Exists(Send("COMMINFO.INI")));
  EXPECT_EQ(LastWrite(), BuildEnqAnswer("0000000777"));
}

TEST_F(Steps, FaultyHeadersGetTheNegativeAnswerUntilTheRetryLimit) {
  std::string bad = TestTerminal::Enq('1', "0000000000", "A:");
  bad[1023] = 'x';
  for (int i = 1; i <= 10; ++i) {
    ASSERT_EQ(Step(bad), 1);
    EXPECT_EQ(LastWrite(), BuildNegativeAnswer());
    EXPECT_EQ(m_state.m_nRetry, i);
  }
  const std::size_t writes = m_line.writes.size();
  EXPECT_EQ(Step(TestTerminal::Enq('1', "0000000000", "A:")), 0);
  EXPECT_EQ(m_state.m_nResult, -1);
  EXPECT_EQ(m_line.writes.size(), writes);  // the frame is not looked at
  EXPECT_EQ(m_view.text[IDC_STATUS], "\xC0\xDF\xB8\xF8\xB5\xC8 ENQ \xC7\xEC\xB4\xF5 \xBC\xF6\xBD\xC5...");
}

TEST_F(Steps, SohToReceiveAnswersAndListsButKeepsTheOldDataFile) {
  m_state.m_nState = PHASE_SOH;
  vtest::WriteFile(Recv("STOCK.TXT"), "OLD");
  ASSERT_EQ(Step(TestTerminal::Soh('1', 512, 9000, "STOCK.TXT   ")), 1);
  EXPECT_EQ(LastWrite(), BuildSohAnswer("0512", "0000009000", "STOCK.TXT"));
  EXPECT_EQ(m_state.m_nState, PHASE_RECV);
  EXPECT_EQ(m_state.m_nReadLen, 520);
  EXPECT_EQ(m_state.m_strFileName, "STOCK.TXT");
  EXPECT_EQ(vtest::ReadFile(Recv("STOCK.TXT")), "OLD");  // removed only when the run succeeds
  EXPECT_EQ(m_state.m_announced.count(Recv("STOCK.TXT")), 1u);
  EXPECT_EQ(vtest::ReadFile(Recv("COMMLIST.LST")), Recv("STOCK.TXT") + "\r\n");
}

TEST_F(Steps, SohToSendAnnouncesTheFileLengthAndBlockSize) {
  m_state.m_nState = PHASE_SOH;
  vtest::WriteFile(Send("M.TXT"), std::string(9000, 'm'));
  Step(TestTerminal::Soh('2', 0, 0, "M.TXT"));
  EXPECT_EQ(LastWrite(), BuildSohAnswer("4000", "0000009000", "M.TXT"));
  EXPECT_EQ(m_state.m_nFileSize, 9000);
  EXPECT_EQ(m_state.m_nState, PHASE_SEND);
  EXPECT_EQ(m_state.m_nReadLen, 10);
  Step(TestTerminal::Request(0, FS));
  Step(TestTerminal::Soh('2', 0, 0, "MISSING.TXT"));
  EXPECT_EQ(LastWrite(), BuildSohAnswer("4000", "0000000000", "MISSING.TXT"));
}

TEST_F(Steps, SohWithAnUnsafeNameIsAFaultyHeader) {
  for (const char* name : {"../x", "a/b", "a\\b", "c:x", "..", ".", ""}) {
    m_state.m_nState = PHASE_SOH;
    m_state.m_nRetry = 0;
    Step(TestTerminal::Soh('1', 100, 10, name));
    EXPECT_EQ(LastWrite(), BuildNegativeAnswer()) << name;
    EXPECT_EQ(m_state.m_nRetry, 1) << name;
    EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  }
  EXPECT_NE(Log().find("SOH Header Fault."), std::string::npos);
  EXPECT_FALSE(vtest::Exists(Recv("COMMLIST.LST")));
}

TEST_F(Steps, EotIsAnsweredFiveTimesAndEndsWithTheLastDirection) {
  m_state.m_nState = PHASE_SOH;
  m_state.m_nDirection = 2;
  EXPECT_EQ(Step(TestTerminal::Eot()), 0);
  EXPECT_EQ(m_state.m_nResult, 2);
  ASSERT_EQ(m_line.writes.size(), 5u);
  for (const std::string& w : m_line.writes) EXPECT_EQ(w, BuildEndAnswer());
  EXPECT_EQ(m_clock.sleeps, (std::vector<int>{100, 50, 100, 50, 100, 50, 100, 50, 100, 50}));
  EXPECT_NE(Log().find("EOT\r\n"), std::string::npos);
  EXPECT_NE(Log().find("EOT Send Len = [10]\r\n"), std::string::npos);
}

// The first end answer tells the terminal it may erase its data: it follows
// the commit of the received data, and a commit that failed gives none.
TEST_F(Steps, EotIsAnsweredOnlyAfterTheReceivedDataIsCommitted) {
  for (const bool committed : {true, false}) {
    SCOPED_TRACE(committed ? "committed" : "commit failed");
    m_line.writes.clear();
    m_state.m_nState = PHASE_SOH;
    m_state.m_nDirection = 1;
    std::size_t writesAtCommit = 99;
    m_view.commit = [&] {
      writesAtCommit = m_line.writes.size();
      return committed;
    };
    EXPECT_EQ(Step(TestTerminal::Eot()), 0);
    EXPECT_EQ(writesAtCommit, 0u);
    EXPECT_EQ(m_line.writes.size(), committed ? 5u : 0u);
    EXPECT_EQ(m_state.m_nResult, committed ? 1 : -1);
  }
}

TEST_F(Steps, EotLogsWhatTheLastWriteReturned) {
  m_state.m_nState = PHASE_SOH;
  m_state.m_nDirection = 1;
  m_line.writeResult = 0;  // a write that did not complete in time
  Step(TestTerminal::Eot());
  EXPECT_EQ(m_state.m_nResult, 1);
  EXPECT_NE(Log().find("EOT Send Len = [0]\r\n"), std::string::npos);
}

class SendSteps : public Steps {
 protected:
  void Open(const std::string& data) {
    vtest::WriteFile(Send("F.TXT"), data);
    m_state.m_nState = PHASE_SOH;
    Step(TestTerminal::Soh('2', 0, 0, "F.TXT"));
  }
};

TEST_F(SendSteps, BlocksFollowTheFileAndAnFsFrameComesPastItsEnd) {
  std::string data(9000, 'x');
  data[4000] = 'y';
  Open(data);
  Step(TestTerminal::Request(1));
  EXPECT_EQ(LastWrite(), BuildDataFrame(STX, "00001", data.substr(0, 4000), 4000, RS));
  Step(TestTerminal::Request(2));
  EXPECT_EQ(LastWrite(), BuildDataFrame(STX, "00002", data.substr(4000, 4000), 4000, RS));
  Step(TestTerminal::Request(3));
  EXPECT_EQ(LastWrite(), BuildDataFrame(ETB, "00003", data.substr(8000), 4000, RS));
  Step(TestTerminal::Request(4));
  EXPECT_EQ(LastWrite(), BuildDataFrame(FS, "00000", std::string(4000, ' '), 4000, ' '));
  EXPECT_EQ(m_view.text[IDC_FILE_COUNT], "9000/9000");
  const std::size_t writes = m_line.writes.size();
  Step(TestTerminal::Request(5, FS));
  EXPECT_EQ(m_line.writes.size(), writes);  // the end-of-file request is not answered
  EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  EXPECT_EQ(m_state.m_nReadLen, 1024);
}

TEST_F(SendSteps, AFileContainingNulIsSentUpToTheNulOfEachBlock) {
  std::string data(4000, 'a');
  data[10] = '\0';
  data += "tail";
  Open(data);
  Step(TestTerminal::Request(1));
  EXPECT_EQ(LastWrite(), BuildDataFrame(ETB, "00001", data.substr(0, 10), 4000, RS));
  Step(TestTerminal::Request(2));
  EXPECT_EQ(LastWrite(), BuildDataFrame(ETB, "00002", "tail", 4000, RS));
}

TEST_F(SendSteps, EmptyFileAnswersTheFirstRequestWithFs) {
  Open("");
  Step(TestTerminal::Request(1));
  EXPECT_EQ(LastWrite()[0], static_cast<char>(FS));
  EXPECT_EQ(LastWrite().substr(1, 5), "00000");
}

TEST_F(SendSteps, AFaultyRequestRepeatsTheLastFrame) {
  Open(std::string(100, 'q'));
  const std::string header = LastWrite();
  std::string nak = TestTerminal::Request(1);
  nak[1] = static_cast<char>(NAK);
  Step(nak);
  EXPECT_EQ(LastWrite(), header);
  Step(TestTerminal::Request(1));
  const std::string frame = LastWrite();
  Step("\x02\x06" "00002 zz");  // short and without its trailer
  EXPECT_EQ(LastWrite(), frame);
  EXPECT_EQ(m_state.m_nRetry, 1);
  EXPECT_EQ(m_view.text[IDC_STATUS], "\xC0\xDF\xB8\xF8\xB5\xC8 \xB5\xA5\xC0\xCC\xC5\xCD \xBC\xF6\xBD\xC5...");
}

TEST_F(SendSteps, ProgressCountsEveryBlockServed) {
  m_state.m_nTotalSize = 5000;
  Open(std::string(5000, 'p'));
  m_view.SetPos(IDC_PROGRESS_TOTAL, 0);
  Step(TestTerminal::Request(1));
  Step(TestTerminal::Request(1));  // asked twice, counted twice
  EXPECT_EQ(m_view.text[IDC_TOTAL_COUNT], "8000/5000");
  EXPECT_EQ(m_view.text[IDC_FILE_COUNT], "8000/5000");
}

class RecvSteps : public Steps {
 protected:
  void Open(int blockSize) {
    m_state.m_nState = PHASE_SOH;
    Step(TestTerminal::Soh('1', blockSize, 0, "R.TXT"));
    m_blockSize = blockSize;
  }
  std::string Frame(unsigned char lead, long n, const std::string& data) {
    return TestTerminal::Data(lead, n, data, m_blockSize);
  }
  std::string Tmp() const { return vtest::ReadFile(Recv("R.TXT.Tmp")); }
  int m_blockSize = 0;
};

TEST_F(RecvSteps, FramesAreStoredAndAcknowledgedWithTheNextNumber) {
  Open(8);
  Step(Frame(STX, 1, "ABCDEFGH"));
  EXPECT_EQ(LastWrite(), BuildBlockAck(2, STX));
  Step(Frame(ETB, 2, "IJ"));
  EXPECT_EQ(LastWrite(), BuildBlockAck(3, ETB));
  Step(Frame(FS, 3, ""));
  EXPECT_EQ(LastWrite(), BuildBlockAck(4, FS));
  EXPECT_EQ(Tmp(), "ABCDEFGHIJ");
  EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  EXPECT_EQ(m_view.text[IDC_FILE_COUNT], "10/0");  // beyond the announced size
  EXPECT_EQ(m_view.text[IDC_STATUS], "HHT -> PC\xB7\xCE \xC0\xFC\xBC\xDB\xC1\xDF...");
}

TEST_F(RecvSteps, DataEndsAtNulAndEtbWithoutRsIsKeptWhole) {
  Open(6);
  Step(Frame(STX, 1, std::string("AB\0CDE", 6)));
  Step(Frame(ETB, 2, "FGHIJK"));
  Step(Frame(STX, 3, std::string("\0\0\0\0\0\0", 6)));
  EXPECT_EQ(Tmp(), "ABFGHIJK");
}

TEST_F(RecvSteps, NegativeAcknowledgementRepeatsTheLastFrameSent) {
  Open(4);
  const std::string header = LastWrite();
  std::string broken = Frame(STX, 1, "WXYZ");
  broken[10] = 'x';  // wrong check character
  Step(broken);
  std::string expected = header.substr(0, 10);
  expected[1] = static_cast<char>(NAK);
  EXPECT_EQ(LastWrite(), expected);
  EXPECT_FALSE(vtest::Exists(Recv("R.TXT.Tmp")));
  Step(Frame(STX, 1, "WXYZ"));
  Step(broken);
  expected = BuildBlockAck(2, STX);
  expected[1] = static_cast<char>(NAK);
  EXPECT_EQ(LastWrite(), expected);
  EXPECT_NE(Log().find("Data Header Fault."), std::string::npos);
}

TEST_F(RecvSteps, OnlyTheSameBlockWithTheSameDataCountsAsARepeat) {
  Open(4);
  Step(Frame(STX, 1, "AAAA"));
  Step(Frame(STX, 1, "AAAA"));  // acknowledgement lost: stored once
  EXPECT_EQ(LastWrite(), BuildBlockAck(2, STX));
  Step(Frame(STX, 1, "BBBB"));  // same number, other data: stored
  Step(Frame(STX, 2, "BBBB"));  // other number, same data: stored
  EXPECT_EQ(Tmp(), "AAAABBBBBBBB");
  EXPECT_EQ(m_view.text[IDC_FILE_COUNT], "12/0");
}

TEST_F(RecvSteps, ABlockThatCannotBeStoredIsRefused) {
  Open(4);
  ::mkdir(Recv("R.TXT.Tmp").c_str(), 0777);
  Step(Frame(STX, 1, "AAAA"));
  EXPECT_EQ(LastWrite()[1], static_cast<char>(NAK));
  EXPECT_EQ(m_state.m_nRetry, 1);
  EXPECT_NE(Log().find("File Write Error"), std::string::npos);
}

}  // namespace
