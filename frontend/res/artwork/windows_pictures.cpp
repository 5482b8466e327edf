// The pictures in the forms a Windows resource script takes: BMP files
// (24-bit, their transparent parts laid on the colour they are shown on) and
// the program icon as an ICO file holding PNG images in four sizes.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <cstdio>

#include "artwork.h"

namespace {

// The toolbar's image list takes this colour as transparent.
const QColor kMaskColour(255, 0, 255);

bool SaveBmp(const QDir& dir, const QString& name, const QImage& image, const QColor& under) {
  QImage flat(image.size(), QImage::Format_RGB888);
  flat.fill(under);
  QPainter painter(&flat);
  painter.drawImage(0, 0, image);
  painter.end();
  if (flat.save(dir.filePath(name), "BMP")) return true;
  std::fprintf(stderr, "rtk_artwork: cannot write %s\n", qPrintable(dir.filePath(name)));
  return false;
}

// The eight toolbar icons side by side; pixels less than half covered take
// the mask colour, the others are laid on the button's grey.
QImage ToolStrip() {
  QImage strip(22 * 8, 22, QImage::Format_ARGB32);
  for (int i = 0; i < 8; ++i) {
    const QImage icon = Artwork::ToolIcon(i).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 22; ++y) {
      for (int x = 0; x < 22; ++x) {
        const QColor c = icon.pixelColor(x, y);
        const double a = c.alphaF();
        const QColor on(int(c.red() * a + 212 * (1 - a)), int(c.green() * a + 208 * (1 - a)),
                        int(c.blue() * a + 200 * (1 - a)));
        strip.setPixelColor(i * 22 + x, y, a < 0.5 ? kMaskColour : on);
      }
    }
  }
  return strip;
}

template <typename T>
void Put(QByteArray& out, T value) {
  const T le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

bool SaveIco(const QDir& dir, const QString& name) {
  const int sizes[] = {16, 32, 48, 256};
  QList<QByteArray> images;
  for (int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Artwork::ProgramIcon(size).save(&buffer, "PNG");
    images.append(png);
  }
  QByteArray out;
  Put<quint16>(out, 0);  // reserved
  Put<quint16>(out, 1);  // an icon
  Put<quint16>(out, quint16(images.size()));
  quint32 offset = 6 + 16 * quint32(images.size());
  for (int i = 0; i < images.size(); ++i) {
    out.append(char(sizes[i] >= 256 ? 0 : sizes[i]));  // 0 stands for 256
    out.append(char(sizes[i] >= 256 ? 0 : sizes[i]));
    out.append(char(0));  // no palette
    out.append(char(0));
    Put<quint16>(out, 1);   // planes
    Put<quint16>(out, 32);  // bits per pixel
    Put<quint32>(out, quint32(images[i].size()));
    Put<quint32>(out, offset);
    offset += quint32(images[i].size());
  }
  for (const QByteArray& png : images) out.append(png);
  QFile file(dir.filePath(name));
  if (file.open(QIODevice::WriteOnly) && file.write(out) == out.size()) return true;
  std::fprintf(stderr, "rtk_artwork: cannot write %s\n", qPrintable(dir.filePath(name)));
  return false;
}

}  // namespace

namespace Artwork {

bool SaveWindowsPictures(const QDir& dir) {
  const QColor white(255, 255, 255);
  return SaveBmp(dir, "computers.bmp", Computers(), white) && SaveBmp(dir, "arrow.bmp", TwoWayArrow(), white) &&
         SaveBmp(dir, "terminal.bmp", Terminal(), white) && SaveBmp(dir, "tile_port.bmp", PortTile(), white) &&
         SaveBmp(dir, "tile_dir.bmp", DirTile(), white) &&
         SaveBmp(dir, "splash.bmp", Splash(), QColor(224, 224, 224)) &&
         SaveBmp(dir, "toolbar.bmp", ToolStrip(), kMaskColour) && SaveIco(dir, "rtkelvane.ico");
}

}  // namespace Artwork
