// Drives a running RTKelvane.exe from outside, as an operator would, for the
// whole-run tests under Wine:
//   rtk_driver ready MS        waits until the main window shows (prints the ms it took)
//   rtk_driver transfer        Enter on the transfer button; waits for the run to end, then
//                              for the program's icon in the notification area (the
//                              balloon after the run)
//   rtk_driver exit            closes the window and answers Yes to the exit question
//   rtk_driver memory          prints the program's private bytes
//   rtk_driver text ID         prints a control's text (UTF-8)
// Exit status 0 when done, 1 when the window or the box did not come.

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resource_ids.h"

namespace {

// True when the window belongs to the program under test: RTK_PROGRAM (its
// Windows path), when set, picks that executable, so that other programs'
// windows on the same Wine server are never taken for it.
bool OfProgram(HWND window) {
  const wchar_t* program = _wgetenv(L"RTK_PROGRAM");
  if (program == nullptr || *program == L'\0') return true;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const bool known = process != nullptr && QueryFullProcessImageNameW(process, 0, image, &size);
  if (process != nullptr) CloseHandle(process);
  return known && _wcsicmp(image, program) == 0;
}

// The visible main window of the program under test.
BOOL CALLBACK Visit(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) != L"RTKelvaneMain" || !IsWindowVisible(window) || !OfProgram(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND MainWindow() {
  HWND found = nullptr;
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Polls until found returns a window, for up to ms milliseconds.
template <typename F>
HWND WaitFor(F found, int ms) {
  for (int waited = 0; waited <= ms; waited += 10) {
    if (HWND window = found()) return window;
    Sleep(10);
  }
  return nullptr;
}

std::string Utf8(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
  return out;
}

int Ready(int ms) {
  const ULONGLONG start = GetTickCount64();
  if (WaitFor(MainWindow, ms) == nullptr) return 1;
  std::printf("%llu\n", GetTickCount64() - start);
  return 0;
}

// The program's notifier (a message-only window) when the notification area
// has its icon: the shell knows the icon by that window and its id (1 for the
// first balloon of a start), and modifying nothing of it succeeds only while
// the icon is there.
HWND NotifiedIcon() {
  HWND notifier = nullptr;
  while ((notifier = FindWindowExW(HWND_MESSAGE, notifier, L"RTKelvaneNotify", nullptr)) != nullptr) {
    if (!OfProgram(notifier)) continue;
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = notifier;
    probe.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) ? notifier : nullptr;
  }
  return nullptr;
}

int Transfer() {
  HWND main = WaitFor(MainWindow, 20000);
  if (main == nullptr) return 1;
  HWND button = GetDlgItem(main, IDC_PICSENDBUTTON);
  // The key goes where the keyboard would send it: the focused transfer
  // button receives Enter as a character.
  PostMessageW(button, WM_CHAR, VK_RETURN, 0);
  // The window is disabled while RunVantor runs and enabled after it; the
  // library's transfer window, meanwhile, is owned by it.
  if (WaitFor([&] { return IsWindowEnabled(main) ? nullptr : main; }, 20000) == nullptr) return 1;
  bool owned = false;
  const HWND back = WaitFor(
      [&] {
        // The transfer window: a dialog owned by the main window.
        for (HWND dialog = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); dialog != nullptr;
             dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) {
          if (GetWindow(dialog, GW_OWNER) == main) owned = true;
        }
        return IsWindowEnabled(main) ? main : nullptr;
      },
      240000);
  std::printf("transfer window owned by the main window: %s\n", owned ? "yes" : "no");
  // The end of the library's window enables the main window again before
  // the program has sent its notification: it is waited for.
  if (back != nullptr) std::printf("notification icon: %s\n", WaitFor(NotifiedIcon, 20000) ? "yes" : "no");
  return back != nullptr ? 0 : 1;
}

int Exit() {
  HWND main = WaitFor(MainWindow, 20000);
  if (main == nullptr) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND box = WaitFor(
      [&] {
        HWND question = FindWindowW(L"#32770", L"Exit Applicatein");
        return question != nullptr && GetWindow(question, GW_OWNER) == main ? question : nullptr;
      },
      20000);
  if (box == nullptr) return 1;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  const bool ended = process == nullptr || WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
  if (process != nullptr) CloseHandle(process);
  return ended ? 0 : 1;
}

int Memory() {
  HWND main = WaitFor(MainWindow, 20000);
  if (main == nullptr) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const bool ok = process != nullptr &&
                  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  if (process != nullptr) CloseHandle(process);
  if (!ok) return 1;
  std::printf("%llu %llu\n", static_cast<unsigned long long>(counters.PrivateUsage),
              static_cast<unsigned long long>(counters.WorkingSetSize));
  return 0;
}

int Text(int id) {
  HWND main = WaitFor(MainWindow, 20000);
  if (main == nullptr) return 1;
  wchar_t text[1024] = {};
  GetWindowTextW(GetDlgItem(main, id), text, 1024);
  std::printf("%s\n", Utf8(text).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "ready" && argc > 2) return Ready(std::atoi(argv[2]));
  if (command == "transfer") return Transfer();
  if (command == "exit") return Exit();
  if (command == "memory") return Memory();
  if (command == "text" && argc > 2) return Text(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: rtk_driver ready MS | transfer | exit | memory | text ID\n");
  return 2;
}
