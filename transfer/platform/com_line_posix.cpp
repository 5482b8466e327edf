#include "com_line_posix.h"
#include "line_settings_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace vantor {
namespace {

using SteadyClock = std::chrono::steady_clock;

ComError SystemError(const std::string& what) {
  ComError err = LastSystemError();
  err.message = what + ": " + err.message;
  return err;
}

int MsLeft(SteadyClock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left > 1000000000 ? 1000000000 : left);
}

SteadyClock::time_point DeadlineIn(int ms) { return SteadyClock::now() + std::chrono::milliseconds(ms); }

bool IsHangUp(short revents) { return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0; }

}  // namespace

std::string NativeDeviceForPort(const std::string& portName) { return "/dev/ttyS" + std::to_string(portName[3] - '1'); }

std::unique_ptr<CComLine> CreateComLine() { return std::make_unique<CPosixComLine>(); }

CPosixComLine::CPosixComLine() = default;

CPosixComLine::~CPosixComLine() { Close(); }

ComError CPosixComLine::Open(const std::string& portName, int speed) {
  const std::string device = DeviceForPort(portName);
  if (device.empty()) return {EINVAL, portName + ": not a COM port name"};
  // A second Open without a Close in between ends the first line properly.
  Close();
  m_haveSaved = false;
  m_wakeFd.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!m_wakeFd) return SystemError("eventfd");
  m_fd.Reset(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!m_fd) return SystemError(device);
  ComError err = Configure(speed);
  if (err) {
    err.message = device + ": " + err.message;
    if (m_haveSaved) ::tcsetattr(m_fd.Get(), TCSANOW, &m_saved);
    m_fd.Reset();
    return err;
  }
  m_closed = false;
  return {};
}

ComError CPosixComLine::Configure(int speed) {
  if (::tcgetattr(m_fd.Get(), &m_saved) != 0) return SystemError("not a serial line");
  m_haveSaved = true;
  ::ioctl(m_fd.Get(), TIOCEXCL);  // no sharing, as far as the system allows

  termios t = m_saved;
  // With VMIN 1 a non-blocking read says "no data yet" with EAGAIN, so that
  // end of file (0) means the line hung up.
  if (!MakeLineSettings(t, speed, 1)) return {EINVAL, "speed refused"};
  if (::tcsetattr(m_fd.Get(), TCSANOW, &t) != 0) return SystemError("settings refused");
  // tcsetattr succeeds when any one change took effect: read back and compare.
  termios check{};
  if (::tcgetattr(m_fd.Get(), &check) != 0) return SystemError("settings refused");
  const tcflag_t cmask = CSIZE | PARENB | CSTOPB | CREAD | CLOCAL;
  if ((check.c_cflag & cmask) != (t.c_cflag & cmask) || (check.c_iflag & (IXON | IXOFF | IXANY)) != (IXON | IXOFF) ||
      (check.c_lflag & ICANON) != 0) {
    return {EINVAL, "settings refused"};
  }
  if (!ApplyLineSpeed(m_fd.Get(), speed)) {
    return {EINVAL, "speed " + std::to_string(speed) + " refused"};
  }
  ::tcflush(m_fd.Get(), TCIOFLUSH);
  int dtr = TIOCM_DTR;
  ::ioctl(m_fd.Get(), TIOCMBIS, &dtr);  // a pseudo-terminal has no DTR: not an error
  return {};
}

void CPosixComLine::Close() {
  if (m_closed.exchange(true) || !m_fd) return;
  // Let what was written leave the line, but never wait long: output that is
  // stuck (the terminal sent XOFF and went away) is dropped.
  WaitOutputDrained(1000);
  int queued = 0;
  if (::ioctl(m_fd.Get(), TIOCOUTQ, &queued) == 0 && queued > 0) ::tcflush(m_fd.Get(), TCOFLUSH);
  ::tcflush(m_fd.Get(), TCIFLUSH);
  if (m_haveSaved) ::tcsetattr(m_fd.Get(), TCSANOW, &m_saved);
  ::ioctl(m_fd.Get(), TIOCNXCL);
  // The watch thread may still be polling the descriptor: put /dev/null in its
  // place instead of closing it, so the number cannot be reused under it. The
  // device itself is released with the last reference.
  const UniqueFd devnull(::open("/dev/null", O_RDWR | O_CLOEXEC));
  if (devnull) ::dup2(devnull.Get(), m_fd.Get());
  Wake();
}

