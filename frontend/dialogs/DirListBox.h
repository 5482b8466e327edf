#pragma once
// The directory list of the directory chooser. Its value, the path, is the
// directory whose subdirectories it shows, without a final "/" except for
// the root. The list shows the levels of the path as open folders, each
// indented below the one before, and under them the subdirectories of the
// path. A double-click on any entry opens it; a single click only highlights
// it and leaves the path alone. Only directories are listed: a link to a
// device (such as a COM port's link) is no folder.

#include <QListWidget>

class DirListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit DirListBox(QWidget* parent = nullptr);

  QString Path() const { return m_path; }
  // Opens dir; false, and no change, when it is not an existing directory.
  // Opening the path it already shows is no change.
  bool SetPath(const QString& dir);
  // The directory of the highlighted entry: the one the operator picked
  // with a single click, else the path itself.
  QString HighlightedPath() const;

 signals:
  void Change();

 private:
  void Fill();
  void AddEntry(const QString& name, const QString& path, int depth, bool open);

  QString m_path;
};
