#pragma once
// <poll.h> for the Windows build of the test support, whose
// test terminal speaks on a pseudo-terminal's master: that side is a Linux
// program, so under Windows poll() always fails with ENOSYS. The unit tests
// use the terminal's frame builders only.
#include <errno.h>

struct pollfd {
  int fd;
  short events;
  short revents;
};
#define POLLIN 0x0001
#define POLLOUT 0x0004
#define POLLERR 0x0008
#define POLLHUP 0x0010

inline int poll(struct pollfd*, unsigned long, int) {
  errno = ENOSYS;
  return -1;
}
