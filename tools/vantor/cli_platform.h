#pragma once
// What the command line needs from its platform: the operator's interrupt as
// the Cancel command, and a device standing in for COM1 (--device).

#include <cstdio>
#include <memory>
#include <string>

namespace vantor_cli {

// While it lives, an interrupt (SIGINT/SIGTERM on POSIX systems; Ctrl-C,
// Ctrl-Break or the console closing on Windows) asks the running transfer to
// cancel, without running anything inside a signal handler.
class CCancelOnSignals {
 public:
  CCancelOnSignals();
  ~CCancelOnSignals();
  CCancelOnSignals(const CCancelOnSignals&) = delete;
  CCancelOnSignals& operator=(const CCancelOnSignals&) = delete;

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

// The run opens COM1 as this device (through VANTOR_COM1).
void SetDeviceForCom1(const std::string& device);

// The lines of --help that name the platform's log, devices and interrupt,
// each ending in a line end.
struct PlatformHelp {
  const char* logPath;       // "Log/comm.log"
  const char* portDevice;    // how COMn maps, after "COMn is the device named by the"
  const char* deviceOption;  // --device PATH
  const char* listPorts;     // --list-ports
  const char* interrupt;     // what cancels a run
};
const PlatformHelp& HelpForPlatform();

// Writes text in the locale's encoding (the ANSI code page on Windows) to a
// standard stream. A Windows console gets it through its wide-character API,
// so that Korean shows whatever the console's own code page is; a file or a
// pipe gets the bytes as they are.
void WriteText(std::FILE* stream, const std::string& text);

}  // namespace vantor_cli
