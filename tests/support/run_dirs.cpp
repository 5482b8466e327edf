#include "run_dirs.h"

#include <stdlib.h>

#include <chrono>
#include <thread>

namespace vtest {

namespace fs = std::filesystem;

RunDirs::RunDirs(const std::string& comDevice) {
  m_root = m_tmp.Path();
  m_cwd = m_root / "cwd";
  m_recv = m_root / "recv";
  m_send = m_root / "send";
  fs::create_directories(m_cwd);
  fs::create_directories(m_recv);
  fs::create_directories(m_send);
  m_oldCwd = fs::current_path();
  fs::current_path(m_cwd);
  ::setenv("VANTOR_COM1", comDevice.c_str(), 1);
}

RunDirs::~RunDirs() {
  fs::current_path(m_oldCwd);
  ::unsetenv("VANTOR_COM1");
}

bool RunDirs::WaitForPortOpen(int timeoutMs) const {
  // Polling the log is the only sign of the open that a terminal has; the
  // library writes the directory entry right after "Port Open".
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string log = Log();
    if (log.find("Port Open\r\n") != std::string::npos && log.find("SendDir = [") != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

}  // namespace vtest
