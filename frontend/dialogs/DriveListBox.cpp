#include "DriveListBox.h"

#include <QDir>
#include <QFocusEvent>

namespace {

QString EntryText(const Volume& volume) {
  return volume.label.isEmpty() ? volume.rootPath : volume.rootPath + QStringLiteral("  [") + volume.label + u']';
}

bool Contains(const QString& root, const QString& path) {
  if (root == QStringLiteral("/")) return path.startsWith(u'/');
  return path == root || path.startsWith(root + u'/');
}

}  // namespace

DriveListBox::DriveListBox(const VolumeSource& volumes, QWidget* parent) : QComboBox(parent) {
  for (const Volume& volume : volumes.Volumes()) addItem(EntryText(volume), volume.rootPath);
  setCurrentIndex(-1);
  connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::Change);
}

QString DriveListBox::DriveRoot() const { return currentData().toString(); }

int DriveListBox::IndexOf(const QString& drive) const {
  for (int i = 0; i < count(); ++i) {
    if (itemText(i) == drive || itemData(i).toString() == drive) return i;
  }
  return -1;
}

void DriveListBox::SetDrive(const QString& drive) {
  const int index = IndexOf(drive);
  if (index >= 0 && index != currentIndex()) setCurrentIndex(index);
}

QString DriveListBox::DriveOf(const QString& path) const {
  const QString clean = QDir::cleanPath(QDir(path).absolutePath());
  int best = -1;
  qsizetype bestLength = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemData(i).toString();
    if (Contains(root, clean) && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  return best >= 0 ? itemText(best) : QString();
}

void DriveListBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  // The drop-down and the access error box give the focus back: that is no
  // new visit, and the drive remembered at the visit must stay.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  emit GotFocus();
}
