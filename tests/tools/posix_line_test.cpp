// The line on a pseudo-terminal and on a serial device.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "com_line_posix.h"
#include "posix_line.h"

namespace hht::test {
namespace {

std::vector<std::uint8_t> EveryByteValue() {
  std::vector<std::uint8_t> bytes(256);
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

// Reads exactly n bytes from a blocking descriptor.
std::vector<std::uint8_t> ReadAll(int fd, std::size_t n) {
  std::vector<std::uint8_t> got(n);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t r = ::read(fd, got.data() + done, n - done);
    if (r <= 0) break;
    done += static_cast<std::size_t>(r);
  }
  got.resize(done);
  return got;
}

class PseudoTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = CreatePseudoTerminal();
    ASSERT_TRUE(opened_.line) << opened_.error;
  }
  UniqueFd OpenSlave() { return UniqueFd(::open(opened_.slavePath.c_str(), O_RDWR | O_NOCTTY)); }

  OpenedLine opened_;
};

TEST_F(PseudoTerminal, NamesAPrintableSlavePath) {
  EXPECT_EQ(opened_.slavePath.rfind("/dev/pts/", 0), 0u) << opened_.slavePath;
  EXPECT_TRUE(std::filesystem::exists(opened_.slavePath));
  for (char c : opened_.slavePath) EXPECT_TRUE(c > 0x20 && c < 0x7F);
}

TEST_F(PseudoTerminal, PassesEveryByteUnchangedBothWays) {
  // Control characters of the protocol are also a terminal's editing and
  // signal characters (ETX is ^C, EOT ^D, FS ^\, XON/XOFF): raw mode must
  // keep them all.
  UniqueFd slave = OpenSlave();
  ASSERT_GE(slave.Get(), 0);
  const auto bytes = EveryByteValue();

  ASSERT_FALSE(opened_.line->Write(bytes));
  EXPECT_EQ(ReadAll(slave.Get(), bytes.size()), bytes);

  ASSERT_EQ(::write(slave.Get(), bytes.data(), bytes.size()), 256);
  std::vector<std::uint8_t> got(256);
  const ReadResult r = opened_.line->Read(got, Millis(5000));
  EXPECT_FALSE(r.error) << r.error.message;
  EXPECT_EQ(r.count, 256u);
  EXPECT_EQ(got, bytes);
}

TEST_F(PseudoTerminal, WithNobodyThereReadsWaitAndWritesGoNowhere) {
  std::vector<std::uint8_t> buf(10);
  const ReadResult r = opened_.line->Read(buf, Millis(60));
  EXPECT_EQ(r.count, 0u);
  EXPECT_FALSE(r.hangup);
  EXPECT_FALSE(r.error);
  EXPECT_FALSE(opened_.line->Write(std::vector<std::uint8_t>(8192, 'x')));  // more than the line holds
  // What was written while nobody listened does not reach the PC that comes later.
  UniqueFd slave = OpenSlave();
  ASSERT_GE(slave.Get(), 0);
  ::fcntl(slave.Get(), F_SETFL, O_NONBLOCK);
  std::uint8_t b;
  EXPECT_EQ(::read(slave.Get(), &b, 1), -1);
}

TEST_F(PseudoTerminal, AReadWaitingForThePcReturnsWhenItOpensTheLine) {
  std::thread pc([path = opened_.slavePath] {
    std::this_thread::sleep_for(Millis(100));
    UniqueFd slave(::open(path.c_str(), O_RDWR | O_NOCTTY));
    std::this_thread::sleep_for(Millis(300));
  });
  std::vector<std::uint8_t> buf(10);
  const ReadResult r = opened_.line->Read(buf, Millis(30000));
  pc.join();
  EXPECT_TRUE(r.arrived);
  EXPECT_EQ(r.count, 0u);
}

