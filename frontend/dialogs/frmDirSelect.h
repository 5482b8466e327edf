#pragma once
// The directory chooser. The operator picks a volume in the drive list and a
// directory in the directory list; OK hands the directory that the list has
// highlighted (the one it opened unless the operator picked another with a
// single click) back through gSelectDir, Cancel leaves gSelectDir as the caller set
// it. The caller points both lists at its directory and sets the title before
// showing the dialog modally.
//
// A volume that cannot be read is reported under "액세스 에러"; the drive
// list then returns to the drive it showed when it last took the focus and
// the directory list to the directory it showed before.

#include <QDialog>
#include <QPixmap>

#include "DirSelectRules.h"

class DirListBox;
class DriveListBox;
class MessageBoxes;
class QPushButton;
class VolumeSource;

class frmDirSelect : public QDialog, private DirSelectRules::DriveChangeView {
  Q_OBJECT

 public:
  frmDirSelect(const VolumeSource& volumes, MessageBoxes& messages, QWidget* parent = nullptr);

  DirListBox* dirList() const { return m_dirList; }
  DriveListBox* drvList() const { return m_drvList; }

  // The window's events.
  void Form_Load();
  void drvList_GotFocus();
  void drvList_Change();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildControls();
  void ConnectHandlers();
  // What the directory list shows for a volume: the program's current
  // directory when it lies on that volume, else the volume's root.
  QString CurrentDirOf(const QString& driveRoot) const;

  const VolumeSource& m_volumes;
  MessageBoxes& m_messages;
  DirListBox* m_dirList = nullptr;
  DriveListBox* m_drvList = nullptr;
  QPushButton* m_cmdOK = nullptr;
  QPushButton* m_cmdCancel = nullptr;
  QPixmap m_tile;
  DirSelectRules::DriveChange m_driveChange;

  // What the rules of a drive change see of the two lists.
  std::string DirPath() const override;
  std::string Drive() const override;
  std::optional<std::string> OpenSelectedDrive() override;
  void SelectDrive(const std::string& drive) override;
  void SetDirPath(const std::string& path) override;
  void ShowAccessError(const std::string& text) override;
};
