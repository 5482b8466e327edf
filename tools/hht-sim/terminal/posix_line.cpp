#include "posix_line.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "line_settings_posix.h"  // the library's line settings and speeds
#include "result_codes.h"    // the speeds the library accepts (IsAcceptedSpeed)

namespace hht {

namespace {

using Clock = std::chrono::steady_clock;

// How often a read looks again for a PC while nobody holds the slave: the
// kernel offers no wake-up for a slave being opened.
constexpr Millis kAbsentPoll{20};
// A write that makes no progress for this long is stuck (an XOFF that never
// ended, or a PC that stopped reading).
constexpr Millis kWriteStall{10000};

std::string SystemMessage(const std::string& what, int code) { return what + ": " + std::strerror(code); }

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1'000'000'000));
}

short PollOnce(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  const int rc = ::poll(&p, 1, timeoutMs);
  return rc > 0 ? p.revents : 0;
}

}  // namespace

PosixLine::PosixLine(UniqueFd fd, bool isPty) : fd_(std::move(fd)), isPty_(isPty) {}

PosixLine::~PosixLine() {
  if (haveSaved_) ::tcsetattr(fd_.Get(), TCSANOW, &saved_);
}

void PosixLine::RestoreOnClose(const termios& saved) {
  saved_ = saved;
  haveSaved_ = true;
}

bool PosixLine::PeerAbsent() {
  // POLLHUP on a master: no process holds the slave open.
  return isPty_ && (PollOnce(fd_.Get(), POLLOUT, 0) & POLLHUP) != 0;
}

LineError PosixLine::Write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  auto lastProgress = Clock::now();
  while (done < bytes.size()) {
    if (PeerAbsent()) return {};  // nobody there: the bytes go nowhere
    const ssize_t n = ::write(fd_.Get(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      lastProgress = Clock::now();
      continue;
    }
    if (n < 0 && errno == EIO && isPty_) return {};  // the PC let go in between
    if (n < 0 && errno != EAGAIN && errno != EINTR) return {SystemMessage("write", errno)};
    const int left = MsLeft(lastProgress + kWriteStall);
    if (left == 0) return {"write: the line has taken no data for 10 s (flow control stopped it?)"};
    PollOnce(fd_.Get(), POLLOUT, std::min(left, 100));
  }
  return {};
}

ReadResult PosixLine::Read(std::span<std::uint8_t> buffer, Millis timeout) {
  ReadResult r;
  const auto deadline = Clock::now() + timeout;
  bool waitedForPeer = false;
  while (r.count < buffer.size()) {
    const ssize_t n = ::read(fd_.Get(), buffer.data() + r.count, buffer.size() - r.count);
    if (n > 0) {
      r.count += static_cast<std::size_t>(n);
      peerSeen_ = true;
      continue;
    }
    const int err = n < 0 ? errno : 0;
    if (isPty_ && err == EIO) {
      // Nobody holds the slave. Report the PC's leaving once; before it came,
      // or after the report, wait for it as a line without a PC would.
      if (peerSeen_) {
        peerSeen_ = false;
        r.hangup = true;
        return r;
      }
      const int left = MsLeft(deadline);
      if (left == 0) break;
      waitedForPeer = true;
      std::this_thread::sleep_for(std::min(Millis(left), kAbsentPoll));
      continue;
    }
    if (n < 0 && err != EAGAIN && err != EINTR) {
      r.error.message = SystemMessage("read", err);
      return r;
    }
    if (waitedForPeer && r.count == 0) {
      // The PC has just opened the slave: whoever waits for it may want to
      // speak now rather than at the end of its wait.
      peerSeen_ = true;
      r.arrived = true;
      return r;
    }
    const int left = MsLeft(deadline);
    if (left == 0) break;
    const short ev = PollOnce(fd_.Get(), POLLIN, left);
    if (isPty_ && (ev & POLLHUP) == 0) peerSeen_ = true;
    if (!isPty_ && (ev & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (ev & POLLIN) == 0) {
      r.error.message = "read: the device hung up";
      return r;
    }
  }
  return r;
}

void PosixLine::DiscardInput() {
  ::tcflush(fd_.Get(), TCIFLUSH);
  std::uint8_t sink[512];
  while (::read(fd_.Get(), sink, sizeof sink) > 0) {
  }
}

OpenedLine OpenSerialDevice(const std::string& path, int speed) {
  OpenedLine out;
  if (!vantor::IsAcceptedSpeed(speed)) {
    out.error = "speed " + std::to_string(speed) + " is not one of " + kSpeeds;
    return out;
  }
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) {
    out.error = SystemMessage(path, errno);
    return out;
  }
  termios saved{};
  if (::tcgetattr(fd.Get(), &saved) != 0) {
    out.error = SystemMessage(path + " is not a serial line", errno);
    return out;
  }
  // The PC's line settings, with reads that never wait for a byte.
  termios t = saved;
  if (!vantor::MakeLineSettings(t, speed, 0) || ::tcsetattr(fd.Get(), TCSANOW, &t) != 0) {
    out.error = SystemMessage(path + ": settings refused", errno);
    ::tcsetattr(fd.Get(), TCSANOW, &saved);
    return out;
  }
  if (!vantor::ApplyLineSpeed(fd.Get(), speed)) {
    out.error = path + ": speed " + std::to_string(speed) + " refused";
    ::tcsetattr(fd.Get(), TCSANOW, &saved);
    return out;
  }
  ::tcflush(fd.Get(), TCIOFLUSH);
  out.line = std::make_unique<PosixLine>(std::move(fd), false);
  out.line->RestoreOnClose(saved);
  return out;
}

OpenedLine CreatePseudoTerminal() {
  OpenedLine out;
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (master.Get() < 0) {
    out.error = SystemMessage("posix_openpt", errno);
    return out;
  }
  char name[128];
  if (::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0 ||
      ::ptsname_r(master.Get(), name, sizeof name) != 0) {
    out.error = SystemMessage("pseudo-terminal", errno);
    return out;
  }
  // The slave's settings outlive this open: they stay with the pseudo-terminal
  // until the PC sets its own. Raw, so that nothing is echoed or translated.
  UniqueFd slave(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
  termios t{};
  if (slave.Get() < 0 || ::tcgetattr(slave.Get(), &t) != 0) {
    out.error = SystemMessage(name, errno);
    return out;
  }
  ::cfmakeraw(&t);
  if (::tcsetattr(slave.Get(), TCSANOW, &t) != 0) {
    out.error = SystemMessage(std::string(name) + ": settings refused", errno);
    return out;
  }
  out.slavePath = name;
  out.line = std::make_unique<PosixLine>(std::move(master), true);
  return out;
}

}  // namespace hht