TEST_F(PseudoTerminal, TheMasterSeesTheSlaveClose) {
  UniqueFd slave = OpenSlave();
  ASSERT_GE(slave.Get(), 0);
  ASSERT_EQ(::write(slave.Get(), "ab", 2), 2);
  std::vector<std::uint8_t> two(2);
  ASSERT_EQ(opened_.line->Read(two, Millis(5000)).count, 2u);
  slave = UniqueFd();

  std::vector<std::uint8_t> buf(10);
  const ReadResult r = opened_.line->Read(buf, Millis(30000));
  EXPECT_TRUE(r.hangup);
  EXPECT_EQ(r.count, 0u);
  // Reported once: afterwards the line waits for a PC again.
  const ReadResult again = opened_.line->Read(buf, Millis(50));
  EXPECT_FALSE(again.hangup);
  EXPECT_FALSE(again.error);
}

TEST_F(PseudoTerminal, DataWrittenJustBeforeTheCloseIsStillRead) {
  UniqueFd slave = OpenSlave();
  ASSERT_GE(slave.Get(), 0);
  std::vector<std::uint8_t> buf(1);
  opened_.line->Read(buf, Millis(1));  // the line has seen the PC
  ASSERT_EQ(::write(slave.Get(), "0123456789", 10), 10);
  slave = UniqueFd();
  std::vector<std::uint8_t> ten(10);
  const ReadResult r = opened_.line->Read(ten, Millis(5000));
  EXPECT_EQ(r.count, 10u);
  EXPECT_EQ(std::string(ten.begin(), ten.end()), "0123456789");
}

TEST(SerialDevice, IsSetRawEightNOneWithSoftwareFlowControlAndPutBackAtClose) {
  OpenedLine pty = CreatePseudoTerminal();
  ASSERT_TRUE(pty.line) << pty.error;
  UniqueFd watcher(::open(pty.slavePath.c_str(), O_RDWR | O_NOCTTY));
  termios before{};
  ASSERT_EQ(::tcgetattr(watcher.Get(), &before), 0);
  {
    OpenedLine dev = OpenSerialDevice(pty.slavePath, 38400);
    ASSERT_TRUE(dev.line) << dev.error;
    termios t{};
    ASSERT_EQ(::tcgetattr(watcher.Get(), &t), 0);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B38400));
  }
  termios after{};
  ASSERT_EQ(::tcgetattr(watcher.Get(), &after), 0);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(::cfgetospeed(&after), ::cfgetospeed(&before));
}

TEST(SerialDevice, OpensAtEverySpeedThePcAccepts) {
  for (int speed : {9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000}) {
    OpenedLine pty = CreatePseudoTerminal();
    ASSERT_TRUE(pty.line) << pty.error;
    UniqueFd watcher(::open(pty.slavePath.c_str(), O_RDWR | O_NOCTTY));
    OpenedLine dev = OpenSerialDevice(pty.slavePath, speed);
    ASSERT_TRUE(dev.line) << speed << ": " << dev.error;
    EXPECT_EQ(vantor::ReadLineSpeed(watcher.Get()), speed);
  }
  for (int speed : {300, 4800, 12345, 230400}) {
    const OpenedLine refused = OpenSerialDevice("/dev/null", speed);
    EXPECT_FALSE(refused.line) << speed;
    EXPECT_NE(refused.error.find("14400"), std::string::npos) << refused.error;
  }
}

TEST(SerialDevice, ReportsWhyItCannotBeOpened) {
  const OpenedLine missing = OpenSerialDevice("/dev/no-such-tty", 19200);
  EXPECT_FALSE(missing.line);
  EXPECT_NE(missing.error.find("/dev/no-such-tty"), std::string::npos) << missing.error;
  const OpenedLine notATty = OpenSerialDevice("/dev/null", 19200);
  EXPECT_FALSE(notATty.line);
  EXPECT_NE(notATty.error.find("not a serial line"), std::string::npos) << notATty.error;
  const OpenedLine badSpeed = OpenSerialDevice("/dev/null", 12345);
  EXPECT_FALSE(badSpeed.line);
  EXPECT_NE(badSpeed.error.find("12345"), std::string::npos) << badSpeed.error;
}

}  // namespace
}  // namespace hht::test
