#pragma once
// The transfer window with Qt Widgets, behind the window seam.
//
// It lives on the dialog's thread, the thread that made it and that calls
// RunModal. RunModal shows the window, lets the dialog initialise, and runs a
// local event loop until EndDialog. The window is owned by the caller's active
// top-level window while it runs, so it always stays above it (a click on the
// caller's title bar cannot bury it); it is not application-modal, so the
// caller decides which of its windows keep working.
// Wake is the one call from other threads: it posts a queued call to the
// window, which the loop turns into OnWake on the dialog's thread; several
// wakes before it runs become one. Wakes before the loop runs are kept; wakes
// after the dialog ended are dropped.

#include <QEventLoop>
#include <memory>

#include "dialog_window.h"
#include "wake_delivery.h"

namespace vantor {

class CQtApplication;
class CTransferDialogQt;

class CTransferWindowQt final : public CDialogWindow {
 public:
  // In a process that has its own application object.
  CTransferWindowQt();
  // With the application object made for this window, released with it.
  explicit CTransferWindowQt(std::unique_ptr<CQtApplication> app);
  ~CTransferWindowQt() override;

  int RunModal(CDialogEvents& events) override;
  void EndDialog(int code) override;
  void Wake() override;
  void SetItemText(int id, const std::string& text) override;
  void SetBar(int id, long low, long high, long pos) override;
  void ShowLogFailure(const std::string& text) override;

  CTransferDialogQt& Dialog() const { return *m_dialog; }

 private:
  void OnCancel();
  void DeliverWake();

  std::unique_ptr<CQtApplication> m_app;  // first made, last released
  std::unique_ptr<CTransferDialogQt> m_dialog;
  QEventLoop m_loop;
  CDialogEvents* m_events = nullptr;
  bool m_ended = false;
  int m_code = 0;
  CWakeDelivery m_wake;  // queued calls to the dialog object
};

}  // namespace vantor
