#include "MousePointer.h"

#include <QApplication>
#include <QCursor>

namespace MousePointer {

void SetHourglass() {
  if (QApplication::overrideCursor() != nullptr) {
    QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
}

void SetDefault() {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

bool IsHourglass() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

}  // namespace MousePointer
