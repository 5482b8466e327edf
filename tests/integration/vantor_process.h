#pragma once
// The vantor program as a child process, for tests of the command line and of
// runs that are killed: its standard output and error go to files.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_files.h"

namespace vtest {

struct Outcome {
  int exitStatus = -1;
  std::string out, err;
};

// Starts vantor with the given arguments (and the environment of the test).
class Vantor {
 public:
  Vantor(const std::vector<std::string>& args, const std::filesystem::path& dir) : m_dir(dir) {
    m_pid = ::fork();
    if (m_pid == 0) {
      std::vector<char*> argv{const_cast<char*>(VANTOR_BIN)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      std::freopen((dir / "out.txt").c_str(), "w", stdout);
      std::freopen((dir / "err.txt").c_str(), "w", stderr);
      ::execv(VANTOR_BIN, argv.data());
      ::_exit(127);
    }
  }
  void Signal(int sig) { ::kill(m_pid, sig); }
  Outcome Wait() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    Outcome o;
    o.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    o.out = ReadFile(m_dir / "out.txt");
    o.err = ReadFile(m_dir / "err.txt");
    return o;
  }

 private:
  std::filesystem::path m_dir;
  pid_t m_pid = -1;
};

}  // namespace vtest
