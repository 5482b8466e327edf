#pragma once
// The port settings dialog: the operator chooses the COM port and the line
// speed from two lists. The dialog reads both codes from the settings store
// when it opens and OK writes them back ("CommSpeed" first, then
// "CommPortNo"); Cancel stores nothing. The caller re-reads the store after
// the dialog has closed, whichever button closed it.
//
// A code is the 1-based position in its list; "0" means nothing selected.
// Stored codes outside "0" to "4" leave their list without a selection.
//
// Below the frame the device picker shows the device the selected COM port
// stands for and offers the machine's serial devices for it; OK keeps a
// changed device in the settings' group "Ports" (PortDevicePicker decides
// what is listed, selected and written).

#include <QDialog>
#include <QPixmap>
#include <vector>

#include "PortDevicePicker.h"

class PortDevices;
class QComboBox;
class QLabel;
class QPushButton;
class SettingsStore;

class frmPortSetting : public QDialog {
  Q_OBJECT

 public:
  // ports tells which devices the environment named at start; the picker
  // offers the serial devices found on the machine as the dialog opens.
  frmPortSetting(SettingsStore& settings, const PortDevices& ports, QWidget* parent = nullptr);
  // The same with the devices to offer given (tests give their own).
  frmPortSetting(SettingsStore& settings, const PortDevices& ports, std::vector<ports::SerialDevice> detected,
                 QWidget* parent = nullptr);

  // The window's events.
  void Form_Load();
  void cboPortNo_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void BuildLabels();
  void BuildDevicePicker();
  void ConnectHandlers();
  // Shows the devices of the port at position in the COM port list.
  void ShowDevices(int position);

  SettingsStore& m_settings;
  PortDevicePicker::Picker m_picker;
  int m_shownPort = -1;  // the COM port whose devices the picker shows
  QComboBox* m_cboSpeed = nullptr;
  QComboBox* m_cboPortNo = nullptr;
  QComboBox* m_cboDevice = nullptr;
  QLabel* m_label12 = nullptr;
  QPushButton* m_cmdOK = nullptr;
  QPushButton* m_cmdCancel = nullptr;
  QPixmap m_tile;
};
