// Whole runs in which the terminal fetches master files from the PC.
#include "frame.h"
#include "run_fixture.h"

namespace vtest {
namespace {

namespace fs = std::filesystem;
using namespace vantor;

class SendRun : public RunFixture {};

std::string Text(std::size_t n, char seed) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('A' + (seed + i) % 26));
  return s;
}

TEST_F(SendRun, SeveralFilesOfEveryShapeArriveWhole) {
  const std::string nine = Text(9000, 0);    // STX, STX, ETB
  const std::string eight = Text(8000, 3);   // STX, STX, then FS
  const std::string small = "M1\r\nM2\r\n";  // one ETB
  WriteFile(m_send / "NINE.TXT", nine);
  WriteFile(m_send / "EIGHT.TXT", eight);
  WriteFile(m_send / "SMALL.TXT", small);
  WriteFile(m_send / "EMPTY.TXT", "");
  Start();
  std::map<std::string, std::string> got;
  ASSERT_TRUE(m_hht.FetchFiles({"NINE.TXT", "EIGHT.TXT", "SMALL.TXT", "EMPTY.TXT"}, &got));
  EXPECT_EQ(Result(), 2);
  EXPECT_TRUE(got["NINE.TXT"] == nine);
  EXPECT_TRUE(got["EIGHT.TXT"] == eight);
  EXPECT_EQ(got["SMALL.TXT"], small);
  EXPECT_EQ(got["EMPTY.TXT"], "");
  EXPECT_EQ(ReadFile(m_send / "COMMINFO.INI"), "NINE.TXT\r\nEIGHT.TXT\r\nSMALL.TXT\r\nEMPTY.TXT\r\n");
  EXPECT_NE(Log().find("Data Send Success!\r\nPort Close\r\n"), std::string::npos);
  // A send run leaves nothing in the receive directory but the empty list.
  EXPECT_FALSE(fs::exists(m_recv / "COMMLIST.LST"));
}

TEST_F(SendRun, AnswersCarryTheTotalAndTheFileSize) {
  WriteFile(m_send / "A.TXT", Text(1234, 1));
  WriteFile(m_send / "B.TXT", Text(766, 2));
  Start();
  m_hht.Send(TestTerminal::Enq('2', "0000000000", "A.TXT:B.TXT:MISSING.TXT:"));
  const std::string enqAnswer = m_hht.Receive(54);
  EXPECT_EQ(enqAnswer.substr(11, 10), "0000002000");
  m_hht.Send(TestTerminal::Soh('2', 0, 0, "A.TXT"));
  const std::string sohAnswer = m_hht.Receive(54);
  EXPECT_EQ(sohAnswer.substr(2, 19), "0000140000000001234");
  EXPECT_EQ(sohAnswer.substr(21, 5), "A.TXT");
  m_hht.Send(TestTerminal::Request(0, FS));
  m_hht.Send(TestTerminal::Soh('2', 0, 0, "MISSING.TXT"));
  EXPECT_EQ(m_hht.Receive(54).substr(7, 14), "40000000000000");
  // The first block of a missing file is an FS frame numbered 00000.
  m_hht.Send(TestTerminal::Request(1));
  const std::string fs = m_hht.Receive(4008);
  ASSERT_EQ(fs.size(), 4008u);
  EXPECT_EQ(fs[0], static_cast<char>(FS));
  EXPECT_EQ(fs.substr(1, 5), "00000");
  EXPECT_NE(Log().find("File Open Error"), std::string::npos);
  m_hht.Send(TestTerminal::Request(0, FS));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 2);
}

TEST_F(SendRun, HostileNamesReadNothingOutsideTheSendDirectory) {
  WriteFile(m_root / "secret.txt", "SECRET");
  Start();
  m_hht.Send(TestTerminal::Enq('2', "0000000000", "../secret.txt:"));
  // Listed, but it adds nothing to the total.
  EXPECT_EQ(m_hht.Receive(54).substr(11, 10), "0000000000");
  EXPECT_EQ(ReadFile(m_send / "COMMINFO.INI"), "../secret.txt\r\n");
  for (const char* name : {"../secret.txt", "/etc/passwd", "..", "a\\b", "C:X"}) {
    m_hht.Send(TestTerminal::Soh('2', 0, 0, name));
    const std::string answer = m_hht.Receive(54);
    ASSERT_EQ(answer.size(), 54u);
    EXPECT_EQ(answer[1], static_cast<char>(NAK)) << name;
  }
  EXPECT_NE(Log().find("SOH Header Fault."), std::string::npos);
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 2);
}

TEST_F(SendRun, FaultyRequestGetsTheLastFrameAgain) {
  WriteFile(m_send / "A.TXT", Text(5000, 4));
  Start();
  ASSERT_TRUE(m_hht.OpenRun('2', "A.TXT:", 0));
  m_hht.Send(TestTerminal::Soh('2', 0, 0, "A.TXT"));
  const std::string header = m_hht.Receive(54);
  // Right after the header answer, a broken request gets that answer again.
  std::string bad = TestTerminal::Request(1);
  bad[1] = static_cast<char>(NAK);
  m_hht.Send(bad);
  EXPECT_EQ(m_hht.Receive(54), header);
  m_hht.Send(TestTerminal::Request(1));
  const std::string first = m_hht.Receive(4008);
  EXPECT_EQ(first[0], static_cast<char>(STX));
  bad = TestTerminal::Request(2);
  bad[8] ^= 0x01;  // wrong check character
  m_hht.Send(bad);
  EXPECT_EQ(m_hht.Receive(4008), first);
  m_hht.Send(TestTerminal::Request(2));
  const std::string second = m_hht.Receive(4008);
  EXPECT_EQ(second[0], static_cast<char>(ETB));
  EXPECT_EQ(second.substr(6, 1000), Text(5000, 4).substr(4000));
  EXPECT_EQ(second[6 + 1000], static_cast<char>(RS));
  m_hht.Send(TestTerminal::Request(0, FS));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 2);
}

}  // namespace
}  // namespace vtest
