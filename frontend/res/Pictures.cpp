#include "Pictures.h"

#include <QString>

namespace {
QPixmap Load(const char* name) { return QPixmap(QStringLiteral(":/pictures/") + QLatin1String(name)); }
}  // namespace

namespace Pictures {

QPixmap Computers() { return Load("computers.png"); }
QPixmap TwoWayArrow() { return Load("arrow.png"); }
QPixmap Terminal() { return Load("terminal.png"); }
QPixmap PortTile() { return Load("tile_port.png"); }
QPixmap DirTile() { return Load("tile_dir.png"); }
QPixmap Splash() { return Load("splash.png"); }
QIcon ProgramIcon() { return QIcon(Load("rtkelvane.png")); }

QPixmap Tool(ToolIcon icon) {
  return Load(QStringLiteral("tool%1.png").arg(static_cast<int>(icon)).toLatin1().constData());
}

}  // namespace Pictures
