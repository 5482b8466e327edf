#include "qt_transfer_dialog.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <climits>

#include "control_ids.h"

namespace vantor {
namespace {

// Stands in for the template's "System" face: a face with Hangul, so that the
// status texts do not draw as boxes.
constexpr const char* kHangulFace = "NanumGothic";

QFont DialogFont(const DialogTemplate& dialog) {
  QFont font = QGuiApplication::font();
  if (QFontDatabase::hasFamily(kHangulFace)) font.setFamily(kHangulFace);
  font.setPointSize(dialog.fontPointSize);
  return font;
}

// The platform's base units: the average width of the 52 Latin letters,
// rounded, and the font's height.
QSize BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {(letters / 26 + 1) / 2, metrics.height()};
}

int MulDiv(int value, int numerator, int denominator) { return (value * numerator + denominator / 2) / denominator; }

QColor ToColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

void PaintBackground(QWidget* widget, std::optional<Rgb> colour) {
  if (!colour) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, ToColor(*colour));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QString BarStyleSheet(bool border) {
  const QColor back = ToColor(kBarBackground);
  const QColor bar = ToColor(kBarColour);
  return QString(
             "QProgressBar { background-color: %1; border: %2; }"
             " QProgressBar::chunk { background-color: %3; }")
      .arg(back.name(), border ? "1px solid black" : "none", bar.name());
}

// The platform's progress control takes 32-bit ranges; so does QProgressBar.
// Larger ranges are scaled down alike so the bar still shows the fraction.
void SetBarValues(QProgressBar* bar, long low, long high, long pos) {
  long divisor = 1;
  while ((high - low) / divisor > INT_MAX || high / divisor > INT_MAX || low / divisor < INT_MIN) divisor *= 2;
  bar->setRange(static_cast<int>(low / divisor), static_cast<int>(high / divisor));
  bar->setValue(static_cast<int>(pos / divisor));
}

}  // namespace

CTransferDialogQt::CTransferDialogQt(std::function<void()> onCancel)
    : QDialog(nullptr), m_onCancel(std::move(onCancel)) {
  const DialogTemplate& dialog = TransferDialogTemplate();
  // A popup with caption and close box only: no minimise, no help.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8(dialog.caption));
  setFont(DialogFont(dialog));
  m_baseUnits = BaseUnitsOf(font());
  PaintBackground(this, CtlColor(CtlKind::Dialog, IDD_TRANSFER));
  setFixedSize(ToPixels(0, 0, dialog.cx, dialog.cy).size());
  QWidget* previousTabStop = nullptr;
  for (const DialogControl& control : dialog.controls) {
    QWidget* widget = MakeControl(control);
    widget->setGeometry(ToPixels(control.x, control.y, control.cx, control.cy));
    widget->setVisible((control.style & kStyleVisible) != 0);
    // The first control of the template lies on top of the others.
    widget->lower();
    if ((control.style & kStyleTabStop) != 0) {
      if (previousTabStop != nullptr) setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    m_controls.push_back(widget);
    m_ids.push_back(control.id);
  }
}

QWidget* CTransferDialogQt::MakeControl(const DialogControl& control) {
  const QString text = QString::fromUtf8(control.text);
  const bool border = (control.style & kStyleBorder) != 0;
  switch (control.kind) {
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, this);
      button->setPalette(QGuiApplication::palette());
      if (control.id == IDCANCEL) connect(button, &QPushButton::clicked, this, &CTransferDialogQt::reject);
      return button;
    }
    case ControlKind::ProgressBar: {
      // Its window text is never shown; the bar carries no percentage.
      auto* bar = new QProgressBar(this);
      bar->setTextVisible(false);
      bar->setStyleSheet(BarStyleSheet(border));
      bar->setRange(0, 100);
      bar->setValue(0);
      return bar;
    }
    case ControlKind::Static: break;
  }
  auto* label = new QLabel(text, this);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  if (border) {
    label->setFrameShape(QFrame::Box);
    label->setFrameShadow(QFrame::Plain);
    label->setLineWidth(1);
  }
  PaintBackground(label, CtlColor(CtlKind::Static, control.id));
  return label;
}

QRect CTransferDialogQt::ToPixels(int x, int y, int cx, int cy) const {
  const int bx = m_baseUnits.width();
  const int by = m_baseUnits.height();
  return {MulDiv(x, bx, 4), MulDiv(y, by, 8), MulDiv(cx, bx, 4), MulDiv(cy, by, 8)};
}

void CTransferDialogQt::SetOwner(QWidget* owner) {
  // Transient for its owner, the window system keeps the dialog above it. Not
  // a child widget of it: the caller disables its window during the run, and
  // a child would be disabled with it.
  winId();  // the dialog's own window exists from here on
  windowHandle()->setTransientParent(owner != nullptr ? owner->window()->windowHandle() : nullptr);
}

void CTransferDialogQt::ShowCentred() {
  const auto centre = [this] {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameSize(), screen->availableGeometry()).topLeft());
    }
  };
  // The frame's size is known only once the window exists: centred first by
  // its client size, then once more by the frame if that differs.
  centre();
  show();
  if (frameSize() != size()) centre();
  activateWindow();
  CancelButton()->setFocus(Qt::ActiveWindowFocusReason);
}

QWidget* CTransferDialogQt::Control(int id) const {
  if (id == -1) return nullptr;
  for (std::size_t i = 0; i < m_ids.size(); ++i) {
    if (m_ids[i] == id) return m_controls[i];
  }
  return nullptr;
}

QPushButton* CTransferDialogQt::CancelButton() const { return static_cast<QPushButton*>(Control(IDCANCEL)); }

void CTransferDialogQt::SetItemText(int id, const QString& text) {
  auto* label = qobject_cast<QLabel*>(Control(id));
  if (label == nullptr) return;
  label->setText(text);
  // Painted now: a cancel shows its status before the pauses that follow it,
  // which keep the loop from painting for two seconds.
  label->repaint();
}

void CTransferDialogQt::SetBar(int id, long low, long high, long pos) {
  if (auto* bar = qobject_cast<QProgressBar*>(Control(id))) SetBarValues(bar, low, high, pos);
}

void CTransferDialogQt::reject() { m_onCancel(); }

void CTransferDialogQt::closeEvent(QCloseEvent* event) {
  event->ignore();
  m_onCancel();
}

}  // namespace vantor
