#include "explain_result.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "port_probe.h"
#include "vantor2.h"

namespace vantor_cli {
namespace {

// Why a directory is refused, in the order the run checks it.
std::string DirProblem(const std::string& dir, bool needWrite) {
  if (dir.empty()) return "no directory given";
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return std::strerror(errno);
  if (!S_ISDIR(st.st_mode)) return "not a directory";
  if (needWrite && ::access(dir.c_str(), W_OK | X_OK) != 0) return std::string("not writable: ") + std::strerror(errno);
  return "refused";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string ExplainResult(int code, const vantor::TransferArgs& args, const std::string& device, bool deviceGiven) {
  switch (code) {
    case VANTOR_SENT:
    case VANTOR_RECEIVED: return {};
    case VANTOR_ERROR: return "transfer error: ten faulty frames in a row, or the line hung up (see Log/comm.log)";
    case VANTOR_USER_CANCEL: return "cancelled on the PC";
    case VANTOR_DEVICE_CANCEL: return "cancelled by the terminal";
    case VANTOR_PORT_ERROR: {
      const std::string problem = ports::OpenProblem(device);
      const std::string why = problem.empty() ? "the device refused the line settings" : problem;
      if (deviceGiven) return device + " cannot be used: " + why;
      return "COM" + std::to_string(args.portNo) + " is " + device + ", which cannot be used: " + why;
    }
    case VANTOR_RECV_DIR_ERROR:
      return "receive directory " + Quoted(args.recvDir) + ": " + DirProblem(args.recvDir, true);
    case VANTOR_SEND_DIR_ERROR:
      return "send directory " + Quoted(args.sendDir) + ": " + DirProblem(args.sendDir, false);
    case VANTOR_PORT_NO_ERROR: return "port " + std::to_string(args.portNo) + " is outside 1..4";
    case VANTOR_SPEED_ERROR:
      return "speed " + std::to_string(args.speed) +
             " is not accepted (9600 14400 19200 38400 56000 57600 115200 128000 256000)";
    default: return "unknown result " + std::to_string(code);
  }
}

}  // namespace vantor_cli
