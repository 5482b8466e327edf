// The SOH step refuses, in the receive direction, the names the receive
// directory keeps for its own files. Before, a terminal file named "X.Tmp" was
// stored as the data file "X.Tmp" and deleted as a leftover temporary file at
// the next start; and a run that received "A.TXT" and "A.TXT.Tmp" stored the
// second into the first's temporary file and then removed it, after the end
// answer had told the terminal its data arrived.
#include <gtest/gtest.h>

#include "comm_log.h"
#include "fake_file_system.h"
#include "fakes.h"
#include "file_names.h"
#include "frame.h"
#include "recv_files.h"
#include "serial_port.h"
#include "serial_port_probe.h"
#include "test_terminal.h"

namespace {

using namespace vantor;
using vtest::TestTerminal;

TEST(ReservedRecvNames, AreTheDirectorysOwnFilesInAnyLetterCase) {
  for (const char* reserved :
       {"X.Tmp", "A.TXT.tmp", "B.TMP", ".tmp", "A.TXT.Tmp.new", "COMMLIST.LST", "commlist.lst", "COMMINFO.INI"}) {
    EXPECT_TRUE(IsReservedRecvName(reserved)) << reserved;
  }
  for (const char* plain : {"A.TXT", "STOCK.TXT", "X.Tmp.unsaved", "X.TMP2", "TMP", "COMMLIST.LST.BAK", "A.new"}) {
    EXPECT_FALSE(IsReservedRecvName(plain)) << plain;
  }
}

class ReservedNameHeader : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    m_fs.MakeDir("recv");
    m_fs.MakeDir("send");
    SetLogFileSystem(&m_fs);
    m_port.m_hWndNotify = &m_view;
    m_port.m_strRecvDir = "recv/";
    m_port.m_strSendDir = "send/";
    m_state.m_nState = PHASE_SOH;
  }
  void TearDown() override { SetLogFileSystem(nullptr); }
  int Step(const std::string& frame) {
    m_port.StoreReceived(reinterpret_cast<const std::uint8_t*>(frame.data()), static_cast<int>(frame.size()));
    return m_port.ProcessFrame();
  }

  vtest::FakeFileSystem m_fs;
  vtest::FakeLine m_line;
  vtest::FakeClock m_clock;
  vtest::RecordingNotify m_view;
  CSerialPort m_port{m_line, m_clock, m_fs};
  vtest::SerialPortProbe m_state{m_port};
};

TEST_P(ReservedNameHeader, IsRefusedInTheReceiveDirectionWithALogLine) {
  ASSERT_EQ(Step(TestTerminal::Soh('1', 100, 10, GetParam())), 1);
  EXPECT_EQ(m_line.writes.back(), BuildNegativeAnswer());
  EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  EXPECT_EQ(m_state.m_nRetry, 1);
  EXPECT_FALSE(m_fs.Has("recv/COMMLIST.LST"));
  EXPECT_NE(m_fs.Get("Log/comm.log").find("Reserved File Name [" + GetParam() + "]"), std::string::npos);
}

TEST_P(ReservedNameHeader, MayStillBeFetchedFromTheSendDirectory) {
  m_fs.Put("send/" + GetParam(), "data");
  ASSERT_EQ(Step(TestTerminal::Soh('2', 4000, 0, GetParam())), 1);
  EXPECT_EQ(m_state.m_nState, PHASE_SEND);
}

// A temporary file that the start of the run could not delete (a file held
// by another program), or whose data waits for the next start to be stored,
// is never received into: the old data and the new would be stored as one.
TEST_F(ReservedNameHeader, ALeftoverTemporaryFileIsNeverReceivedInto) {
  m_fs.Put("recv/A.TXT.Tmp", "OLD RUN\r\n");
  m_fs.Fail(vtest::FakeFileSystem::Op::Remove, "A.TXT.Tmp", EACCES);
  DeleteTmpFiles("recv/", m_fs);
  ASSERT_EQ(Step(TestTerminal::Soh('1', 100, 10, "A.TXT")), 1);
  EXPECT_EQ(m_line.writes.back(), BuildNegativeAnswer());
  EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  EXPECT_EQ(m_fs.Get("recv/A.TXT.Tmp"), "OLD RUN\r\n");
  EXPECT_NE(m_fs.Get("Log/comm.log").find("Leftover File [A.TXT.Tmp]"), std::string::npos);
  // A name whose temporary file cannot even be looked at is refused too.
  m_fs.Fail(vtest::FakeFileSystem::Op::Exists, "B.TXT.Tmp", EIO);
  ASSERT_EQ(Step(TestTerminal::Soh('1', 100, 10, "B.TXT")), 1);
  EXPECT_EQ(m_line.writes.back(), BuildNegativeAnswer());
  // A name without a leftover is received as before.
  ASSERT_EQ(Step(TestTerminal::Soh('1', 100, 10, "C.TXT")), 1);
  EXPECT_EQ(m_state.m_nState, PHASE_RECV);
}

INSTANTIATE_TEST_SUITE_P(Names, ReservedNameHeader,
                         ::testing::Values("X.Tmp", "A.TXT.TMP", "A.TXT.Tmp.new", "COMMLIST.LST", "COMMINFO.INI"));

// Names that Windows would store as another file (or as a device) are faulty
// headers in both directions and on both platforms, so that a terminal gets
// the same answer everywhere: under Windows "X.Tmp." was stored as the
// leftover "X.Tmp" and deleted, "NUL.TXT" was acknowledged block by block
// while its data went to the null device, and the 8.3 alias of the commit
// record ("VANTOR~1.LST") could be written into.
class UnportableNameHeader : public ReservedNameHeader {};

TEST_P(UnportableNameHeader, IsAFaultyHeaderInBothDirections) {
  EXPECT_FALSE(IsPortableName(GetParam()));
  for (const char direction : {'1', '2'}) {
    SCOPED_TRACE(std::string("direction ") + direction);
    m_fs.Put("send/" + GetParam(), "data");
    ASSERT_EQ(Step(TestTerminal::Soh(direction, 4000, 10, GetParam())), 1);
    EXPECT_EQ(m_line.writes.back(), BuildNegativeAnswer());
    EXPECT_EQ(m_state.m_nState, PHASE_SOH);
  }
  EXPECT_EQ(m_state.m_nRetry, 2);
  EXPECT_FALSE(m_fs.Has("recv/COMMLIST.LST"));
}

INSTANTIATE_TEST_SUITE_P(Names, UnportableNameHeader,
                         ::testing::Values("X.Tmp.", "A.TXT.", "A.TXT..", "NUL.TXT", "nul", "CON", "aux.dat", "PRN.X.Y",
                                           "COM1", "com9.txt", "LPT1.LST", "NUL .TXT", "VANTOR~1.LST", "VANTOR~2.NEW",
                                           "ATXTTM~1.UNS", "A~1", "A<B", "A>B", "A\"B", "A|B", "A?", "A*.TXT", "A\tB"));

TEST(PortableNames, KeepEveryOrdinaryName) {
  for (const char* ok :
       {"A.TXT", "STOCK.TXT", "a", "...x", "name with blanks.TXT", "\xC0\xE7\xB0\xED.TXT", "COM10", "COM0", "LPT",
        "CONSOLE.TXT", "NULL", "A~B.TXT", "LONGNAME~1.TXT", "A~1.TEXT", "~1x.TXT", "X.Tmp.unsaved"}) {
    EXPECT_TRUE(IsPortableName(ok)) << ok;
  }
}

}  // namespace
