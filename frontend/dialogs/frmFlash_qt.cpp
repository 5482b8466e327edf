#include "frmFlash.h"
#include "frmFlashLayout.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "MousePointer.h"
#include "Pictures.h"
#include "SplashRules.h"
#include "Twips.h"
#include "VarDefine.h"

frmFlash::frmFlash(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("frmFlash"));
  setWindowTitle(QLatin1String(VarDefine::kMainCaption));
  setFixedSize(Twips::Size(frmFlashLayout::kClientWidth, frmFlashLayout::kClientHeight));

  // Larger than the window and shifted up and left, so that its frame lies
  // outside the visible part and the artwork covers everything.
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("Picture1"));
  picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture->setLineWidth(2);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setAutoFillBackground(true);
  QPalette palette = picture->palette();
  palette.setColor(QPalette::Window,
                   QColor(frmFlashLayout::kPicture1Background[0], frmFlashLayout::kPicture1Background[1],
                          frmFlashLayout::kPicture1Background[2]));
  picture->setPalette(palette);
  picture->setPixmap(Pictures::Splash());
  picture->setGeometry(Twips::Rect(frmFlashLayout::kPicture1));

  Form_Load();
}

QPoint frmFlash::CentredOn(const QRect& screen, const QSize& window) {
  const SplashRules::Point p = SplashRules::CentredOn(screen.left(), screen.top(), screen.width(), screen.height(),
                                                      window.width(), window.height());
  return QPoint(p.x, p.y);
}

void frmFlash::Form_Load() {
  // There is no caption animation on this platform; the centring stays.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(CentredOn(screen->geometry(), frameGeometry().size()));
  }
}

void frmFlash::Form_Unload() { MousePointer::SetDefault(); }

void frmFlash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, Pictures::Splash());
}

void frmFlash::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}
