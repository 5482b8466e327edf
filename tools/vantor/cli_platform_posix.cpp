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

const PlatformHelp& HelpForPlatform() {
  static const PlatformHelp help{"Log/comm.log",
                                 "                     environment variable VANTOR_COMn, else /dev/ttyS<n-1>\n",
                                 "  --device PATH      run on this device instead of a COM port, e.g. a USB\n"
                                 "                     cradle: /dev/ttyUSB0 or /dev/serial/by-id/usb-...\n",
                                 "  --list-ports       print the serial devices present, one a line, with the COM\n"
                                 "                     ports mapped to them and their /dev/serial/by-id names\n",
                                 "SIGINT (Ctrl-C) or SIGTERM cancels the transfer (result -2).\n"};
  return help;
}

}  // namespace vantor_cli
