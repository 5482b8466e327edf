#pragma once
// The drive list of the directory chooser: one entry per volume, shown by its
// mount point and label. Its value is the text of the selected entry. Setting
// the value it already has is no change; every other change, by the operator
// or by code, is reported through Change. GotFocus reports the focus coming
// from the keyboard or the mouse, not its return when the drop-down or a
// message box closes.

#include <QComboBox>

#include "VolumeSource.h"

class DriveListBox : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveListBox(const VolumeSource& volumes, QWidget* parent = nullptr);

  QString Drive() const { return currentText(); }
  // The mount point of the selected volume.
  QString DriveRoot() const;
  // Selects the entry whose text or mount point is drive; an unknown drive
  // changes nothing.
  void SetDrive(const QString& drive);
  // The text of the entry of the volume that holds path (the volume with the
  // longest mount point that contains it); empty when no volume does.
  QString DriveOf(const QString& path) const;

 signals:
  void Change();
  void GotFocus();

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  int IndexOf(const QString& drive) const;
};
