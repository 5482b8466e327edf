#include <fcntl.h>
#include <unistd.h>
#include <thread>
// The POSIX line on a pseudo-terminal: settings, speeds, the device mapping.
#include <gtest/gtest.h>
#include <termios.h>

#include "com_line_posix.h"
#include "pty_pair.h"

namespace {

using namespace vantor;

TEST(PosixLine, ComNamesMapToTheEnvironmentOrTtyS) {
  ::unsetenv("VANTOR_COM3");
  EXPECT_EQ(DeviceForPort("COM3"), "/dev/ttyS2");
  ::setenv("VANTOR_COM3", "", 1);
  EXPECT_EQ(DeviceForPort("COM3"), "/dev/ttyS2");
  ::setenv("VANTOR_COM3", "/dev/pts/7", 1);
  EXPECT_EQ(DeviceForPort("COM3"), "/dev/pts/7");
  ::unsetenv("VANTOR_COM3");
  EXPECT_EQ(DeviceForPort("LPT1"), "");
}

TEST(PosixLine, EveryAcceptedSpeedIsSetWithTheProtocolsLineSettings) {
  for (int speed : {9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000}) {
    vtest::PtyPair pty;
    ::setenv("VANTOR_COM4", pty.SlavePath().c_str(), 1);
    CPosixComLine line;
    ASSERT_FALSE(line.Open("COM4", speed)) << speed;
    // Read the settings through a second look at the slave.
    const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    if (fd >= 0) {
      ::tcgetattr(fd, &t);
      EXPECT_EQ(ReadLineSpeed(fd), speed);
      EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
      EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
      EXPECT_NE(t.c_cflag & CLOCAL, 0u);
      EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), static_cast<tcflag_t>(IXON | IXOFF));
      EXPECT_EQ(t.c_cc[VSTART], 0x11);
      EXPECT_EQ(t.c_cc[VSTOP], 0x13);
      EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
      ::close(fd);
    }
    line.Close();
  }
  ::unsetenv("VANTOR_COM4");
}

TEST(PosixLine, CloseRestoresTheSettingsFoundAtOpen) {
  vtest::PtyPair pty;
  ::setenv("VANTOR_COM4", pty.SlavePath().c_str(), 1);
  const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
  termios before{};
  ::tcgetattr(fd, &before);
  {
    CPosixComLine line;
    ASSERT_FALSE(line.Open("COM4", 38400));
    line.Close();
  }
  termios after{};
  ::tcgetattr(fd, &after);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  ::close(fd);
  ::unsetenv("VANTOR_COM4");
}

TEST(PosixLine, PurgeEndsAPendingReadWithWhatItHas) {
  vtest::PtyPair pty;
  ::setenv("VANTOR_COM4", pty.SlavePath().c_str(), 1);
  CPosixComLine line;
  ASSERT_FALSE(line.Open("COM4", 19200));
  ASSERT_EQ(::write(pty.MasterFd(), "abc", 3), 3);
  ASSERT_EQ(line.WaitEvent(), CComLine::Event::RxChar);
  std::uint8_t buf[1024];
  int got = -1;
  std::thread reader([&] { got = line.Read(buf, 1024, 60000); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  line.PurgeInput();
  reader.join();
  EXPECT_EQ(got, 3);
  // Output written before a purge is not discarded.
  const std::uint8_t frame[] = {0x02, 0x06, 0x03};
  EXPECT_EQ(line.Write(frame, 3, 1000), 3);
  line.PurgeInput();
  char out[8] = {};
  EXPECT_EQ(::read(pty.MasterFd(), out, sizeof out), 3);
  line.Close();
  ::unsetenv("VANTOR_COM4");
}

TEST(PosixLine, ShortReadEndsAtTheTimeOut) {
  vtest::PtyPair pty;
  ::setenv("VANTOR_COM4", pty.SlavePath().c_str(), 1);
  CPosixComLine line;
  ASSERT_FALSE(line.Open("COM4", 19200));
  ASSERT_EQ(::write(pty.MasterFd(), "ab", 2), 2);
  std::uint8_t buf[16];
  EXPECT_EQ(line.Read(buf, 10, 200), 2);
  line.Close();
  ::unsetenv("VANTOR_COM4");
}

TEST(PosixLine, TheReadTimeOutRunsFromTheLastByte) {
  vtest::PtyPair pty;
  ::setenv("VANTOR_COM4", pty.SlavePath().c_str(), 1);
  CPosixComLine line;
  ASSERT_FALSE(line.Open("COM4", 19200));
  using SteadyClock = std::chrono::steady_clock;
  const auto ms = [](SteadyClock::duration d) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
  };
  // Six bytes over 1.5 s, each well within the 1 s interval of the one before:
  // the read takes them all although the whole takes longer than the interval.
  std::uint8_t buf[16];
  int got = 0;
  SteadyClock::time_point returned;
  std::thread reader([&] {
    got = line.Read(buf, 10, 1000);
    returned = SteadyClock::now();
  });
  SteadyClock::time_point last;
  for (int i = 0; i < 6; ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(::write(pty.MasterFd(), "abcdef" + i, 1), 1);
    last = SteadyClock::now();
  }
  reader.join();
  EXPECT_EQ(got, 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 6), "abcdef");
  // Handed back about an interval after the last byte, not at once.
  EXPECT_GE(ms(returned - last), 900);
  EXPECT_LT(ms(returned - last), 5000);

  // A piece that is complete is handed back without waiting for the interval.
  ASSERT_EQ(::write(pty.MasterFd(), "0123456789", 10), 10);
  const auto start = SteadyClock::now();
  EXPECT_EQ(line.Read(buf, 10, 60000), 10);
  EXPECT_LT(ms(SteadyClock::now() - start), 30000);
  line.Close();
  ::unsetenv("VANTOR_COM4");
}

}  // namespace
