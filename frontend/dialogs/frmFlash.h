#pragma once
// The splash window: the product artwork, shown centred on the screen while
// the program starts. It takes no input. The main window closes it when it
// becomes active; closing it ends the hourglass that start-up set.

#include <QRect>
#include <QWidget>

class frmFlash : public QWidget {
  Q_OBJECT

 public:
  explicit frmFlash(QWidget* parent = nullptr);

  // Top-left corner that centres a window of size window on screen.
  static QPoint CentredOn(const QRect& screen, const QSize& window);

  void Form_Load();
  void Form_Unload();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};
