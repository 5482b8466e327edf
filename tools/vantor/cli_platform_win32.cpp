#include <windows.h>

#include <io.h>

#include <cstdlib>
#include <string>

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

void WriteText(std::FILE* stream, const std::string& text) {
  const intptr_t os = _get_osfhandle(_fileno(stream));
  const HANDLE handle = reinterpret_cast<HANDLE>(os);
  DWORD mode = 0;
  if (os == -1 || text.empty() || GetFileType(handle) != FILE_TYPE_CHAR || !GetConsoleMode(handle, &mode)) {
    std::fputs(text.c_str(), stream);
    return;
  }
  const int len = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), len, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), len, wide.data(), n);
  std::fflush(stream);  // what went through the stream before comes first
  DWORD written = 0;
  WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

const PlatformHelp& HelpForPlatform() {
  static const PlatformHelp help{"Log\\comm.log",
                                 "                     environment variable VANTOR_COMn, else \\\\.\\COMn\n",
                                 "  --device PATH      run on this device instead of a COM port, e.g. a USB\n"
                                 "                     cradle's COM port beyond COM4: \\\\.\\COM7\n",
                                 "  --list-ports       print the COM ports present, one a line, and COM1..COM4\n"
                                 "                     with their devices, marked (missing) when absent\n",
                                 "Ctrl+C or Ctrl+Break in the console, or closing the console, cancels the\n"
                                 "transfer (result -2).\n"};
  return help;
}

}  // namespace vantor_cli
