#include "StartMain_win32.h"

#include <windows.h>

#include <commctrl.h>

#include "Clock.h"
#include "DefaultDirs.h"
#include "FirstInstance.h"
#include "FuntDefine.h"
#include "InstanceLock.h"
#include "MousePointer.h"
#include "Notifier_win32.h"
#include "SettingsStore_win32.h"
#include "TransferLibrary_win32.h"
#include "VarDefine.h"
#include "Win32Ui.h"
#include "WorkFolder.h"
#include "frmFlash_win32.h"
#include "frmMain_win32.h"

namespace StartMain {

int Main() {
  InstanceLock lock(InstanceLock::DefaultName());
  if (!lock.Acquire()) {
    FirstInstance::AskToComeForward(InstanceLock::DefaultName());
    return 0;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  // Services live as long as the program; the main window refers to them.
  RegistryStore settings;
  SystemClock clock;
  Vantor2Library library;
  // Its icon leaves the notification area when the program ends.
  TrayNotifier notifier;
  for (const std::string& message : CreateDefaultDirs(settings)) {
    Win32Ui::ShowMessage(nullptr, message, VarDefine::kAppTitle, MB_OK | MB_ICONWARNING);
  }
  // The library writes Log\comm.log under the current directory, which for a
  // program started from the Start menu may be one the user cannot write.
  EnterWorkFolder();

  MousePointer::SetHourglass();
  frmFlash splash;
  splash.Show();
  WaitSeconds(VarDefine::kSplashSeconds, clock);

  frmMain window({settings, clock, library, notifier});
  if (window.Create() == nullptr) return 1;
  window.SetSplash(splash.Handle());
  window.Show();
  // Activation closes the splash; a window system that gives none leaves
  // it to the first activation by the operator.
  if (GetActiveWindow() == window.Handle()) window.Form_Activate();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, Enter and the other keys of a dialog move between the controls.
    if (window.Handle() != nullptr && IsDialogMessageW(window.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace StartMain
