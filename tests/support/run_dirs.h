#pragma once
// The surroundings of one transfer in a test: fresh receive and send
// directories, a current directory of its own (for Log/comm.log), and port 1
// named to the library as the slave of the given pseudo-terminal.

#include <filesystem>
#include <string>

#include "temp_dir.h"
#include "test_files.h"

namespace vtest {

class RunDirs {
 public:
  explicit RunDirs(const std::string& comDevice);
  ~RunDirs();
  RunDirs(const RunDirs&) = delete;
  RunDirs& operator=(const RunDirs&) = delete;

  std::string Log() const { return ReadFile(m_cwd / "Log/comm.log"); }
  // Blocks until the log shows the line open (frames sent before the open are
  // discarded by it); false after timeoutMs.
  bool WaitForPortOpen(int timeoutMs = 10000) const;

  TempDir m_tmp{"vantor-run"};
  std::filesystem::path m_root, m_cwd, m_recv, m_send;

 private:
  std::filesystem::path m_oldCwd;
};

}  // namespace vtest
