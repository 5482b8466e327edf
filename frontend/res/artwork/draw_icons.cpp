// The eight toolbar icons and the program icon.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "artwork.h"

namespace {

const QColor kOutline(40, 40, 40);

void OpenDoor(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(250, 240, 200));
  p.drawRect(QRectF(5.5, 2.5, 12, 18));  // the light of the doorway
  p.setBrush(QColor(150, 90, 40));
  p.drawPolygon(QPolygonF({QPointF(5.5, 2.5), QPointF(12.5, 5.5), QPointF(12.5, 21.5), QPointF(5.5, 20.5)}));
  p.setBrush(QColor(240, 200, 60));
  p.drawEllipse(QPointF(11, 13), 1, 1);
}

void Lightning(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(255, 214, 0));
  p.drawPolygon(QPolygonF({QPointF(13, 1), QPointF(5, 12), QPointF(10, 12), QPointF(7, 21), QPointF(17, 8),
                           QPointF(12, 8), QPointF(15, 1)}));
}

void Cross(QPainter& p, const QPointF& centre, double half, double width) {
  p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
  p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void RedCross(QPainter& p) {
  p.setPen(QPen(QColor(120, 0, 0), 1));
  p.setBrush(QColor(220, 30, 30));
  p.drawEllipse(QPointF(11, 11), 9.5, 9.5);
  Cross(p, QPointF(11, 11), 4.5, 2.5);
}

void Floppy(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(40, 60, 140));
  p.drawPolygon(
      QPolygonF({QPointF(2.5, 2.5), QPointF(17.5, 2.5), QPointF(19.5, 4.5), QPointF(19.5, 19.5), QPointF(2.5, 19.5)}));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(6.5, 2.5, 9, 6));
  p.setBrush(QColor(40, 60, 140));
  p.drawRect(QRectF(12.5, 3.5, 2, 4));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5.5, 11.5, 11, 8));
}

void Receiver(QPainter& p) {
  QPainterPath handset;
  handset.moveTo(3, 7);
  handset.cubicTo(3, 2, 17, 2, 17, 7);
  handset.lineTo(14, 9);
  handset.cubicTo(13, 6, 7, 6, 6, 9);
  handset.closeSubpath();
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(60, 60, 70));
  p.drawPath(handset);
  p.drawRoundedRect(QRectF(2, 7, 5, 4), 1.5, 1.5);
  p.drawRoundedRect(QRectF(13, 7, 5, 4), 1.5, 1.5);
}

void Badge(QPainter& p, const QColor& colour) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(colour);
  p.drawEllipse(QPointF(15, 15.5), 5.5, 5.5);
}

void PhoneGreen(QPainter& p) {
  Receiver(p);
  Badge(p, QColor(30, 170, 60));
}

void PhoneRed(QPainter& p) {
  Receiver(p);
  Badge(p, QColor(220, 30, 30));
  Cross(p, QPointF(15, 15.5), 2.5, 1.6);
}

void Server(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(190, 192, 200));
  p.drawRect(QRectF(2.5, 1.5, 10, 19));
  p.setPen(QPen(QColor(90, 90, 100), 1));
  for (int y = 5; y <= 11; y += 3) p.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
}

void ServerPlay(QPainter& p) {
  Server(p);
  Badge(p, QColor(30, 170, 60));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(13.5, 12.5), QPointF(18.5, 15.5), QPointF(13.5, 18.5)}));
}

void ServerStop(QPainter& p) {
  Server(p);
  Badge(p, QColor(220, 30, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(12.8, 13.3, 4.4, 4.4));
}

}  // namespace

namespace Artwork {

QImage ToolIcon(int index) {
  QImage image(22, 22, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  using Draw = void (*)(QPainter&);
  static constexpr Draw kIcons[] = {OpenDoor,   Lightning, RedCross,   Floppy,
                                    PhoneGreen, PhoneRed,  ServerPlay, ServerStop};
  if (index >= 0 && index < 8) kIcons[index](p);
  return image;
}

QImage ProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  // Drawn on a 128-unit grid, scaled to the size a launcher asks for.
  p.scale(size / 128.0, size / 128.0);
  QLinearGradient back(0, 0, 0, 128);
  back.setColorAt(0, QColor(40, 110, 200));
  back.setColorAt(1, QColor(15, 50, 120));
  p.setPen(Qt::NoPen);
  p.setBrush(back);
  p.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
  // The terminal on the right, the computers on the left, arrows between.
  p.drawImage(QRectF(78, 20, 35, 72).adjusted(-6, 0, 6, 16), Terminal());
  p.drawImage(QRectF(8, 34, 51, 48).adjusted(-2, -2, 8, 8), Computers());
  p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(24, 104), QPointF(104, 104));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(14, 104), QPointF(26, 96), QPointF(26, 112)}));
  p.drawPolygon(QPolygonF({QPointF(114, 104), QPointF(102, 96), QPointF(102, 112)}));
  return image;
}

}  // namespace Artwork
