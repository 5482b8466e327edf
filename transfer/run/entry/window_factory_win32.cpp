// Windows: every transfer of the library shows the native dialog.
#include "transfer_window_win32.h"
#include "window_factory.h"

namespace vantor {

std::unique_ptr<CDialogWindow> CreateTransferWindow() { return std::make_unique<CTransferWindowWin32>(); }

}  // namespace vantor
