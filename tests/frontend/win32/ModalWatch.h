#pragma once
// Acts on a modal window that the code under test opens on this thread: a
// watcher thread waits for a top-level window of this process with the given
// title, runs the action on it (reading controls and closing it through
// messages), and records that it came. Checks are collected in the action
// and asserted on the test's thread afterwards.

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class ModalWatch {
 public:
  ModalWatch(std::wstring title, std::function<void(HWND)> action)
      : m_title(std::move(title)), m_action(std::move(action)), m_thread([this] { Run(); }) {}
  ~ModalWatch() {
    m_stop = true;
    m_thread.join();
  }
  bool Came() const { return m_came; }

  static HWND Find(const std::wstring& title) {
    Search search{&title, nullptr};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

 private:
  struct Search {
    const std::wstring* title;
    HWND found;
  };

  // A named stdcall function: a lambda does not convert to WNDENUMPROC on
  // 32-bit Windows.
  static BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    // InternalGetWindowText sends no message: GetWindowTextW would send
    // WM_GETTEXT to the test's own windows, and the test's thread, joining
    // this one when no window came, would never answer it.
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && *s->title == text) {
      s->found = window;
      return FALSE;
    }
    return TRUE;
  }

  void Run() {
    for (int i = 0; i < 1000 && !m_stop; ++i) {
      if (HWND window = Find(m_title)) {
        Sleep(300);  // let it paint before it is read or photographed
        m_came = true;
        m_action(window);
        return;
      }
      Sleep(10);
    }
  }

  std::wstring m_title;
  std::function<void(HWND)> m_action;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_came{false};
  std::thread m_thread;
};
