// Runs over a line that loses answers and bytes: a header the terminal sends
// again because the PC's answer was lost, a frame that lost a byte on the way,
// a frame with a byte too many.
#include <chrono>

#include "frame.h"
#include "run_fixture.h"

namespace vtest {
namespace {

namespace fs = std::filesystem;
using namespace vantor;
using SteadyClock = std::chrono::steady_clock;

// More repeats than the retry limit: a repeat that counted as a fault would
// end the run.
constexpr int kResends = 11;

// 27-byte records, enough for two full blocks and a short one.
std::string Records(int blockSize) {
  std::string out;
  for (int i = 0; out.size() < static_cast<std::size_t>(blockSize) * 5 / 2; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "L%06d,ITEM%04d,%05d\r\n", i, i % 1000, i * 7 % 99999);
    out += line;
  }
  return out;
}

long MsSince(SteadyClock::time_point t) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - t).count());
}

class LossyLine : public RunFixture {
 protected:
  void ExpectNoFault() {
    const std::string log = Log();
    EXPECT_EQ(log.find("Header Fault."), std::string::npos);
    EXPECT_NE(log.find("Header Repeated."), std::string::npos);
  }
};

TEST_F(LossyLine, AnOpeningRequestSentAgainIsAnsweredAgain) {
  const std::string data = Records(100);
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "A.TXT:", static_cast<long>(data.size()), kResends));
  ASSERT_TRUE(m_hht.SendOneFile({"A.TXT", data}, 100));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "A.TXT"), data);
  EXPECT_EQ(ReadFile(m_recv / "COMMINFO.INI"), "A.TXT\r\n");
  ExpectNoFault();
}

// Block sizes whose frames are shorter than a header, as long, and longer.
class ResentHeaderRun : public LossyLine, public ::testing::WithParamInterface<int> {};

TEST_P(ResentHeaderRun, AFileHeaderSentAgainIsAnsweredAgainAndTheFileArrivesOnce) {
  const int blockSize = GetParam();
  const std::string data = Records(blockSize);
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "A.TXT:", static_cast<long>(data.size())));
  ASSERT_TRUE(m_hht.SendOneFile({"A.TXT", data}, blockSize, kResends));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "A.TXT"), data);
  EXPECT_EQ(ReadFile(m_recv / "COMMLIST.LST"), m_recv.string() + "/A.TXT\r\n");
  ExpectNoFault();
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ResentHeaderRun, ::testing::Values(100, 1016, 4000));

// The end frame is as long as the file's data frames; the PC reads headers
// after it. (A short one is taken after the read's 1 s time-out, so two
// repeats, enough to fail on the first if it were refused.)
class ResentEndFrameRun : public LossyLine, public ::testing::WithParamInterface<int> {};

