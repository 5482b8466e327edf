#pragma once
// Chooses the transfer window for one call of RunVantor: a real window when a
// GUI is usable, otherwise the headless one. The build picks the file that
// implements it (with or without Qt).

#include <memory>

#include "dialog_window.h"

namespace vantor {

// The window stays usable until the returned object is destroyed; whatever the
// window needed for itself (an application object) is released with it.
std::unique_ptr<CDialogWindow> CreateTransferWindow();

}  // namespace vantor
