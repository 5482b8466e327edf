#include "StartMain.h"

#include <QApplication>
#include <QDir>
#include <QtDebug>

#include "Clock.h"
#include "DefaultDirs.h"
#include "FirstInstance.h"
#include "Fonts.h"
#include "FuntDefine.h"
#include "InstanceLock.h"
#include "MessageBoxes.h"
#include "MousePointer.h"
#include "Notifier_qt.h"
#include "Pictures.h"
#include "QtText.h"
#include "SettingsStore_qt.h"
#include "TerminationSignal.h"
#include "TransferLibrary.h"
#include "VarDefine.h"
#include "VolumeSource.h"
#include "WindowPlacement.h"
#include "WorkFolder.h"
#include "frmFlash.h"
#include "frmMain.h"

namespace StartMain {

int Main(QApplication& app) {
  InstanceLock lock(InstanceLock::DefaultName());
  if (!lock.Acquire()) {
    FirstInstance::AskToComeForward(InstanceLock::DefaultName());
    return 0;
  }
  TerminationSignal termination;

  QApplication::setWindowIcon(Pictures::ProgramIcon());
  QApplication::setFont(Fonts::Default());

  // Services live as long as the program; the main window refers to them.
  QSettingsStore settings;
  ModalMessageBoxes messages;
  SystemClock clock;
  TransferLibrary library(TransferLibrary::DefaultCandidates());
  SystemVolumes volumes;
  DesktopNotifier notifier;
  for (const std::string& message : CreateDefaultDirs(settings)) qWarning().noquote() << "RTKelvane:" << Q(message);
  // The library writes its log under the current directory.
  if (!EnterWorkFolder()) {
    qWarning().noquote() << "RTKelvane: cannot work in" << Q(WorkFolder()) << "; the log goes to"
                         << QDir::currentPath();
  }

  MousePointer::SetHourglass();
  auto* splash = new frmFlash;
  splash->setAttribute(Qt::WA_DeleteOnClose);
  // The splash never keeps the program alive once the main window is gone.
  splash->setAttribute(Qt::WA_QuitOnClose, false);
  ShowCentred(*splash);

  WaitSeconds(VarDefine::kSplashSeconds, clock);

  frmMain window({settings, messages, clock, library, volumes, notifier});
  window.SetSplash(splash);
  const FirstInstance first(InstanceLock::DefaultName(), window);
  ShowCentred(window);
  window.activateWindow();
  if (termination.Requested()) return 0;
  return app.exec();
}

}  // namespace StartMain
