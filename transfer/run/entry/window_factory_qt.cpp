// Builds with Qt: the transfer window when a GUI is usable, else the headless
// one. "Usable" means: the process already runs a QApplication on this thread
// (the desktop program), or a display (or an offscreen platform) is named in
// the environment and answers, in which case an application object is made
// for this one transfer and released with the window.
#include <QApplication>
#include <QThread>

#include "headless_window.h"
#include "qt_application.h"
#include "qt_platform_choice.h"
#include "transfer_window_qt.h"
#include "window_factory.h"

namespace vantor {

std::unique_ptr<CDialogWindow> CreateTransferWindow() {
  if (QCoreApplication* app = QCoreApplication::instance()) {
    // Widgets need a QApplication and its thread; a console application or a
    // call from another thread runs without a window.
    if (qobject_cast<QApplication*>(app) != nullptr && QThread::currentThread() == app->thread()) {
      return std::make_unique<CTransferWindowQt>();
    }
    return std::make_unique<CHeadlessWindow>();
  }
  const std::optional<std::string> platform = ChooseQtPlatform(SystemGuiEnvironment());
  if (!platform) return std::make_unique<CHeadlessWindow>();
  return std::make_unique<CTransferWindowQt>(std::make_unique<CQtApplication>(*platform));
}

}  // namespace vantor
