#include <pthread.h>
#include <signal.h>
#include <stdlib.h>

#include <thread>

#include "cli_platform.h"
#include "run_transfer.h"

namespace vantor_cli {

// SIGINT and SIGTERM become cancel requests on a thread of their own, so that
// nothing runs inside a signal handler. SIGUSR1 ends the thread.
struct CCancelOnSignals::State {
  sigset_t set{};
  std::thread thread;
};

CCancelOnSignals::CCancelOnSignals() : m_state(std::make_unique<State>()) {
  sigemptyset(&m_state->set);
  sigaddset(&m_state->set, SIGINT);
  sigaddset(&m_state->set, SIGTERM);
  sigaddset(&m_state->set, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &m_state->set, nullptr);  // before any other thread exists
  m_state->thread = std::thread([state = m_state.get()] {
    for (;;) {
      int sig = 0;
      if (sigwait(&state->set, &sig) != 0 || sig == SIGUSR1) return;
      vantor::CancelCurrentTransfer();
    }
  });
}

CCancelOnSignals::~CCancelOnSignals() {
  pthread_kill(m_state->thread.native_handle(), SIGUSR1);
  m_state->thread.join();
}

void SetDeviceForCom1(const std::string& device) { ::setenv("VANTOR_COM1", device.c_str(), 1); }

void WriteText(std::FILE* stream, const std::string& text) { std::fputs(text.c_str(), stream); }

}  // namespace vantor_cli
