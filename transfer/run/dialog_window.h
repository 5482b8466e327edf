#pragma once
// The seam between the transfer dialog's logic (CTransferDlg) and its window.
//
// The dialog's thread is the thread that called RunVantor; it runs the window's
// loop (RunModal) and every call below except Wake. The window calls back into
// the dialog through CDialogEvents, always on the dialog's thread. Texts are in
// code page 949, as the protocol writes them; a window decodes them for display.
// Implementations: CHeadlessWindow (standard error) and the Qt window.

#include <string>

namespace vantor {

class CDialogEvents {
 public:
  virtual ~CDialogEvents() = default;
  // Once, when the window exists, before the loop runs. It may end the dialog.
  virtual void OnInitDialog() = 0;
  // The Cancel button, the Escape key, the close box, or a cancel request.
  virtual void OnCancel() = 0;
  // Another thread called Wake: there is work in the hand-over.
  virtual void OnWake() = 0;
};

class CDialogWindow {
 public:
  virtual ~CDialogWindow() = default;

  // Creates and shows the window, calls events.OnInitDialog(), then runs the
  // loop until EndDialog; returns the code given to EndDialog. When
  // OnInitDialog already ended the dialog, the loop does not run.
  virtual int RunModal(CDialogEvents& events) = 0;
  virtual void EndDialog(int code) = 0;
  // Any thread: asks the loop to call OnWake soon. Wakes that arrive before the
  // loop runs are kept; wakes after it ended are ignored.
  virtual void Wake() = 0;

  virtual void SetItemText(int id, const std::string& text) = 0;
  // A progress bar's range and position (already kept within the range).
  virtual void SetBar(int id, long low, long high, long pos) = 0;
  // The log-failure message: modal, OK only; returns when it was dismissed.
  virtual void ShowLogFailure(const std::string& text) = 0;
};

}  // namespace vantor
