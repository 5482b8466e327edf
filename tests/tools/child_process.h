#pragma once
// A program started by a test, with its standard output captured and every
// wait bounded: a child that does not end in time is killed, so a hanging
// program fails its test instead of hanging the suite.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "unique_fd.h"

namespace hht::test {

class ChildProcess {
 public:
  // Starts argv[0] with `env` added to this process's environment, in `cwd`
  // when given; its standard error is dropped unless keepStderr. Check
  // Started() before use.
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
               const std::string& cwd = {}, bool keepStderr = true);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // The next line of standard output; nothing at its end or after the time-out.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  // Waits for the end; after the time-out sends `stopSignal` and waits up to
  // 10 s more, then kills. Returns the exit status, or -1 when it died of a
  // signal. Killed() tells whether it had to be signalled.
  int Wait(std::chrono::milliseconds timeout, int stopSignal = 9);
  bool Killed() const { return killed_; }
  // Everything it wrote to standard output so far.
  const std::string& Output() const { return output_; }

 private:
  bool Pump(int timeoutMs);  // reads what there is; false at the end of output

  pid_t pid_ = -1;
  vantor::UniqueFd out_;
  std::string output_;
  std::size_t consumed_ = 0;
  bool killed_ = false;
  int status_ = -1;
  bool reaped_ = false;
};

}  // namespace hht::test
