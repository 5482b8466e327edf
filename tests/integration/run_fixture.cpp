#include "run_fixture.h"

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "clock.h"
#include "com_line.h"
#include "headless_window.h"

namespace vtest {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

void RunFixture::SetUp() {
  char tmpl[] = "/tmp/vantor-it-XXXXXX";
  m_root = ::mkdtemp(tmpl);
  m_cwd = m_root / "cwd";
  m_recv = m_root / "recv";
  m_send = m_root / "send";
  fs::create_directories(m_cwd);
  fs::create_directories(m_recv);
  fs::create_directories(m_send);
  m_oldCwd = fs::current_path();
  fs::current_path(m_cwd);
  ::setenv("VANTOR_COM1", m_pty.SlavePath().c_str(), 1);
  m_status = std::tmpfile();
}

void RunFixture::TearDown() {
  if (m_result.valid()) {
    m_pty.CloseMaster();  // a transfer still waiting ends on the hang-up
    m_result.wait_for(std::chrono::seconds(30));
  }
  fs::current_path(m_oldCwd);
  fs::remove_all(m_root);
  ::unsetenv("VANTOR_COM1");
  if (m_status != nullptr) std::fclose(m_status);
}

void RunFixture::Start(int appendMode, int speed) {
  vantor::TransferArgs args;
  args.recvDir = m_recv.string();
  args.sendDir = m_send.string();
  args.portNo = 1;
  args.speed = speed;
  args.appendMode = appendMode;
  std::FILE* status = m_status;
  m_result = std::async(std::launch::async, [args, status] {
    vantor::CHeadlessWindow window(status);
    auto line = vantor::CreateComLine();
    vantor::CSystemClock clock;
    return vantor::RunTransfer(args, window, *line, clock);
  });
  // The line is open once the log says so; frames written before would be
  // discarded by the open.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string log = Log();
    if (log.find("Port Open") != std::string::npos && log.find("SendDir = [") != std::string::npos) return;
    if (m_result.wait_for(std::chrono::milliseconds(5)) == std::future_status::ready) return;
  }
}

int RunFixture::Result(int timeoutS) {
  if (m_result.wait_for(std::chrono::seconds(timeoutS)) != std::future_status::ready) {
    ADD_FAILURE() << "the transfer did not end";
    m_pty.CloseMaster();
  }
  return m_result.get();
}

}  // namespace vtest
