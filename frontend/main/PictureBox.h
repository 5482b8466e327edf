#pragma once
// A picture that can act as a button: it draws its picture from its top-left
// corner, and, when it takes the focus, reports clicks, keys and focus
// changes as signals for the window's handlers.

#include <QKeyEvent>
#include <QPixmap>
#include <QWidget>

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(const QPixmap& picture, QWidget* parent = nullptr);
  void SetBackground(const QColor& colour);

 signals:
  void Click();
  // The handler accepts the event to consume the key.
  void KeyPress(QKeyEvent* event);
  void GotFocus();
  void LostFocus();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QPixmap m_picture;
  QColor m_background;
};
