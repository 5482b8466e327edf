// The pictures of the main window: the transfer button, the arrow and the
// hand-held terminal.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "artwork.h"

namespace {

QImage Blank(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// One desktop computer: monitor, stand and a flat base with drive slots.
void DrawComputer(QPainter& p, const QRectF& monitor) {
  const QColor case_(224, 220, 204);
  const QColor edge(90, 90, 90);
  p.setPen(QPen(edge, 1));
  p.setBrush(case_);
  p.drawRoundedRect(monitor, 2, 2);
  QLinearGradient screen(monitor.topLeft(), monitor.bottomRight());
  screen.setColorAt(0, QColor(120, 190, 255));
  screen.setColorAt(1, QColor(20, 70, 160));
  p.setBrush(screen);
  p.drawRect(monitor.adjusted(3, 3, -3, -4));
  const double cx = monitor.center().x();
  p.setBrush(case_);
  p.drawRect(QRectF(cx - 3, monitor.bottom(), 6, 3));
  const QRectF base(monitor.left() - 2, monitor.bottom() + 3, monitor.width() + 4, 6);
  p.drawRoundedRect(base, 1, 1);
  p.setPen(QPen(QColor(120, 120, 120), 1));
  p.drawLine(QPointF(base.left() + 4, base.center().y()), QPointF(base.left() + 12, base.center().y()));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 200, 60));
  p.drawEllipse(QPointF(base.right() - 4, base.center().y()), 1.2, 1.2);
}

}  // namespace

namespace Artwork {

QImage Computers() {
  QImage image = Blank(51, 48);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  DrawComputer(p, QRectF(22.5, 3.5, 26, 20));
  DrawComputer(p, QRectF(4.5, 17.5, 26, 20));
  return image;
}

QImage TwoWayArrow() {
  QImage image = Blank(163, 19);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double y = 9.5;
  p.setPen(QPen(QColor(70, 70, 70), 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(26, y), QPointF(137, y));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(70, 70, 70));
  p.drawPolygon(QPolygonF({QPointF(18, y), QPointF(28, y - 5), QPointF(28, y + 5)}));
  p.drawPolygon(QPolygonF({QPointF(145, y), QPointF(135, y - 5), QPointF(135, y + 5)}));
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(220, 30, 30));
  p.drawEllipse(QPointF(8.5, y), 6.5, 6.5);
  p.setBrush(QColor(30, 60, 220));
  p.drawEllipse(QPointF(154.5, y), 6.5, 6.5);
  return image;
}

QImage Terminal() {
  QImage image = Blank(35, 72);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // Scanner window on top, then the body.
  p.setPen(QPen(QColor(30, 30, 30), 1));
  p.setBrush(QColor(200, 40, 40));
  p.drawRoundedRect(QRectF(10.5, 0.5, 14, 5), 2, 2);
  QLinearGradient body(0, 0, 35, 0);
  body.setColorAt(0, QColor(70, 75, 85));
  body.setColorAt(0.5, QColor(105, 110, 122));
  body.setColorAt(1, QColor(60, 64, 72));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(2.5, 4.5, 30, 66), 5, 5);
  p.setBrush(QColor(170, 200, 140));
  p.drawRect(QRectF(6.5, 9.5, 22, 20));
  p.setPen(QPen(QColor(60, 80, 50), 1));
  for (int row = 0; row < 4; ++row) p.drawLine(QPointF(9, 14 + row * 4), QPointF(9 + 14 - row * 2, 14 + row * 4));
  // Keypad: four rows of three keys and a wide enter key.
  p.setPen(Qt::NoPen);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) {
      p.setBrush(QColor(225, 225, 230));
      p.drawRoundedRect(QRectF(7 + col * 7.5, 34 + row * 6.5, 5.5, 4.5), 1, 1);
    }
  }
  p.setBrush(QColor(250, 190, 40));
  p.drawRoundedRect(QRectF(7, 61, 20.5, 4.5), 1, 1);
  return image;
}

}  // namespace Artwork
