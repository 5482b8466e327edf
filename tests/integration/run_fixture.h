#pragma once
// A transfer over a pseudo-terminal: the library (RunTransfer with the real
// POSIX line and clock, headless window) runs on a thread of its own while the
// test speaks the terminal's side on the master. Every test gets fresh receive
// and send directories and its own current directory for Log/comm.log.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <future>
#include <string>

#include "pty_pair.h"
#include "run_dirs.h"
#include "run_transfer.h"
#include "test_terminal.h"

namespace vtest {

class RunFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts a transfer on port 1 (the pty) with the given append flag.
  void Start(int appendMode = 0, int speed = 19200);
  // Waits for the transfer's result (at most timeoutS seconds).
  int Result(int timeoutS = 60);
  std::string Log() const { return m_dirs.Log(); }

  PtyPair m_pty;
  RunDirs m_dirs{m_pty.SlavePath()};
  std::filesystem::path &m_root = m_dirs.m_root, &m_cwd = m_dirs.m_cwd;
  std::filesystem::path &m_recv = m_dirs.m_recv, &m_send = m_dirs.m_send;
  TestTerminal m_hht{m_pty.MasterFd()};
  std::future<int> m_result;
  std::FILE* m_status = nullptr;  // what the headless window printed
};

}  // namespace vtest
