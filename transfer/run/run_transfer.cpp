#include "run_transfer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include "result_codes.h"
#include "transfer_dlg.h"

namespace vantor {
namespace {

// The dialog of the transfer that runs now, for VantorCancel.
std::mutex g_currentMutex;
CTransferDlg* g_current = nullptr;
bool g_running = false;

bool IsDirectory(const std::string& dir) {
  struct stat st {};
  return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int CheckArgs(const TransferArgs& args) {
  if (args.portNo < 1 || args.portNo > 4) return VANTOR_PORT_NO_ERROR;
  if (!IsAcceptedSpeed(args.speed)) return VANTOR_SPEED_ERROR;
  if (!IsDirectory(args.recvDir) || ::access(args.recvDir.c_str(), W_OK | X_OK) != 0) return VANTOR_RECV_DIR_ERROR;
  if (!IsDirectory(args.sendDir)) return VANTOR_SEND_DIR_ERROR;
  return 0;
}

std::string WithSeparator(const std::string& dir) {
  if (dir.empty() || dir.back() == '/') return dir;
  return dir + "/";
}

int RunTransfer(const TransferArgs& args, CDialogWindow& window, CComLine& line, CClock& clock) {
  if (const int code = CheckArgs(args)) return code;
  {
    std::lock_guard lock(g_currentMutex);
    if (g_running) return VANTOR_ERROR;
    g_running = true;
  }
  TransferParams params;
  params.m_nAppendMode = args.appendMode;
  params.m_nSpeed = args.speed;
  params.m_strPort = "COM" + std::to_string(args.portNo);
  params.m_strSendDir = WithSeparator(args.sendDir);
  params.m_strRecvDir = WithSeparator(args.recvDir);
  params.m_strUserData = args.userData;
  int code;
  {
    CTransferDlg dlg(window, line, clock, std::move(params));
    {
      std::lock_guard lock(g_currentMutex);
      g_current = &dlg;
    }
    code = dlg.DoModal();
    std::lock_guard lock(g_currentMutex);
    g_current = nullptr;
  }
  std::lock_guard lock(g_currentMutex);
  g_running = false;
  return code;
}

void CancelCurrentTransfer() {
  std::lock_guard lock(g_currentMutex);
  if (g_current != nullptr) g_current->RequestCancel();
}

}  // namespace vantor
