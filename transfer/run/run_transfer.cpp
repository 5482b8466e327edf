#include "run_transfer.h"

#include <mutex>

#include "result_codes.h"
#include "transfer_dlg.h"

namespace vantor {
namespace {

// The dialog of the transfer that runs now, for VantorCancel.
std::mutex g_currentMutex;
CTransferDlg* g_current = nullptr;
bool g_running = false;

}  // namespace

int CheckArgs(const TransferArgs& args, CFileSystem& fs) {
  if (args.portNo < 1 || args.portNo > 4) return VANTOR_PORT_NO_ERROR;
  if (!IsAcceptedSpeed(args.speed)) return VANTOR_SPEED_ERROR;
  if (args.recvDir.empty() || !fs.CanWriteIn(args.recvDir)) return VANTOR_RECV_DIR_ERROR;
  if (args.sendDir.empty() || fs.Status(args.sendDir).kind != FileKind::Directory) return VANTOR_SEND_DIR_ERROR;
  return 0;
}

std::string WithSeparator(const std::string& dir) {
  if (dir.empty() || dir.back() == kDirSeparator) return dir;
  return dir + kDirSeparator;
}

int RunTransfer(const TransferArgs& args, CDialogWindow& window, CComLine& line, CClock& clock, CFileSystem& fs) {
  if (const int code = CheckArgs(args, fs)) return code;
  {
    std::lock_guard lock(g_currentMutex);
    if (g_running) return VANTOR_ERROR;
    g_running = true;
  }
  TransferArgs run = args;
  run.sendDir = WithSeparator(args.sendDir);
  run.recvDir = WithSeparator(args.recvDir);
  int code;
  {
    CTransferDlg dlg(window, line, clock, std::move(run), fs);
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
