// Builds without a GUI toolkit: every transfer reports to standard error.
#include "headless_window.h"
#include "window_factory.h"

namespace vantor {

std::unique_ptr<CDialogWindow> CreateTransferWindow() { return std::make_unique<CHeadlessWindow>(); }

}  // namespace vantor