TEST_P(ResentEndFrameRun, AFilesEndFrameSentAgainIsAcknowledgedAgainAndTheNextFileFollows) {
  const int blockSize = GetParam();
  const std::string a = Records(blockSize);
  const std::string b = Records(blockSize / 2 + 1);
  Start();
  ASSERT_TRUE(m_hht.OpenRun('1', "A.TXT:B.TXT:", static_cast<long>(a.size() + b.size())));
  ASSERT_TRUE(m_hht.SendOneFile({"A.TXT", a}, blockSize, 0, 2));
  ASSERT_TRUE(m_hht.SendOneFile({"B.TXT", b}, blockSize, 0, 2));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(ReadFile(m_recv / "A.TXT"), a);
  EXPECT_EQ(ReadFile(m_recv / "B.TXT"), b);
  const std::string log = Log();
  EXPECT_EQ(log.find("Header Fault."), std::string::npos);
  EXPECT_NE(log.find("End Frame Repeated."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ResentEndFrameRun, ::testing::Values(100, 1016, 4000));

TEST_F(LossyLine, AFileHeaderSentAgainBeforeTheFirstBlockRequestIsAnsweredAgain) {
  const std::string master = Records(4000);
  WriteFile(m_send / "M.TXT", master);
  Start();
  ASSERT_TRUE(m_hht.OpenRun('2', "M.TXT:", 0));
  std::string fetched;
  ASSERT_TRUE(m_hht.FetchOneFile("M.TXT", &fetched, kResends));
  ASSERT_TRUE(m_hht.EndRun());
  EXPECT_EQ(Result(), 2);
  EXPECT_EQ(fetched, master);
  ExpectNoFault();
}

// A data frame that lost or gained one byte on the line, for frames shorter
// and longer than a header.
class DamagedFrameRun : public LossyLine, public ::testing::WithParamInterface<int> {
 protected:
  // Opens a run and a file; returns the answer to the file's header.
  std::string OpenFile(const std::string& data) {
    Start();
    EXPECT_TRUE(m_hht.OpenRun('1', "A.TXT:", static_cast<long>(data.size())));
    return m_hht.Header(TestTerminal::Soh('1', GetParam(), static_cast<long>(data.size()), "A.TXT"));
  }
  // Sends the rest of the file from block 1 and ends the run.
  void Finish(const std::string& data) {
    const auto bs = static_cast<std::size_t>(GetParam());
    long n = 1;
    for (std::size_t at = 0; at < data.size(); at += bs, ++n) {
      const std::string piece = data.substr(at, bs);
      const unsigned char lead = piece.size() == bs ? STX : ETB;
      m_hht.Send(TestTerminal::Data(lead, n, piece, GetParam()));
      ASSERT_EQ(m_hht.Receive(kShortLen), BuildBlockFrame(n + 1, lead)) << n;
    }
    m_hht.Send(TestTerminal::Data(FS, n, "", GetParam()));
    ASSERT_EQ(m_hht.Receive(kShortLen), BuildBlockFrame(n + 1, FS));
    ASSERT_TRUE(m_hht.EndRun());
    EXPECT_EQ(Result(), 1);
    EXPECT_EQ(ReadFile(m_recv / "A.TXT"), data);
  }
  static std::string Negative(const std::string& answer) {
    std::string nak = answer.substr(0, kShortLen);
    nak[1] = static_cast<char>(NAK);
    return nak;
  }
};

TEST_P(DamagedFrameRun, AFrameOneByteShortIsRefusedAboutOneSecondAfterItsLastByte) {
  const std::string data = Records(GetParam());
  const std::string answer = OpenFile(data);
  ASSERT_FALSE(answer.empty());
  std::string frame = TestTerminal::Data(STX, 1, data.substr(0, static_cast<std::size_t>(GetParam())), GetParam());
  frame.erase(frame.size() / 2, 1);
  m_hht.Send(frame);
  const auto sent = SteadyClock::now();
  // Before, the read waited 1 s per byte asked for: 109 s, or 67 minutes.
  EXPECT_EQ(m_hht.Receive(kShortLen, 10000), Negative(answer));
  const long waited = MsSince(sent);
  EXPECT_GE(waited, 900);
  EXPECT_LT(waited, 5000);
  ASSERT_NO_FATAL_FAILURE(Finish(data));
  EXPECT_NE(Log().find("Len = [" + std::to_string(GetParam() + 7) + "]"), std::string::npos);
}

TEST_P(DamagedFrameRun, AFrameWithAByteTooManyIsRefusedAtOnceAndTheByteDropped) {
  const std::string data = Records(GetParam());
  const std::string answer = OpenFile(data);
  ASSERT_FALSE(answer.empty());
  std::string frame = TestTerminal::Data(STX, 1, data.substr(0, static_cast<std::size_t>(GetParam())), GetParam());
  frame.insert(frame.size() / 2, 1, 'x');
  m_hht.Send(frame);
  const auto sent = SteadyClock::now();
  EXPECT_EQ(m_hht.Receive(kShortLen, 10000), Negative(answer));
  EXPECT_LT(MsSince(sent), 950);  // a full read is handed over without waiting
  // The byte too many went with the purge before the answer: the next frame
  // is read from its first byte.
  ASSERT_NO_FATAL_FAILURE(Finish(data));
  EXPECT_EQ(Log().find("Len = [1]"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, DamagedFrameRun, ::testing::Values(100, 4000));

}  // namespace
}  // namespace vtest
