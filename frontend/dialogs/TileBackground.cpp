#include "TileBackground.h"

#include <QPainter>

void TileBackground(QPainter& painter, const QPixmap& tile, const QSize& client) {
  const int w = tile.width();
  const int h = tile.height();
  if (w <= 0 || h <= 0) return;  // no picture: keep the plain background
  for (int y = 0; y <= client.height(); y += h) {
    for (int x = 0; x <= client.width(); x += w) painter.drawPixmap(x, y, tile);
  }
}
