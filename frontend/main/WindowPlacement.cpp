#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "frmFlash.h"

namespace {

void Centre(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // move() places the frame's top-left corner of a top-level window.
  window.move(frmFlash::CentredOn(screen->geometry(), window.frameGeometry().size()));
}

}  // namespace

void ShowCentred(QWidget& window) {
  Centre(window);
  window.show();
  if (window.frameGeometry().size() != window.size()) Centre(window);
}
