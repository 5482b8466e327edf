#include "MessageBoxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace {

// The title bar's buttons and margins, besides the caption's text.
constexpr int kTitleBarExtra = 140;

}  // namespace

int ModalMessageBoxes::MinimumWidthFor(const QString& title) {
  // The window system draws the caption in its own font; the application's
  // font is the nearest measure the program has of it.
  const QFontMetrics metrics(QApplication::font());
  return metrics.horizontalAdvance(title) + kTitleBarExtra;
}

std::unique_ptr<QMessageBox> ModalMessageBoxes::Build(QWidget* parent, const MessageRequest& request) {
  auto box = std::make_unique<QMessageBox>(request.icon, request.title, request.text, request.buttons, parent);
  if (request.defaultButton != QMessageBox::NoButton) box->setDefaultButton(request.defaultButton);
  // Without a button for Esc, a box with Yes and No would ignore Esc.
  if (request.buttons.testFlag(QMessageBox::No)) box->setEscapeButton(QMessageBox::No);
  // A short text would make the box narrower than its caption, which the
  // window system then cuts ("RTK…ne"); a spacer across the box's grid keeps
  // it wide enough.
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
    grid->addItem(new QSpacerItem(MinimumWidthFor(request.title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  return box;
}

QMessageBox::StandardButton ModalMessageBoxes::Show(QWidget* parent, const MessageRequest& request) {
  const std::unique_ptr<QMessageBox> box = Build(parent, request);
  return static_cast<QMessageBox::StandardButton>(box->exec());
}
