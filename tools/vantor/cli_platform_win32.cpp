#include <windows.h>

#include <cstdlib>

#include "cli_platform.h"
#include "run_transfer.h"

namespace vantor_cli {
namespace {

// Windows runs a console control handler on a thread of its own: asking the
// transfer to cancel is safe there (CancelCurrentTransfer takes any thread).
BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT: vantor::CancelCurrentTransfer(); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

struct CCancelOnSignals::State {};

CCancelOnSignals::CCancelOnSignals() : m_state(std::make_unique<State>()) {
  SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
}

CCancelOnSignals::~CCancelOnSignals() { SetConsoleCtrlHandler(&OnConsoleControl, FALSE); }

void SetDeviceForCom1(const std::string& device) { _putenv_s("VANTOR_COM1", device.c_str()); }

}  // namespace vantor_cli
