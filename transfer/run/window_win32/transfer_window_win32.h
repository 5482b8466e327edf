#pragma once
// The transfer window on Windows: a native dialog built in memory from the
// dialog template (transfer/res), behind the window seam.
//
// The template becomes a DLGTEMPLATE with DS_SETFONT: the caption, the size
// in dialog units, the template's font, and every control in template order
// (which the dialog manager keeps as z-order and tab order). The dialog runs
// with DialogBoxIndirectParam, without owner, centred on the screen, on the
// thread that calls RunModal. Colours come from OnCtlColor's table through
// WM_CTLCOLORDLG/WM_CTLCOLORSTATIC, with one solid brush per colour owned by
// the window; both bars are smooth, white with a red bar. The Cancel button,
// Escape and the close box all arrive as IDCANCEL and reach OnCancel; only
// EndDialog closes the window.
//
// Wake is the one call from other threads: it posts a message that the loop
// turns into OnWake on the dialog's thread; several wakes before it runs
// become one. Wakes before the loop runs are kept; wakes after the dialog
// ended are dropped.

#include <cstdint>
#include <string>

#include "dialog_window.h"
#include "wake_delivery.h"

// The Win32 handle types, declared as <windows.h> does, so that this header
// can be included before it (control_ids.h names IDCANCEL, a macro there).
struct HWND__;
struct HBRUSH__;
struct HDC__;

namespace vantor {

class CTransferWindowWin32 final : public CDialogWindow {
 public:
  CTransferWindowWin32();
  ~CTransferWindowWin32() override;
  CTransferWindowWin32(const CTransferWindowWin32&) = delete;
  CTransferWindowWin32& operator=(const CTransferWindowWin32&) = delete;

  int RunModal(CDialogEvents& events) override;
  void EndDialog(int code) override;
  void Wake() override;
  void SetItemText(int id, const std::string& text) override;
  void SetBar(int id, long low, long high, long pos) override;
  void ShowLogFailure(const std::string& text) override;

  // The dialog's window while it runs (null before and after), for tests.
  HWND__* Window() const { return m_hWnd; }

 private:
  struct Proc;  // the dialog procedure, in the .cpp with the Win32 types
  friend struct Proc;
  std::intptr_t OnMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
  int OnInitDialog();
  HBRUSH__* OnCtlColor(HDC__* dc, HWND__* control, unsigned msg);
  void DeliverWake();

  HWND__* m_hWnd = nullptr;
  CDialogEvents* m_events = nullptr;
  bool m_initialising = false;
  bool m_ended = false;
  int m_code = 0;
  HBRUSH__* m_brGray = nullptr;
  HBRUSH__* m_brStatus = nullptr;
  CWakeDelivery m_wake;  // messages posted to the dialog while it runs
};

// The template as the dialog manager takes it (DLGTEMPLATE, DS_SETFONT,
// DLGITEMTEMPLATEs), DWORD-aligned.
std::basic_string<std::uint16_t> BuildDialogTemplate();

}  // namespace vantor
