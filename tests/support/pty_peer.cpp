// pty-peer: the other end of the line for tests of the Windows backend under
// Wine. It makes a pseudo-terminal, points a stable link (the one Wine's COM1
// is mapped to) at its slave, runs the given command, and answers on the
// master until the command ends; its exit status is the command's.
//
// It echoes every byte back, except three-byte commands that start with ESC
// and end with '!', which script what a test needs from a terminal:
//   ESC H !   hang up: close the master (the port vanishes)
//   ESC T !   trickle: send "0123456789", one byte every 100 ms
//   ESC S !   silence: swallow everything from now on
//   ESC C !   count: read nothing for 1 s (what the program writes and
//             closes meanwhile waits unread on the line), then count the
//             bytes instead of echoing them
//   ESC R !   report: write the count as decimal text and a line end, and
//             echo again
//
//   pty-peer --link PATH -- COMMAND [ARG...]
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "pty-peer: %s: %s\n", what, std::strerror(errno));
  return 125;
}

void WriteAll(int fd, const char* data, std::size_t len) {
  while (len > 0) {
    const ssize_t n = ::write(fd, data, len);
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      return;
    }
    data += n;
    len -= static_cast<std::size_t>(n);
  }
}

class Peer {
 public:
  explicit Peer(int master) : m_master(master) {}

  // Handles received bytes; false once the line was hung up.
  bool Take(const char* data, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i) {
      if (m_silent) continue;
      m_pending.push_back(data[i]);
      if (m_pending[0] != '\x1b') {
        Flush();
        continue;
      }
      if (m_pending.size() < 3) continue;
      if (m_pending[2] != '!') {
        Flush();
        continue;
      }
      const char cmd = m_pending[1];
      m_pending.clear();
      if (cmd == 'H') return false;
      if (cmd == 'S') m_silent = true;
      if (cmd == 'T') Trickle();
      if (cmd == 'C') {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        m_counting = true;
        m_count = 0;
      }
      if (cmd == 'R') {
        const std::string report = std::to_string(m_count) + "\n";
        WriteAll(m_master, report.data(), report.size());
        m_counting = false;
      }
    }
    if (!m_pending.empty() && m_pending[0] != '\x1b') Flush();
    return true;
  }

 private:
  void Flush() {
    if (m_counting) {
      m_count += m_pending.size();
    } else {
      WriteAll(m_master, m_pending.data(), m_pending.size());
    }
    m_pending.clear();
  }
  void Trickle() {
    for (char c = '0'; c <= '9'; ++c) {
      WriteAll(m_master, &c, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }

  int m_master;
  std::string m_pending;
  bool m_silent = false;
  bool m_counting = false;
  std::size_t m_count = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string link;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--link" && i + 1 < argc) {
      link = argv[++i];
    } else if (arg == "--") {
      ++i;
      break;
    } else {
      break;
    }
  }
  if (link.empty() || i >= argc) {
    std::fprintf(stderr, "usage: pty-peer --link PATH -- COMMAND [ARG...]\n");
    return 125;
  }
  int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return Fail("posix_openpt");
  const std::string slave = ::ptsname(master);
  // Held open so that the line does not hang up before the program opens it.
  const int keep = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (keep < 0) return Fail(slave.c_str());
  ::unlink(link.c_str());
  if (::symlink(slave.c_str(), link.c_str()) != 0) return Fail(link.c_str());

  const pid_t child = ::fork();
  if (child < 0) return Fail("fork");
  if (child == 0) {
    ::execvp(argv[i], argv + i);
    std::_Exit(Fail(argv[i]));
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  Peer peer(master);
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (master < 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      continue;
    }
    pollfd fd{master, POLLIN, 0};
    if (::poll(&fd, 1, 20) <= 0) continue;
    char buf[8192];
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n <= 0) continue;  // EIO while the slave is not open: nothing to answer
    if (!peer.Take(buf, static_cast<std::size_t>(n))) {
      ::close(keep);
      ::close(master);
      master = -1;
    }
  }
  if (master >= 0) ::close(master);
  ::unlink(link.c_str());
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
