#include "MessageBoxes.h"

QMessageBox::StandardButton ModalMessageBoxes::Show(QWidget* parent, const MessageRequest& request) {
  QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
  if (request.defaultButton != QMessageBox::NoButton) box.setDefaultButton(request.defaultButton);
  // Without a button for Esc, a box with Yes and No would ignore Esc.
  if (request.buttons.testFlag(QMessageBox::No)) box.setEscapeButton(QMessageBox::No);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}
