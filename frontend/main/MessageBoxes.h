#pragma once
// Message boxes go through this seam: the program shows a modal QMessageBox,
// tests answer each request at once and keep it for their checks.

#include <QMessageBox>
#include <QString>
#include <memory>

struct MessageRequest {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the box modally over parent and returns the button pressed.
  virtual QMessageBox::StandardButton Show(QWidget* parent, const MessageRequest& request) = 0;
};

class ModalMessageBoxes final : public MessageBoxes {
 public:
  QMessageBox::StandardButton Show(QWidget* parent, const MessageRequest& request) override;
  // The box Show runs, wide enough for its caption to read whole.
  static std::unique_ptr<QMessageBox> Build(QWidget* parent, const MessageRequest& request);
  static int MinimumWidthFor(const QString& title);
};
