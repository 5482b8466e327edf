#include "recording_window.h"

#include <QLabel>
#include <QProgressBar>

#include "control_ids.h"
#include "qt_transfer_dialog.h"

namespace vtest {
namespace {

QString LabelText(const vantor::CTransferDialogQt& dialog, int id) {
  const auto* label = qobject_cast<const QLabel*>(dialog.Control(id));
  return label != nullptr ? label->text() : QString("<no label %1>").arg(id);
}

BarState Bar(const vantor::CTransferDialogQt& dialog, int id) {
  const auto* bar = qobject_cast<const QProgressBar*>(dialog.Control(id));
  if (bar == nullptr) return {-1, -1, -1};
  return {bar->minimum(), bar->maximum(), bar->value()};
}

}  // namespace

WindowState RecordingWindow::Read(int changedId) const {
  const vantor::CTransferDialogQt& d = m_window.Dialog();
  WindowState s;
  s.changedId = changedId;
  s.status = LabelText(d, vantor::IDC_STATUS);
  s.fileName = LabelText(d, vantor::IDC_FILE_NAME);
  s.fileCount = LabelText(d, vantor::IDC_FILE_COUNT);
  s.totalCount = LabelText(d, vantor::IDC_TOTAL_COUNT);
  s.total = Bar(d, vantor::IDC_PROGRESS_TOTAL);
  s.file = Bar(d, vantor::IDC_PROGRESS_FILE);
  return s;
}

int RecordingWindow::RunModal(vantor::CDialogEvents& events) {
  m_events = &events;
  states.push_back(Read(0));
  const int code = m_window.RunModal(*this);
  m_events = nullptr;
  return code;
}

void RecordingWindow::OnInitDialog() {
  m_events->OnInitDialog();
  if (afterInit) afterInit();
}

void RecordingWindow::SetItemText(int id, const std::string& text) {
  m_window.SetItemText(id, text);
  Record(id);
}

void RecordingWindow::SetBar(int id, long low, long high, long pos) {
  m_window.SetBar(id, low, high, pos);
  Record(id);
}

void RecordingWindow::Record(int id) {
  states.push_back(Read(id));
  if (afterChange) afterChange(states.back());
}

}  // namespace vtest
