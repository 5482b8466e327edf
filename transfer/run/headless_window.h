#pragma once
// The transfer window without a window: status changes and progress go to a
// stream (standard error). On a terminal the progress is one line redrawn in
// place; otherwise each change of the status line or of the file name is
// printed as a line of its own. Texts are decoded from code page 949.

#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "dialog_window.h"
#include "progress_bar.h"

namespace vantor {

class CHeadlessWindow final : public CDialogWindow {
 public:
  explicit CHeadlessWindow(std::FILE* out = stderr);

  int RunModal(CDialogEvents& events) override;
  void EndDialog(int code) override;
  void Wake() override;
  void SetItemText(int id, const std::string& text) override;
  void SetBar(int id, long low, long high, long pos) override;
  void ShowLogFailure(const std::string& text) override;

 private:
  void Redraw();
  std::string Text(int id) const;

  std::FILE* m_out;
  bool m_live;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_wake = false;
  bool m_ended = false;
  int m_code = 0;
  std::map<int, std::string> m_texts;
  CProgressBar m_total;
  CProgressBar m_file;
  long long m_lastDrawMs = 0;
  bool m_lineOpen = false;
};

}  // namespace vantor
