// Line speeds on Linux. The classic termios constants cover 9600, 19200,
// 38400, 57600 and 115200; 14400, 56000, 128000 and 256000 go through the
// kernel's termios2 interface (BOTHER), which takes any rate. This file uses the
// kernel's own termios definitions, which clash with glibc's, so it includes no
// other header that pulls in <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace vantor {

bool SetLineSpeed(int fd, int speed) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ispeed = static_cast<speed_t>(speed);
  tio.c_ospeed = static_cast<speed_t>(speed);
  if (ioctl(fd, TCSETS2, &tio) != 0) return false;
  struct termios2 check {};
  if (ioctl(fd, TCGETS2, &check) != 0) return false;
  return check.c_ospeed == static_cast<speed_t>(speed) && check.c_ispeed == static_cast<speed_t>(speed);
}

long ReadLineSpeed(int fd) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return -1;
  return static_cast<long>(tio.c_ospeed);
}

}  // namespace vantor
