#include "pty_pc.h"
#include "unique_fd.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

namespace hht::test {

namespace {
constexpr int kFrameGapMs = 60;
}

void PtyPc::Start(const std::string& slavePath, Millis limit) {
  thread_ = std::thread([this, slavePath, limit] { Serve(slavePath, limit); });
}

void PtyPc::Join() {
  if (thread_.joinable()) thread_.join();
}

void PtyPc::Serve(const std::string& slavePath, Millis limit) {
  const vantor::UniqueFd owner(::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!owner) return;
  const int fd = owner.Get();
  opened_ = true;
  ::tcflush(fd, TCIFLUSH);  // as the PC does when it opens its port
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::string frame;
  std::vector<std::uint8_t> answer(1 << 16);
  while (std::chrono::steady_clock::now() < deadline && !pc_.Closed()) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, frame.empty() ? 200 : kFrameGapMs) > 0) {
      char buf[8192];
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n <= 0) break;
      frame.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (frame.empty()) continue;
    pc_.Write({reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size()});
    frame.clear();
    const ReadResult r = pc_.Read(answer, Millis(0));
    if (r.count > 0 && ::write(fd, answer.data(), r.count) != static_cast<ssize_t>(r.count)) break;
  }
  ::tcdrain(fd);
}

}  // namespace hht::test
