#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

extern char** environ;

namespace hht::test {

namespace {
using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}
}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                           const std::string& cwd, bool keepStderr) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  if (!keepStderr) ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (!cwd.empty()) ::posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envText = env;
  std::vector<char*> envp;
  for (char** e = environ; *e != nullptr; ++e) envp.push_back(*e);
  for (std::string& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0) pid_ = pid;
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  out_.Reset(pipeFds[0]);
  ::fcntl(out_.Get(), F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !reaped_) Wait(std::chrono::milliseconds(0));
}

bool ChildProcess::Pump(int timeoutMs) {
  pollfd p{out_.Get(), POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) <= 0) return true;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(out_.Get(), buf, sizeof buf);
    if (n > 0) {
      output_.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    return n < 0;  // 0: the child closed its output
  }
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const std::size_t nl = output_.find('\n', consumed_);
    if (nl != std::string::npos) {
      std::string line = output_.substr(consumed_, nl - consumed_);
      consumed_ = nl + 1;
      return line;
    }
    const int left = MsLeft(deadline);
    if (left == 0 || !Pump(left)) return std::nullopt;
  }
}

int ChildProcess::Wait(std::chrono::milliseconds timeout, int stopSignal) {
  if (pid_ <= 0) return -1;
  if (reaped_) return status_;
  auto deadline = Clock::now() + timeout;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    const int left = MsLeft(deadline);
    if (left == 0 && !killed_ && stopSignal != SIGKILL) {
      killed_ = true;
      ::kill(pid_, stopSignal);
      deadline = Clock::now() + std::chrono::seconds(10);
      continue;
    }
    if (left == 0) {
      killed_ = true;
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    // The output pipe wakes us when the child writes or ends; the cap keeps a
    // child that ends without closing inherited output from costing the wait.
    Pump(left < 50 ? left : 50);
  }
  while (Pump(0) && output_.size() < (1u << 26)) {
    pollfd p{out_.Get(), POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) break;
  }
  reaped_ = true;
  status_ = !killed_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return status_;
}

}  // namespace hht::test
