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
  // Feeds bytes as the watch thread reads them: in pieces of the length the
  // phase asks for, the last one shorter (its read ended on the time-out).
  // An answer written in between purges what had not been read yet.
  int Arrive(const std::string& bytes) {
    int rc = 1;
    for (std::size_t at = 0; at < bytes.size() && rc == 1;) {
      const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(m_state.m_nReadLen), bytes.size() - at);
      const std::size_t writes = m_line.writes.size();
      rc = Step(bytes.substr(at, n));
      at = m_line.writes.size() == writes ? at + n : bytes.size();
    }
    return rc;
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

TEST_F(Steps, AReadHasAnIntervalTimeOutAndNeverRunsOnAQuietLine) {
  std::array<std::uint8_t, kBufSize> buf{};
  EXPECT_EQ(m_port.ReadData(buf.data(), 1024), 0);
  EXPECT_TRUE(m_line.readTimeouts.empty());  // nothing queued: no read at all
  m_line.Arrive(
      std::string("\x05"
                  "abc"));
  EXPECT_EQ(m_port.ReadData(buf.data(), 1024), 4);
  m_line.Arrive(std::string(4008, 'x'));
  EXPECT_EQ(m_port.ReadData(buf.data(), 4008), 4008);
  // 1 s after the last byte, whatever the length asked for (not 1 s per byte).
  EXPECT_EQ(m_line.readTimeouts, (std::vector<int>{1000, 1000}));
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

TEST_F(Steps, AnOpeningRequestSentAgainIsAnsweredAgainAndNotActedOnTwice) {
  const std::string enq = TestTerminal::Enq('1', "0000000123", "A.TXT:");
  ASSERT_EQ(Step(enq), 1);
  const std::string answer = LastWrite();
  vtest::WriteFile(Recv("COMMINFO.INI"), "marker");
  for (int again = 0; again < kRetryLimit + 2; ++again) {
    ASSERT_EQ(Arrive(enq), 1);
    EXPECT_EQ(LastWrite(), answer) << again;
    EXPECT_EQ(m_state.m_nRetry, 0);
  }
  EXPECT_EQ(vtest::ReadFile(Recv("COMMINFO.INI")), "marker");  // the request is not acted on again
  EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  EXPECT_EQ(m_state.m_nReadLen, 1024);
  EXPECT_EQ(Log().find("SOH Header Fault."), std::string::npos);
  EXPECT_NE(Log().find("Header Repeated."), std::string::npos);
  // Another request is a faulty header, as before; the first one, after it, is
  // still the repeat of what was answered, and leaves the fault count alone.
  Step(TestTerminal::Enq('1', "0000000124", "A.TXT:"));
  EXPECT_EQ(LastWrite(), BuildNegativeAnswer());
  EXPECT_EQ(m_state.m_nRetry, 1);
  Arrive(enq);
  EXPECT_EQ(LastWrite(), answer);
  EXPECT_EQ(m_state.m_nRetry, 1);
  // Once a file header has been answered, the request is a faulty header again.
  ASSERT_EQ(Step(TestTerminal::Soh('2', 0, 0, "A.TXT")), 1);
  Step(TestTerminal::Request(0, FS));
  Arrive(enq);
  EXPECT_EQ(LastWrite(), BuildNegativeAnswer());
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
    m_clock.sleeps.clear();
    m_line.purges = 0;
    std::size_t writesAtCommit = 99;
    std::vector<int> sleepsAtCommit;
    int purgesAtCommit = 0;
    m_view.commit = [&] {
      writesAtCommit = m_line.writes.size();
      sleepsAtCommit = m_clock.sleeps;
      purgesAtCommit = m_line.purges;
      return committed;
    };
    EXPECT_EQ(Step(TestTerminal::Eot()), 0);
    EXPECT_EQ(writesAtCommit, 0u);
    // The promise is made right before the first answer's first byte, after
    // both pauses and the purge: a stop in those 150 ms must find the data
    // not yet committed, as the terminal heard nothing.
    EXPECT_EQ(sleepsAtCommit, (std::vector<int>{100, 50}));
    EXPECT_EQ(purgesAtCommit, 1);
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

TEST_F(SendSteps, AHeaderSentAgainIsReadWholeAndAnsweredAgain) {
  Open(std::string(5000, 'h'));
  const std::string header = TestTerminal::Soh('2', 0, 0, "F.TXT");
  const std::string answer = LastWrite();
  for (int again = 0; again < kRetryLimit + 2; ++again) {
    const std::size_t writes = m_line.writes.size();
    // The first 10 bytes, then the other 1014 in one piece, then the answer.
    ASSERT_EQ(Step(header.substr(0, 10)), 1);
    EXPECT_EQ(m_line.writes.size(), writes);
    EXPECT_EQ(m_state.m_nReadLen, 1014);
    ASSERT_EQ(Step(header.substr(10)), 1);
    ASSERT_EQ(m_line.writes.size(), writes + 1);
    EXPECT_EQ(LastWrite(), answer);
    EXPECT_EQ(m_state.m_nReadLen, 10);
    EXPECT_EQ(m_state.m_nRetry, 0);
    EXPECT_EQ(m_state.m_nState, PHASE_SEND);
  }
  Step(TestTerminal::Request(1));
  EXPECT_EQ(LastWrite(), BuildDataFrame(STX, "00001", std::string(4000, 'h'), 4000, RS));
  // After a block request the header is a faulty frame: the last frame again.
  const std::string frame = LastWrite();
  Arrive(header);
  EXPECT_EQ(LastWrite(), frame);
  EXPECT_EQ(m_state.m_nRetry, 1);
  EXPECT_EQ(m_state.m_nReadLen, 10);
}

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
  Step(
      "\x02\x06"
      "00002 zz");  // short and without its trailer
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
  static bool IsPositive(const std::string& answer) { return vtest::IsPositiveAnswer(answer); }
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
  EXPECT_EQ(LastWrite(), BuildBlockFrame(2, STX));
  Step(Frame(ETB, 2, "IJ"));
  EXPECT_EQ(LastWrite(), BuildBlockFrame(3, ETB));
  Step(Frame(FS, 3, ""));
  EXPECT_EQ(LastWrite(), BuildBlockFrame(4, FS));
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
  expected = BuildBlockFrame(2, STX);
  expected[1] = static_cast<char>(NAK);
  EXPECT_EQ(LastWrite(), expected);
  EXPECT_NE(Log().find("Data Header Fault."), std::string::npos);
}

TEST_F(RecvSteps, OnlyTheSameBlockWithTheSameDataCountsAsARepeat) {
  Open(4);
  Step(Frame(STX, 1, "AAAA"));
  Step(Frame(STX, 1, "AAAA"));  // acknowledgement lost: stored once
  EXPECT_EQ(LastWrite(), BuildBlockFrame(2, STX));
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

namespace {

using namespace vantor;
using vtest::TestTerminal;

// A header sent again while the PC reads data frames of every kind of length:
// shorter than a header (read in two pieces), as long, longer (one piece that
// ends on the read's time-out), and the extremes.
class ResentRecvHeader : public RecvSteps, public ::testing::WithParamInterface<int> {};

TEST_P(ResentRecvHeader, IsAnsweredAgainWithoutAFaultAndTheFileGoesOn) {
  const int blockSize = GetParam();
  const std::string header = TestTerminal::Soh('1', blockSize, 0, "R.TXT");  // as Open sends it
  Open(blockSize);
  const std::string answer = LastWrite();
  ASSERT_TRUE(IsPositive(answer));
  for (int again = 0; again < kRetryLimit + 2; ++again) {
    const std::size_t writes = m_line.writes.size();
    ASSERT_EQ(Arrive(header), 1);
    ASSERT_EQ(m_line.writes.size(), writes + 1) << again;
    EXPECT_EQ(LastWrite(), answer);
    EXPECT_EQ(m_state.m_nRetry, 0);
    EXPECT_EQ(m_state.m_nState, PHASE_RECV);
    EXPECT_EQ(m_state.m_nReadLen, blockSize + 8);
  }
  const std::string data(static_cast<std::size_t>(blockSize), 'd');
  Step(Frame(STX, 1, data));
  EXPECT_EQ(LastWrite(), BuildBlockFrame(2, STX));
  Step(Frame(FS, 2, ""));
  EXPECT_EQ(LastWrite(), BuildBlockFrame(3, FS));
  EXPECT_EQ(Tmp(), data);
  EXPECT_EQ(vtest::ReadFile(Recv("COMMLIST.LST")), Recv("R.TXT") + "\r\n");  // listed once
  EXPECT_EQ(Log().find("Data Header Fault."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ResentRecvHeader, ::testing::Values(1, 100, 1015, 1016, 1017, 4000, 9999));

// A file's end frame sent again while the PC reads headers: shorter than a
// header (one piece that ends on the read's time-out), as long, and longer
// (read in two pieces).
class ResentEndFrame : public RecvSteps, public ::testing::WithParamInterface<int> {};

TEST_P(ResentEndFrame, IsAcknowledgedAgainWithoutAFaultAndTheRunGoesOn) {
  const int blockSize = GetParam();
  Open(blockSize);
  const std::string data(static_cast<std::size_t>(blockSize), 'd');
  Step(Frame(STX, 1, data));
  const std::string end = Frame(FS, 2, "");
  Step(end);
  const std::string ack = LastWrite();
  ASSERT_EQ(ack, BuildBlockFrame(3, FS));
  for (int again = 0; again < kRetryLimit + 2; ++again) {
    const std::size_t writes = m_line.writes.size();
    ASSERT_EQ(Arrive(end), 1);
    ASSERT_EQ(m_line.writes.size(), writes + 1) << again;
    EXPECT_EQ(LastWrite().substr(0, kShortLen), ack);
    EXPECT_EQ(m_state.m_nRetry, 0);
    EXPECT_EQ(m_state.m_nState, PHASE_SOH);
    EXPECT_EQ(m_state.m_nReadLen, kHeaderLen);
  }
  // Another end frame is no repeat: a fault, as before.
  std::string other = Frame(FS, 3, "");
  ASSERT_EQ(Arrive(other), 1);
  EXPECT_EQ(m_state.m_nRetry, 1);
  EXPECT_NE(Log().find("SOH Header Fault."), std::string::npos);
  // The next file's header and the end of the run are taken as ever.
  Step(TestTerminal::Soh('1', blockSize, 0, "S.TXT"));
  EXPECT_EQ(m_state.m_nState, PHASE_RECV);
  EXPECT_EQ(m_state.m_nRetry, 0);
  EXPECT_EQ(Tmp(), data);
  EXPECT_NE(Log().find("End Frame Repeated."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ResentEndFrame, ::testing::Values(1, 100, 1016, 4000, 9999));

TEST_F(RecvSteps, AHeaderAgainAfterAFaultyFrameGetsThePositiveAnswer) {
  Open(100);
  const std::string header = TestTerminal::Soh('1', 100, 0, "R.TXT");
  const std::string answer = LastWrite();
  std::string broken = Frame(STX, 1, std::string(100, 'b'));
  broken[106] ^= 1;
  Step(broken);
  EXPECT_EQ(LastWrite()[1], static_cast<char>(NAK));
  Arrive(header);
  EXPECT_EQ(LastWrite(), answer);
  EXPECT_EQ(m_state.m_nRetry, 1);  // neither counted nor forgiven
  // The negative acknowledgement still repeats the frame last sent.
  Step(broken);
  std::string nak = answer.substr(0, 10);
  nak[1] = static_cast<char>(NAK);
  EXPECT_EQ(LastWrite(), nak);
  EXPECT_EQ(m_state.m_nRetry, 2);
}

TEST_F(RecvSteps, AHeaderAgainAfterTheFirstDataFrameIsAFaultAsBefore) {
  Open(100);
  const std::string header = TestTerminal::Soh('1', 100, 0, "R.TXT");
  Step(Frame(STX, 1, std::string(100, 'a')));
  Arrive(header);
  std::string nak = BuildBlockFrame(2, STX);
  nak[1] = static_cast<char>(NAK);
  EXPECT_EQ(LastWrite(), nak);
  EXPECT_EQ(m_state.m_nRetry, 1);
  EXPECT_EQ(m_state.m_nReadLen, 108);
}

TEST_F(RecvSteps, AHeaderThatGoesOnOtherwiseOrStopsShortIsAFaultyFrame) {
  const std::string header = TestTerminal::Soh('1', 100, 0, "R.TXT");
  std::string changed = header;
  changed[500] = 'x';
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"changed after its first piece", changed},
      {"one byte short", header.substr(0, 1023)},
      {"cut within its first piece", header.substr(0, 50)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Open(100);
    m_state.m_nRetry = 0;
    const std::string answer = LastWrite();
    const std::size_t writes = m_line.writes.size();
    Arrive(row.bytes);
    ASSERT_EQ(m_line.writes.size(), writes + 1);
    std::string nak = answer.substr(0, 10);
    nak[1] = static_cast<char>(NAK);
    EXPECT_EQ(LastWrite(), nak);
    EXPECT_EQ(m_state.m_nRetry, 1);
    EXPECT_EQ(m_state.m_nReadLen, 108);
    Step(Frame(FS, 1, ""));  // back to the header phase
  }
}

TEST_F(RecvSteps, ACancelWhileTheRestOfAHeaderIsReadIsAsLongAsTheFrame) {
  Open(100);
  Step(TestTerminal::Soh('1', 100, 0, "R.TXT").substr(0, 108));
  ASSERT_EQ(m_state.m_nReadLen, 916);
  m_line.writes.clear();
  m_port.SendCancelRun();
  ASSERT_EQ(m_line.writes.size(), 5u);
  for (const std::string& w : m_line.writes) EXPECT_EQ(w, std::string(108, static_cast<char>(CAN)));
}

}  // namespace
