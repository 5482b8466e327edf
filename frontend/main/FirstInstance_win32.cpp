#include <windows.h>

#include "FirstInstance.h"
#include "frmMain_win32.h"

// The main window's class is the program's own: the running instance needs
// no listener of its own to be found.
FirstInstance::FirstInstance(const std::string&, frmMain&) {}

FirstInstance::~FirstInstance() = default;

bool FirstInstance::AskToComeForward(const std::string&) {
  HWND window = FindWindowW(frmMain::kClassName, nullptr);
  if (window == nullptr) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // A program that is being started may hand the foreground on.
  SetForegroundWindow(window);
  return true;
}
