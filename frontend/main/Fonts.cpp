#include "Fonts.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

QFont Make(const QStringList& families, double points, bool bold, bool italic) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  font.setBold(bold);
  font.setItalic(italic);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace

namespace Fonts {

QFont Gulim(double points, bool bold, bool italic) {
  return Make({"Gulim", "NanumGothic", "Noto Sans CJK KR"}, points, bold, italic);
}

QFont Gungsuh(double points, bool bold) {
  return Make({"Gungsuh", "NanumMyeongjo", "Noto Serif CJK KR"}, points, bold, false);
}

QFont Arial(double points, bool bold) {
  return Make({"Arial", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"}, points, bold, false);
}

QFont Default() { return Gulim(9.0); }

QFont FittedTo(const QFont& font, const QString& text, int width) {
  const int needed = QFontMetrics(font).horizontalAdvance(text);
  if (needed <= width || needed <= 0) return font;
  QFont narrow = font;
  // A little below the exact ratio: the advance does not shrink linearly.
  narrow.setStretch(std::max(50, static_cast<int>(100.0 * width / needed) - 1));
  return narrow;
}

}  // namespace Fonts
