#include "DirListBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace {
constexpr int kIndentPerLevel = 2;  // in blanks before the name
constexpr int kPathRole = Qt::UserRole;
}  // namespace

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { SetPath(item->data(kPathRole).toString()); });
}

bool DirListBox::SetPath(const QString& dir) {
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) return false;
  const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
  if (clean == m_path) return true;
  m_path = clean;
  Fill();
  emit Change();
  return true;
}

QString DirListBox::HighlightedPath() const {
  const QListWidgetItem* item = currentItem();
  return item != nullptr && item->isSelected() ? item->data(kPathRole).toString() : m_path;
}

void DirListBox::AddEntry(const QString& name, const QString& path, int depth, bool open) {
  const QStyle::StandardPixmap icon = open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon;
  auto* item = new QListWidgetItem(QApplication::style()->standardIcon(icon),
                                   QString(depth * kIndentPerLevel, u' ') + name, this);
  item->setData(kPathRole, path);
}

void DirListBox::Fill() {
  clear();
  // The levels from the root down to the path itself.
  const QStringList levels = m_path.split(u'/', Qt::SkipEmptyParts);
  AddEntry(QStringLiteral("/"), QStringLiteral("/"), 0, true);
  QString walked;
  for (int i = 0; i < levels.size(); ++i) {
    walked += u'/' + levels[i];
    AddEntry(levels[i], walked, i + 1, true);
  }
  setCurrentRow(count() - 1);
  // Its subdirectories; a directory that cannot be read simply shows none.
  const QString prefix = m_path == QStringLiteral("/") ? QString() : m_path;
  const QStringList children = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& child : children) {
    // A link counts only when it leads to a directory.
    const QString path = prefix + u'/' + child;
    if (QFileInfo(path).isDir()) AddEntry(child, path, levels.size() + 1, false);
  }
}
