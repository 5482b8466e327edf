// vantor: one transfer with the hand-held terminal from the command line.
// It runs exactly what RunVantor runs, with the headless view on standard
// error. SIGINT and SIGTERM are the Cancel command. The last line on standard
// output is the result code.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli_platform.h"
#include "clock.h"
#include "com_device.h"
#include "com_line.h"
#include "explain_result.h"
#include "headless_window.h"
#include "list_ports.h"
#include "run_transfer.h"
#include "text_codec.h"
#include "version_block.h"

namespace {

constexpr int kUsageExit = 64;

const char* kUsage =
    "usage: vantor --recv-dir DIR --send-dir DIR [--port N | --device PATH] [--speed BPS] [--append]\n"
    "              [--user-data TEXT]\n"
    "       vantor --list-ports | --help | --version\n";

// The same forms for --help, in the shape help2man turns into a synopsis.
const char* kHelpUsage =
    "Usage: vantor --recv-dir DIR --send-dir DIR [--port N | --device PATH] [--speed BPS] [--append] "
    "[--user-data TEXT]\n"
    "  or:  vantor --list-ports | --help | --version\n\n";

// The help text; the platform names its log, devices and interrupt.
std::string HelpText() {
  const vantor_cli::PlatformHelp& p = vantor_cli::HelpForPlatform();
  return std::string(
             "Runs one transfer with a hand-held terminal on a COM port. The terminal leads: it\n"
             "sends its data (stored in the receive directory) or fetches master files (from the\n"
             "send directory). Progress goes to standard error; the log is ") +
         p.logPath +
         " in the\n"
         "current directory.\n"
         "\n"
         "  --recv-dir DIR     where data from the terminal is stored (must exist, writable)\n"
         "  --send-dir DIR     where the files the terminal may fetch lie (must exist)\n"
         "  --port N           COM port 1..4 (default 1); COMn is the device named by the\n" +
         p.portDevice + p.deviceOption + p.listPorts +
         "  --speed BPS        9600 14400 19200 38400 56000 57600 115200 128000 256000\n"
         "                     (default 19200)\n"
         "  --append           add received records to existing data files (default: replace)\n"
         "  --user-data TEXT   written to USERDEF.INI in the send directory\n"
         "\n" +
         p.interrupt +
         "The last line of standard output is the result code; for every code but 1 and 2\n"
         "one line on standard error says why (which directory, device or value):\n"
         "   2  data sent to the terminal              exit status 0\n"
         "   1  data received and stored               exit status 0\n"
         "  -1  transfer error                         exit status 1\n"
         "  -2  cancelled on the PC                    exit status 2\n"
         "  -3  cancelled by the terminal              exit status 3\n"
         "  -4  the COM port cannot be opened          exit status 4\n"
         " -11  receive directory unusable             exit status 11\n"
         " -12  send directory unusable                exit status 12\n"
         " -13  port number outside 1..4               exit status 13\n"
         " -14  speed not accepted                     exit status 14\n"
         "Bad usage exits with status 64.\n";
}

bool ParseInt(const char* text, int* out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < -2147483647L || v > 2147483647L) return false;
  *out = static_cast<int>(v);
  return true;
}

int Usage(const char* problem) {
  std::fprintf(stderr, "vantor: %s\n%s", problem, kUsage);
  return kUsageExit;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  vantor::TransferArgs args;
  args.portNo = 1;
  args.speed = 19200;
  bool haveRecv = false, haveSend = false, havePort = false;
  std::string device;
  for (int i = 1; i < argc; ++i) {
    const std::string opt = argv[i];
    const bool hasValue = i + 1 < argc;
    if (opt == "--help" || opt == "-h") {
      std::fputs(kHelpUsage, stdout);
      vantor_cli::WriteText(stdout, HelpText());
      return 0;
    } else if (opt == "--version") {
      vantor_cli::WriteText(stdout, vantor::Utf8ToLocalLossy(vantor::VersionText()));
      return 0;
    } else if (opt == "--list-ports") {
      vantor_cli::PrintPortList(stdout);
      return 0;
    } else if (opt == "--append") {
      args.appendMode = 1;
    } else if (opt == "--recv-dir" && hasValue) {
      args.recvDir = argv[++i];
      haveRecv = true;
    } else if (opt == "--send-dir" && hasValue) {
      args.sendDir = argv[++i];
      haveSend = true;
    } else if (opt == "--user-data" && hasValue) {
      args.userData = argv[++i];
    } else if (opt == "--port" && hasValue) {
      if (!ParseInt(argv[++i], &args.portNo)) return Usage("--port takes a number");
      havePort = true;
    } else if (opt == "--device" && hasValue) {
      device = argv[++i];
      if (device.empty()) return Usage("--device takes a path");
    } else if (opt == "--speed" && hasValue) {
      if (!ParseInt(argv[++i], &args.speed)) return Usage("--speed takes a number");
    } else {
      return Usage(("unknown or incomplete option: " + opt).c_str());
    }
  }
  if (!haveRecv || !haveSend) return Usage("--recv-dir and --send-dir are required");
  if (havePort && !device.empty()) return Usage("--port and --device exclude each other");
  // The device stands in for COM1: the run opens COMn through VANTOR_COMn,
  // and an explicit option beats the environment.
  if (!device.empty()) vantor_cli::SetDeviceForCom1(device);

  int code;
  {
    vantor_cli::CCancelOnSignals signals;
    vantor::CHeadlessWindow window(stderr);
    std::unique_ptr<vantor::CComLine> line = vantor::CreateComLine();
    vantor::CSystemClock clock;
    code = vantor::RunTransfer(args, window, *line, clock);
  }
  const std::string why =
      vantor_cli::ExplainResult(code, args, vantor::DeviceForPort("COM" + std::to_string(args.portNo)), !device.empty());
  if (!why.empty()) vantor_cli::WriteText(stderr, "vantor: " + why + "\n");
  std::fflush(stderr);
  std::printf("%d\n", code);
  return code > 0 ? 0 : -code;
}
