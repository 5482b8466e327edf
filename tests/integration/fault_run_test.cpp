// Runs that end otherwise than with success: faults and the retry limit,
// cancels from either side, a port that cannot be opened or hangs up.
#include <thread>

#include "frame.h"
#include "run_fixture.h"
#include "run_transfer.h"

namespace vtest {
namespace {

namespace fs = std::filesystem;
using namespace vantor;

class FaultRun : public RunFixture {
 protected:
  // An old data file "X.TXT", then a run in which the terminal has announced
  // a new "X.TXT" (block size 100) and delivered one block of it.
  void StartFileWithOneBlock() {
    WriteFile(m_recv / "X.TXT", "OLD\r\n");
    Start();
    ASSERT_TRUE(m_hht.OpenRun('1', "X.TXT:", 6));
    m_hht.Send(TestTerminal::Soh('1', 100, 6, "X.TXT"));
    ASSERT_TRUE(IsPositiveAnswer(m_hht.Receive(54)));
    m_hht.Send(TestTerminal::Data(ETB, 1, "NEW\r\n", 100));
    ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(2, ETB));
  }
};

TEST_F(FaultRun, TenFaultsAreAnsweredAndTheNextFrameEndsTheRun) {
  Start();
  std::string broken = TestTerminal::Enq('1', "0000000000", "A:");
  broken[1022] ^= 0x01;
  for (int i = 0; i < 10; ++i) {
    m_hht.Send(broken);
    const std::string answer = m_hht.Receive(54);
    ASSERT_EQ(answer, BuildNegativeAnswer()) << "fault " << i;
  }
  // Even a valid request is not looked at any more.
  m_hht.Send(TestTerminal::Enq('1', "0000000000", "A:"));
  EXPECT_EQ(Result(), -1);
  EXPECT_TRUE(m_hht.Drain(200).empty());
  const std::string log = Log();
  EXPECT_NE(log.find("ENQ Header Fault."), std::string::npos);
  EXPECT_NE(log.find("Transfer error\r\nPort Close\r\n"), std::string::npos);
}

TEST_F(FaultRun, AValidFrameResetsTheFaultCount) {
  WriteFile(m_recv / "X.TXT", "KEEP\r\n");
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "X.TXT:", 6));
  m_hht.Send(TestTerminal::Soh('1', 10, 6, "X.TXT"));
  const std::string header = m_hht.Receive(54);
  ASSERT_TRUE(IsPositiveAnswer(header));
  std::string broken = TestTerminal::Data(STX, 1, "0123456789", 10);
  broken.back() = 'x';  // no ETX
  for (int i = 0; i < 9; ++i) {
    m_hht.Send(broken);
    // The negative acknowledgement before any acknowledgement of the file is
    // the head of the header answer, turned negative.
    std::string nak = header.substr(0, 10);
    nak[1] = static_cast<char>(NAK);
    ASSERT_EQ(m_hht.Receive(10), nak);
  }
  m_hht.Send(TestTerminal::Data(ETB, 1, "KEEP2\r\n", 10));
  ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(2, ETB));
  for (int i = 0; i < 9; ++i) {
    m_hht.Send(broken);
    ASSERT_EQ(m_hht.Receive(10).substr(0, 2), (std::string{static_cast<char>(STX), static_cast<char>(NAK)}));
  }
  m_hht.Send(TestTerminal::Data(FS, 2, "", 10));
  ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(3, FS));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "X.TXT"), "KEEP2\r\n");
}

TEST_F(FaultRun, UserCancelWritesFiveCancelRunsAndDropsPartialData) {
  ASSERT_NO_FATAL_FAILURE(StartFileWithOneBlock());
  ASSERT_TRUE(fs::exists(m_recv / "X.TXT.Tmp"));
  CancelCurrentTransfer();
  // The cancel run is as long as the frame expected next: 108 bytes.
  const std::string run = m_hht.Receive(5 * 108, 10000);
  EXPECT_EQ(run, std::string(5 * 108, static_cast<char>(CAN)));
  EXPECT_EQ(Result(), -2);
  EXPECT_FALSE(fs::exists(m_recv / "X.TXT.Tmp"));
  EXPECT_EQ(ReadFile(m_recv / "X.TXT"), "OLD\r\n");
  EXPECT_NE(Log().find("User Cancel\r\nPort Close\r\n"), std::string::npos);
}

TEST_F(FaultRun, CancelBeforeTheTerminalSpeaksSendsHeaderLengthRuns) {
  Start();
  CancelCurrentTransfer();
  EXPECT_EQ(m_hht.Receive(5 * 1024, 10000), std::string(5 * 1024, static_cast<char>(CAN)));
  EXPECT_EQ(Result(), -2);
}

