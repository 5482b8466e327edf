// The background tiles of the two dialogs: light grey textures made from a
// fixed seed, so that every build draws the same tiles.

#include <QPainter>
#include <cstdint>

#include "artwork.h"

namespace {

// A small linear congruential generator: its sequence is the same on every
// platform, unlike the distributions of the standard library.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : m_state(seed) {}
  int Next(int range) {
    m_state = m_state * 1664525u + 1013904223u;
    return static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(range));
  }

 private:
  std::uint32_t m_state;
};

QImage Grain(int width, int height, int base, int spread, std::uint32_t seed) {
  QImage image(width, height, QImage::Format_RGB32);
  Noise noise(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int v = base + noise.Next(spread) - spread / 2;
      image.setPixel(x, y, qRgb(v, v, v + 2));
    }
  }
  return image;
}

}  // namespace

namespace Artwork {

QImage PortTile() {
  // Paper: fine grain with a few short fibres.
  QImage image = Grain(125, 125, 226, 10, 7u);
  QPainter p(&image);
  Noise noise(11u);
  for (int i = 0; i < 60; ++i) {
    const int x = noise.Next(125);
    const int y = noise.Next(125);
    const int v = 212 + noise.Next(30);
    p.setPen(QColor(v, v, v));
    p.drawLine(x, y, x + noise.Next(7) - 3, y + noise.Next(5) - 2);
  }
  return image;
}

QImage DirTile() {
  // A slightly darker grain with soft speckles.
  QImage image = Grain(150, 149, 218, 8, 23u);
  QPainter p(&image);
  Noise noise(29u);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 90; ++i) {
    const int v = 204 + noise.Next(24);
    p.setBrush(QColor(v, v, v));
    p.drawEllipse(QPoint(noise.Next(150), noise.Next(149)), 1, 1);
  }
  return image;
}

}  // namespace Artwork
