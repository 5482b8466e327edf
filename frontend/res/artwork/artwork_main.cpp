// Draws the program's pictures into the folder given as the only argument.
// The build runs it and compiles its output into the program as resources.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "artwork.h"

namespace {

bool Save(const QDir& dir, const QString& name, const QImage& image) {
  if (image.save(dir.filePath(name), "PNG")) return true;
  std::fprintf(stderr, "rtk_artwork: cannot write %s\n", qPrintable(dir.filePath(name)));
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);  // fonts for the splash artwork
  const bool windows = argc == 3 && QByteArray(argv[1]) == "--windows";
  if (argc != 2 && !windows) {
    std::fprintf(stderr, "usage: rtk_artwork [--windows] OUTPUT_DIR\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[argc - 1]));
  if (!dir.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "rtk_artwork: cannot create %s\n", argv[argc - 1]);
    return 1;
  }
  // The Windows program's pictures, for its resource script.
  if (windows) return Artwork::SaveWindowsPictures(dir) ? 0 : 1;
  bool ok = Save(dir, QStringLiteral("computers.png"), Artwork::Computers()) &&
            Save(dir, QStringLiteral("arrow.png"), Artwork::TwoWayArrow()) &&
            Save(dir, QStringLiteral("terminal.png"), Artwork::Terminal()) &&
            Save(dir, QStringLiteral("tile_port.png"), Artwork::PortTile()) &&
            Save(dir, QStringLiteral("tile_dir.png"), Artwork::DirTile()) &&
            Save(dir, QStringLiteral("splash.png"), Artwork::Splash()) &&
            Save(dir, QStringLiteral("rtkelvane.png"), Artwork::ProgramIcon());
  for (int i = 0; ok && i < 8; ++i) ok = Save(dir, QStringLiteral("tool%1.png").arg(i), Artwork::ToolIcon(i));
  // The program's icon in the sizes of the desktop's icon theme, for the
  // installed launcher; the windows use the 128 one above.
  for (int size : {48, 128, 256, 512}) {
    if (ok) ok = Save(dir, QStringLiteral("rtkelvane-%1.png").arg(size), Artwork::ProgramIcon(size));
  }
  return ok ? 0 : 1;
}
