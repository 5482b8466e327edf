#include "line_settings_posix.h"

#include "com_line_posix.h"  // SetLineSpeed

namespace vantor {
namespace {

// The classic constant of a speed; 0 for the speeds that only the
// arbitrary-rate interface can set (14400, 56000, 128000, 256000).
speed_t ClassicSpeed(int speed) {
  switch (speed) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
  }
}

}  // namespace

bool MakeLineSettings(termios& t, int speed, cc_t vmin) {
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | INPCK);
  t.c_iflag |= IXON | IXOFF;
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VSTART] = 0x11;
  t.c_cc[VSTOP] = 0x13;
  t.c_cc[VMIN] = vmin;
  t.c_cc[VTIME] = 0;
  const speed_t classic = ClassicSpeed(speed);
  return classic == 0 || (::cfsetispeed(&t, classic) == 0 && ::cfsetospeed(&t, classic) == 0);
}

bool ApplyLineSpeed(int fd, int speed) {
  const speed_t classic = ClassicSpeed(speed);
  if (classic == 0) return SetLineSpeed(fd, speed);
  termios check{};
  return ::tcgetattr(fd, &check) == 0 && ::cfgetospeed(&check) == classic;
}

}  // namespace vantor