void CPosixComLine::WaitOutputDrained(int timeoutMs) {
  const auto deadline = DeadlineIn(timeoutMs);
  for (;;) {
    int queued = 0;
    if (::ioctl(m_fd.Get(), TIOCOUTQ, &queued) != 0 || queued == 0) return;
    if (MsLeft(deadline) == 0) return;
    // The kernel offers no wake-up for an emptied output queue short of
    // tcdrain, which cannot be bounded; a few milliseconds per look is cheap.
    ::usleep(2000);
  }
}

void CPosixComLine::Wake() {
  if (!m_wakeFd) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] auto n = ::write(m_wakeFd.Get(), &one, sizeof one);
}

void CPosixComLine::DrainWake() {
  std::uint64_t count = 0;
  [[maybe_unused]] auto n = ::read(m_wakeFd.Get(), &count, sizeof count);
}

CComLine::Event CPosixComLine::WaitEvent() {
  for (;;) {
    if (m_closed) return Event::Woken;
    pollfd fds[2] = {{m_fd.Get(), POLLIN, 0}, {m_wakeFd.Get(), POLLIN, 0}};
    const int rc = ::poll(fds, 2, -1);
    if (rc < 0) {
      if (errno == EINTR) continue;
      return Event::Failed;
    }
    if (fds[1].revents != 0) {
      DrainWake();
      return Event::Woken;
    }
    // A hung-up line also reports POLLIN (reads give end of file): only input
    // that is really queued counts then.
    const bool hungUp = IsHangUp(fds[0].revents);
    if ((fds[0].revents & POLLIN) != 0 && (!hungUp || QueuedInput() > 0)) return Event::RxChar;
    if (hungUp) return Event::Failed;
  }
}

int CPosixComLine::QueuedInput() {
  int queued = 0;
  if (m_closed || ::ioctl(m_fd.Get(), FIONREAD, &queued) != 0) return 0;
  return queued;
}

int CPosixComLine::Read(std::uint8_t* buf, int count, int timeoutMs) {
  const unsigned gen = m_purgeGen;
  // An interval time-out: every byte that arrives gives the line timeoutMs more.
  auto deadline = DeadlineIn(timeoutMs);
  int got = 0;
  while (got < count && !m_closed && m_purgeGen == gen) {
    const ssize_t n = ::read(m_fd.Get(), buf + got, static_cast<std::size_t>(count - got));
    if (n > 0) {
      got += static_cast<int>(n);
      deadline = DeadlineIn(timeoutMs);
      continue;
    }
    // End of file (0) or an error other than "no data yet": the line hung up,
    // and the next wait reports it.
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) break;
    const int left = MsLeft(deadline);
    if (left == 0) break;
    pollfd fds[2] = {{m_fd.Get(), POLLIN, 0}, {m_wakeFd.Get(), POLLIN, 0}};
    const int rc = ::poll(fds, 2, left);
    if (rc < 0 && errno != EINTR) break;
    if (fds[1].revents != 0) DrainWake();
    if ((fds[0].revents & POLLIN) == 0 && IsHangUp(fds[0].revents)) break;
  }
  return got;
}

int CPosixComLine::Write(const std::uint8_t* buf, int len, int timeoutMs) {
  if (m_closed) return 0;
  const auto deadline = DeadlineIn(timeoutMs);
  int sent = 0;
  while (sent < len) {
    const ssize_t n = ::write(m_fd.Get(), buf + sent, static_cast<std::size_t>(len - sent));
    if (n > 0) {
      sent += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return 0;
    const int left = MsLeft(deadline);
    if (left == 0) return 0;
    pollfd fd = {m_fd.Get(), POLLOUT, 0};
    if (::poll(&fd, 1, left) < 0 && errno != EINTR) return 0;
    if ((fd.revents & POLLOUT) == 0 && IsHangUp(fd.revents)) return 0;
  }
  WaitOutputDrained(MsLeft(deadline));
  int queued = 0;
  if (::ioctl(m_fd.Get(), TIOCOUTQ, &queued) == 0 && queued > 0) return 0;
  return len;
}

void CPosixComLine::PurgeInput() {
  if (m_closed) return;
  ::tcflush(m_fd.Get(), TCIFLUSH);
  ++m_purgeGen;
  Wake();
}

}  // namespace vantor
