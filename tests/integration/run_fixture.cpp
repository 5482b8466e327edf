#include "run_fixture.h"

#include <chrono>

#include "clock.h"
#include "com_line.h"
#include "headless_window.h"

namespace vtest {

void RunFixture::SetUp() { m_status = std::tmpfile(); }

void RunFixture::TearDown() {
  if (m_result.valid()) {
    m_pty.CloseMaster();  // a transfer still waiting ends on the hang-up
    m_result.wait_for(std::chrono::seconds(30));
  }
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
  // discarded by the open. A port that cannot be opened never says so: the
  // run has ended then.
  for (int i = 0; i < 100 && !m_dirs.WaitForPortOpen(100); ++i) {
    if (m_result.wait_for(std::chrono::seconds(0)) == std::future_status::ready) return;
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
