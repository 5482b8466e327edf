// The splash artwork: the product's name and purpose over a dark blue field,
// with a hand-held terminal and the computers it talks to.

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "artwork.h"

namespace {

QFont Font(const QStringList& families, int pixels, bool bold) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void Waves(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 5; ++i) {
    QPainterPath wave;
    wave.moveTo(0, 150 + i * 9);
    wave.cubicTo(120, 110 + i * 9, 260, 200 + i * 6, 408, 140 + i * 10);
    p.setPen(QPen(QColor(255, 255, 255, 26 + i * 8), 1.5));
    p.drawPath(wave);
  }
}

}  // namespace

namespace Artwork {

QImage Splash() {
  QImage image(408, 203, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient back(0, 0, 408, 203);
  back.setColorAt(0, QColor(18, 42, 96));
  back.setColorAt(1, QColor(20, 110, 150));
  p.fillRect(image.rect(), back);
  Waves(p);

  p.drawImage(QRectF(24, 36, 56, 115), Terminal());
  p.drawImage(QRectF(300, 60, 82, 77), Computers());
  p.drawImage(QRectF(86, 150, 210, 19), TwoWayArrow());

  const QStringList sans = {"NanumGothic", "NanumBarunGothic", "DejaVu Sans"};
  p.setPen(Qt::white);
  p.setFont(Font(sans, 34, true));
  p.drawText(QRectF(96, 30, 210, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("RTKelvane"));
  p.setPen(QColor(255, 220, 120));
  p.setFont(Font(sans, 16, true));
  p.drawText(QRectF(98, 76, 210, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("핸디터미널 데이터 송수신"));
  p.setPen(QColor(200, 220, 240));
  p.setFont(Font(sans, 11, false));
  p.drawText(QRectF(98, 102, 210, 18), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Handy Terminal Data Exchange"));
  p.drawText(QRectF(98, 120, 210, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Version 1.0"));
  p.setFont(Font(sans, 10, false));
  p.drawText(QRectF(8, 178, 384, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Kelvane"));
  return image;
}

}  // namespace Artwork