TEST_F(FaultRun, TerminalCancelEndsEvenInTheMiddleOfAFrame) {
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "X.TXT:", 6));
  m_hht.Send(TestTerminal::Soh('1', 4000, 6, "X.TXT"));
  ASSERT_TRUE(IsPositiveAnswer(m_hht.Receive(54)));
  // Three cancel bytes where a 4008-byte frame is expected: the piece reaches
  // the dialog when the read ends (here: the terminal hangs up) and still
  // counts as the terminal's cancel.
  m_hht.Send(std::string(3, static_cast<char>(CAN)));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  m_pty.CloseMaster();
  EXPECT_EQ(Result(), -3);
  EXPECT_NE(Log().find("Recv Data = [\x18\x18\x18]\r\nLen = [3]\r\n"), std::string::npos);
}

TEST_F(FaultRun, ShortCancelPieceInAHeaderPhaseEndsWithDeviceCancel) {
  Start();
  m_hht.Send(std::string(1, static_cast<char>(CAN)));
  // One byte of 1024, and at once the rest of the terminal's cancel run: the
  // read takes them together, long before its 1 s interval would end it.
  m_hht.Send(std::string(1023, static_cast<char>(CAN)));
  EXPECT_EQ(Result(), -3);
  EXPECT_NE(Log().find("Device Transfer Cancel...\r\nDevice Cancel\r\nPort Close\r\n"), std::string::npos);
}

TEST_F(FaultRun, PortThatCannotBeOpenedGivesMinusFour) {
  ::setenv("VANTOR_COM1", (m_root / "no-such-device").c_str(), 1);
  Start();
  EXPECT_EQ(Result(), -4);
  // The entry after "Port Open Error..." names the device and the reason.
  const std::string device = (m_root / "no-such-device").string();
  EXPECT_EQ(Log(), "Port Open Error...\r\nCOM1: " + device + ": No such file or directory\r\nCom open error\r\n" +
                       "SendDir = [" + m_send.string() + "/]\r\nRecvDir = [" + m_recv.string() + "/]\r\n");
}

TEST_F(FaultRun, DeviceThatRefusesTheLineSettingsGivesMinusFour) {
  ::setenv("VANTOR_COM1", "/dev/null", 1);
  Start();
  EXPECT_EQ(Result(), -4);
  EXPECT_NE(Log().find("Port Open Error...\r\nCOM1: /dev/null: not a serial line: "), std::string::npos) << Log();
}

TEST_F(FaultRun, HangUpWhileWaitingEndsWithTransferError) {
  ASSERT_NO_FATAL_FAILURE(StartFileWithOneBlock());
  m_pty.CloseMaster();
  EXPECT_EQ(Result(10), -1);
  EXPECT_NE(Log().find("Port Hang Up\r\nTransfer error\r\nPort Close\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(m_recv / "X.TXT"), "OLD\r\n");
  EXPECT_FALSE(fs::exists(m_recv / "X.TXT.Tmp"));
}

TEST_F(FaultRun, BlockThatCannotBeStoredIsRefusedUntilTheRetryLimit) {
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "X.TXT:", 6));
  m_hht.Send(TestTerminal::Soh('1', 10, 6, "X.TXT"));
  ASSERT_TRUE(IsPositiveAnswer(m_hht.Receive(54)));
  // A directory where the temporary file should be, after the header was
  // accepted (one there before is a leftover, and its header is refused):
  // every append fails.
  fs::create_directory(m_recv / "X.TXT.Tmp");
  const std::string frame = TestTerminal::Data(ETB, 1, "DATA\r\n", 10);
  for (int i = 0; i < 10; ++i) {
    m_hht.Send(frame);
    ASSERT_EQ(m_hht.Receive(10)[1], static_cast<char>(NAK)) << i;
  }
  m_hht.Send(frame);
  EXPECT_EQ(Result(), -1);
  EXPECT_NE(Log().find("File Write Error"), std::string::npos);
}

TEST_F(FaultRun, HostileNameFromTheTerminalWritesNothingOutside) {
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "x:", 6));
  for (const char* name : {"../evil.txt", "sub/evil.txt", ".", "   "}) {
    m_hht.Send(TestTerminal::Soh('1', 10, 6, name));
    EXPECT_EQ(m_hht.Receive(54), BuildNegativeAnswer()) << name;
  }
  // A block size of 0 is refused as well.
  m_hht.Send(TestTerminal::Soh('1', 0, 6, "ok.txt"));
  EXPECT_EQ(m_hht.Receive(54), BuildNegativeAnswer());
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 1);
  EXPECT_FALSE(fs::exists(m_root / "evil.txt"));
  EXPECT_FALSE(fs::exists(m_root / "evil.txt.Tmp"));
}

}  // namespace
}  // namespace vtest
