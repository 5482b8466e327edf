#pragma once
// A window seam in the middle: it passes every call on to the Qt window and,
// after each change the dialog makes, reads back what the window's widgets
// show, so that a test sees the run as the operator saw it. Hooks run on the
// dialog's thread: after the dialog's initialisation (the port is open) and
// after each change.

#include <QString>
#include <functional>
#include <vector>

#include "dialog_window.h"
#include "transfer_window_qt.h"

namespace vtest {

struct BarState {
  int minimum = 0;
  int maximum = 0;
  int value = 0;
};

struct WindowState {
  int changedId = 0;  // the control the dialog just changed
  QString status, fileName, fileCount, totalCount;
  BarState total, file;
};

class RecordingWindow final : public vantor::CDialogWindow, private vantor::CDialogEvents {
 public:
  explicit RecordingWindow(vantor::CTransferWindowQt& window) : m_window(window) {}

  std::function<void()> afterInit;
  std::function<void(const WindowState&)> afterChange;
  std::vector<WindowState> states;
  // How many states were recorded when the dialog ended; the dialog's logic
  // may still write into the hidden window after that.
  std::size_t endedAt = 0;

  WindowState Read(int changedId) const;

  int RunModal(vantor::CDialogEvents& events) override;
  void EndDialog(int code) override {
    if (endedAt == 0) endedAt = states.size();
    m_window.EndDialog(code);
  }
  // The states up to the end of the dialog.
  std::vector<WindowState> UntilEnd() const {
    return {states.begin(), states.begin() + static_cast<std::ptrdiff_t>(endedAt != 0 ? endedAt : states.size())};
  }
  void Wake() override { m_window.Wake(); }
  void SetItemText(int id, const std::string& text) override;
  void SetBar(int id, long low, long high, long pos) override;
  void ShowLogFailure(const std::string& text) override { m_window.ShowLogFailure(text); }

 private:
  void OnInitDialog() override;
  void OnCancel() override { m_events->OnCancel(); }
  void OnWake() override { m_events->OnWake(); }
  void Record(int id);

  vantor::CTransferWindowQt& m_window;
  vantor::CDialogEvents* m_events = nullptr;
};

}  // namespace vtest
