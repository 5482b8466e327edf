#pragma once
// The main window. It shows the send directory (master files that go to the
// terminal) and the receive directory (data from the terminal), lets the
// operator change both through the directory chooser, offers the append
// option, starts a transfer with the picture of two computers, opens the port
// settings from its toolbar and shows the settings in effect and the date in
// its status bar. It asks before the program ends.
//
// A transfer is one call of RunVantor; the library shows its own window and
// the main window stays disabled until the call returns: no close request
// reaches the exit question meanwhile. After every transfer a received
// "STOCK.TXT" gets its time-stamped name.

#include <QPointer>
#include <QWidget>

#include "PortDevices.h"

class Clock;
class MessageBoxes;
class Notifier;
class PictureBox;
class QAction;
class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolBar;
class SettingsStore;
class TransferLibrary;
class VolumeSource;

class frmMain : public QWidget {
  Q_OBJECT

 public:
  // The outside world the window works with.
  struct Services {
    SettingsStore& settings;
    MessageBoxes& messages;
    Clock& clock;
    TransferLibrary& library;
    const VolumeSource& volumes;
    Notifier& notifier;  // the line after each transfer
  };

  explicit frmMain(const Services& services, QWidget* parent = nullptr);

  // The splash window to close when this window becomes active.
  void SetSplash(QWidget* splash) { m_splash = splash; }

  // The window's events, connected in ConnectHandlers.
  void Form_Load();
  void Form_Activate();
  bool Form_QueryUnload();
  void Form_Unload();
  void cmdSendDirSet_Click();
  void cmdRecvDirSet_Click();
  // A folder typed into a box is kept when the box is left or Enter pressed.
  void txtRecvDir_LostFocus();
  void txtSendDir_LostFocus();
  void picSendButton_Click();
  void picSendButton_KeyPress(QKeyEvent* event);
  void picSendButton_GotFocus();
  void picSendButton_LostFocus();
  void Toolbar1_ButtonClick(QAction* button);
  void FP_SetPortNo();
  bool IsTransferring() const { return m_transferring; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildLabels();
  void BuildDirectoryRows();
  void BuildPictures();
  void BuildToolbar();
  void BuildStatusBar();
  void SetTabOrder();
  void ConnectHandlers();
  void UpdateDate();
  void ChooseDirectory(QLineEdit* box, const QString& caption, const char* key);
  void StoreTypedDirectory(const QLineEdit* box, const char* key);
  // True when the operator had a missing folder made: the run starts again.
  bool ReportResult(int result, int portNo);
  void ReportPortError(int portNo);
  bool ReportFolderError(int result);

  Services m_services;
  QPointer<QWidget> m_splash;
  PortDevices m_ports;
  bool m_transferring = false;

  QToolBar* m_toolbar1 = nullptr;
  QLineEdit* m_txtSendDir = nullptr;
  QLineEdit* m_txtRecvDir = nullptr;
  QPushButton* m_cmdSendDirSet = nullptr;
  QPushButton* m_cmdRecvDirSet = nullptr;
  QCheckBox* m_chkFileMode = nullptr;
  QFrame* m_shape1 = nullptr;
  PictureBox* m_picSendButton = nullptr;
  QStatusBar* m_sbrStatus = nullptr;
  QLabel* m_panelState = nullptr;
  QLabel* m_panelDate = nullptr;
};
