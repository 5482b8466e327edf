#pragma once
// The main window on Windows: the same window as the Qt one, native. It
// shows the send directory (master files that go to the terminal) and the
// receive directory (data from the terminal), lets the operator change both
// through the directory chooser, offers the append option, starts a transfer
// with the picture of two computers, opens the port settings from its
// toolbar, shows the settings in effect and the date in its status bar, and
// asks before the program ends. What it decides comes from the rules
// (StartSettings, CommSettings, TransferCommand, StockFile, DirSelectRules).
//
// A transfer is one call of RunVantor; the library's window is owned by this
// window, which stays disabled until the call returns.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "PortDevices.h"

class Clock;
class Notifier;
class SettingsStore;
class Vantor2Library;

class frmMain {
 public:
  struct Services {
    SettingsStore& settings;
    Clock& clock;
    Vantor2Library& library;
    Notifier& notifier;  // the line after each transfer
  };

  explicit frmMain(const Services& services);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Creates the window (hidden) and runs Form_Load; null when it fails.
  HWND Create();
  // Shows the window with the focus on the first control of the tab order.
  void Show();
  HWND Handle() const { return m_hWnd; }
  // The splash window to close when this window becomes active.
  void SetSplash(HWND splash) { m_splash = splash; }
  // True while RunVantor runs.
  bool IsTransferring() const { return m_transferring; }

  // The window's events.
  void Form_Load();
  void Form_Activate();
  bool Form_QueryUnload();
  void Form_Unload();
  void cmdSendDirSet_Click();
  void cmdRecvDirSet_Click();
  void picSendButton_Click();
  // Returns the character, or 0 when the key was consumed.
  wchar_t picSendButton_KeyPress(wchar_t key);
  void picSendButton_GotFocus();
  void picSendButton_LostFocus();
  void Toolbar1_ButtonClick(const std::string& key);
  void FP_SetPortNo();

  static constexpr wchar_t kClassName[] = L"RTKelvaneMain";

 private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, WORD code);
  void BuildControls();
  void BuildToolbar();
  void BuildStatusBar();
  void UpdateDate();
  void ChooseDirectory(int boxId, const char* title, const char* key);
  void StoreTypedDirectory(int boxId, const char* key);
  // True when the operator had a missing folder made: the run starts again.
  bool ReportResult(int result, int portNo);
  bool ReportFolderError(int result);
  std::string BoxText(int id) const;

  Services m_services;
  PortDevices m_ports;
  HWND m_hWnd = nullptr;
  HWND m_splash = nullptr;
  HWND m_focus = nullptr;  // the control to give the focus back to
  bool m_transferring = false;
  HFONT m_fontHeading = nullptr;
  HFONT m_fontLabel = nullptr;
  HFONT m_fontBox = nullptr;
  HFONT m_fontLine = nullptr;
  HFONT m_fontStatus = nullptr;
  HFONT m_fontDefault = nullptr;
  HIMAGELIST m_images = nullptr;
  HBITMAP m_pictures[3] = {};
  HBRUSH m_white = nullptr;
};
