// Whole runs in which the terminal sends its data to the PC.
#include "frame.h"
#include "run_fixture.h"

namespace vtest {
namespace {

namespace fs = std::filesystem;
using namespace vantor;

std::string Records(int count, const std::string& prefix) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%s%06d,ITEM%04d,%05d\r\n", prefix.c_str(), i, i % 1000, i * 7 % 99999);
    out += line;
  }
  return out;
}

class ReceiveRun : public RunFixture {};

TEST_F(ReceiveRun, SeveralFilesBecomeDataFilesWithStarredRecordsDropped) {
  // Two files of 27-byte records, one with records marked "*", one spanning
  // several blocks with a short last block.
  std::string stock = Records(300, "S");
  const std::size_t rec = stock.find('\r') + 2;
  stock[rec * 5] = '*';
  stock[rec * 17] = '*';
  const std::string order = Records(3, "O");
  Start();
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", stock}, {"ORDER.DAT", order}}, 1000));
  EXPECT_EQ(Result(), 1);

  std::string expected = stock;
  expected.erase(rec * 17, rec);
  expected.erase(rec * 5, rec);
  EXPECT_TRUE(ReadFile(m_recv / "STOCK.TXT") == expected);
  EXPECT_EQ(ReadFile(m_recv / "ORDER.DAT"), order);
  EXPECT_FALSE(fs::exists(m_recv / "STOCK.TXT.Tmp"));
  const std::string recv = m_recv.string() + "/";
  EXPECT_EQ(ReadFile(m_recv / "COMMLIST.LST"), recv + "STOCK.TXT\r\n" + recv + "ORDER.DAT\r\n");
  EXPECT_EQ(ReadFile(m_recv / "COMMINFO.INI"), "STOCK.TXT\r\nORDER.DAT\r\n");

  const std::string log = Log();
  for (const char* entry :
       {"Port Open\r\n", "EOT\r\n", "EOT Send Len = [10]\r\n", "Data Recv Success!\r\n", "Port Close\r\n",
        "File name = [STOCK.TXT.Tmp], Record Length = [24]\r\n", "Num of Delete = [300]\r\n"}) {
    EXPECT_NE(log.find(entry), std::string::npos) << entry;
  }
  EXPECT_LT(log.find("Data Recv Success!"), log.find("Port Close"));
}

TEST_F(ReceiveRun, KoreanFileNameFromTheTerminalIsAReadableNameOnDisk) {
  // "재고.TXT" in code page 949.
  const std::string cp949Name = "\xC0\xE7\xB0\xED.TXT";
  const std::string data = Records(4, "K");
  Start();
  ASSERT_TRUE(m_hht.SendFiles({{cp949Name, data}}, 4000));
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "재고.TXT"), data);
  // The list shows the name as the terminal sent it.
  EXPECT_NE(ReadFile(m_recv / "COMMLIST.LST").find(cp949Name + "\r\n"), std::string::npos);
}

TEST_F(ReceiveRun, AppendModeAddsRecordsAfterTheExistingOnes) {
  WriteFile(m_recv / "STOCK.TXT", "OLD1\r\n");
  Start(1);
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", "NEW1\r\nNEW2\r\n"}}, 100));
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "OLD1\r\nNEW1\r\nNEW2\r\n");
}

TEST_F(ReceiveRun, ReplaceModeReplacesOnlyWhenTheRunSucceeds) {
  WriteFile(m_recv / "STOCK.TXT", "OLD1\r\n");
  Start(0);
  ASSERT_TRUE(m_hht.OpenRun('1', "STOCK.TXT:", 6));
  ASSERT_TRUE(m_hht.SendOneFile({"STOCK.TXT", "NEW1\r\n"}, 100));
  // The terminal cancels before its end frame: the old data file stays.
  m_hht.Send(std::string(1024, static_cast<char>(CAN)));
  EXPECT_EQ(Result(), -3);
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "OLD1\r\n");
  EXPECT_FALSE(fs::exists(m_recv / "STOCK.TXT.Tmp"));
  EXPECT_NE(Log().find("Device Transfer Cancel...\r\nDevice Cancel\r\n"), std::string::npos);
}

TEST_F(ReceiveRun, ReplaceModeReplacesTheFileAtTheEndOfASuccessfulRun) {
  WriteFile(m_recv / "STOCK.TXT", "OLD1\r\n");
  Start(0);
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", "NEW1\r\n"}}, 100));
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "NEW1\r\n");
}

TEST_F(ReceiveRun, LeftoverTemporaryFilesOfACrashedRunAreNotMerged) {
  WriteFile(m_recv / "STOCK.TXT.Tmp", "STALE\r\n");
  WriteFile(m_recv / "OTHER.DAT.TMP", "STALE\r\n");
  Start();
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", "NEW1\r\n"}}, 100));
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "NEW1\r\n");
  EXPECT_FALSE(fs::exists(m_recv / "OTHER.DAT"));
  EXPECT_FALSE(fs::exists(m_recv / "OTHER.DAT.TMP"));
}

TEST_F(ReceiveRun, LargestBlockSizeIsReceivedWhole) {
  const std::string data = Records(1000, "B");  // 27,000 bytes
  Start();
  ASSERT_TRUE(m_hht.SendFiles({{"BIG.TXT", data}}, 9999));
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "BIG.TXT"), data);
}

TEST_F(ReceiveRun, RepeatedFrameAfterALostAcknowledgementIsStoredOnce) {
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "R.TXT:", 12));
  m_hht.Send(TestTerminal::Soh('1', 6, 12, "R.TXT"));
  ASSERT_TRUE(IsPositiveAnswer(m_hht.Receive(54)));
  const std::string first = TestTerminal::Data(STX, 1, "AAAA\r\n", 6);
  m_hht.Send(first);
  ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(2, STX));
  m_hht.Send(first);  // as if the acknowledgement had been lost
  ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(2, STX));
  m_hht.Send(TestTerminal::Data(STX, 2, "BBBB\r\n", 6));
  ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(3, STX));
  m_hht.Send(TestTerminal::Data(FS, 3, "", 6));
  ASSERT_EQ(m_hht.Receive(10), BuildBlockFrame(4, FS));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "R.TXT"), "AAAA\r\nBBBB\r\n");
}

TEST_F(ReceiveRun, DataSentThenMasterFilesFetchedKeepsTheReceivedData) {
  WriteFile(m_send / "MASTER.TXT", "M1\r\n");
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "STOCK.TXT:", 6));
  ASSERT_TRUE(m_hht.SendOneFile({"STOCK.TXT", "NEW1\r\n"}, 100));
  std::string master;
  ASSERT_TRUE(m_hht.FetchOneFile("MASTER.TXT", &master));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 2);
  EXPECT_EQ(master, "M1\r\n");
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "NEW1\r\n");
  const std::string log = Log();
  EXPECT_LT(log.find("Data Send Success!"), log.find("Num of Delete = [1]"));
}

}  // namespace
}  // namespace vtest
