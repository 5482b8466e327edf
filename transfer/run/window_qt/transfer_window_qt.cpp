#include "transfer_window_qt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "qt_application.h"
#include "qt_transfer_dialog.h"
#include "text_codec.h"

namespace vantor {
namespace {

QString Decode(const std::string& cp949) { return QString::fromStdString(Cp949ToUtf8Lossy(cp949)); }

// Room in a title bar beside the caption: the window's icon and its buttons.
constexpr int kCaptionFrameRoom = 120;

// A message box is as wide as its text; the caption, the dialog's long one, is
// cut by the window system when the box is narrower. A row as wide as the
// caption needs keeps it whole.
void WidenForCaption(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  QFont captionFont = box.font();
  captionFont.setBold(true);
  const int width = QFontMetrics(captionFont).horizontalAdvance(box.windowTitle()) + kCaptionFrameRoom;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                grid->columnCount());
}

}  // namespace

CTransferWindowQt::CTransferWindowQt() : CTransferWindowQt(nullptr) {}

CTransferWindowQt::CTransferWindowQt(std::unique_ptr<CQtApplication> app)
    : m_app(std::move(app)),
      m_dialog(std::make_unique<CTransferDialogQt>([this] { OnCancel(); })),
      m_wake([this] {
        QMetaObject::invokeMethod(
            m_dialog.get(), [this] { DeliverWake(); }, Qt::QueuedConnection);
        return true;
      }) {}

CTransferWindowQt::~CTransferWindowQt() {
  m_wake.Close();
  // Queued wakes addressed to the window go with it.
  m_dialog.reset();
}

int CTransferWindowQt::RunModal(CDialogEvents& events) {
  m_events = &events;
  // As with a dialog template, the window is initialised before it appears:
  // a run that ends in its initialisation (port not opened) shows nothing.
  events.OnInitDialog();
  if (!m_ended) {
    QWidget* owner = QApplication::activeWindow();
    m_dialog->SetOwner(owner != m_dialog.get() ? owner : nullptr);
    m_dialog->ShowCentred();
    m_wake.Open();
    const int loopCode = m_loop.exec();
    // The loop also ends when the application quits; the dialog then has no code.
    if (!m_ended) m_code = loopCode;
  }
  m_dialog->hide();
  // The owner outlives the call, not necessarily this window.
  m_dialog->SetOwner(nullptr);
  m_events = nullptr;
  return m_code;
}

void CTransferWindowQt::EndDialog(int code) {
  if (m_ended) return;
  m_ended = true;
  m_code = code;
  m_wake.Close();
  m_dialog->hide();
  m_loop.exit(code);
}

void CTransferWindowQt::OnCancel() {
  if (m_events != nullptr && !m_ended) m_events->OnCancel();
}

void CTransferWindowQt::Wake() { m_wake.Wake(); }

void CTransferWindowQt::DeliverWake() {
  if (m_wake.Take() && m_events != nullptr) m_events->OnWake();
}

void CTransferWindowQt::SetItemText(int id, const std::string& text) { m_dialog->SetItemText(id, Decode(text)); }

void CTransferWindowQt::SetBar(int id, long low, long high, long pos) { m_dialog->SetBar(id, low, high, pos); }

void CTransferWindowQt::ShowLogFailure(const std::string& text) {
  QWidget* parent = m_dialog->isVisible() ? m_dialog.get() : nullptr;
  QMessageBox box(QMessageBox::Warning, m_dialog->windowTitle(), Decode(text), QMessageBox::Ok, parent);
  WidenForCaption(box);
  box.exec();
}

}  // namespace vantor
