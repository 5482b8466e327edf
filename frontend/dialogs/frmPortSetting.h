#pragma once
// The port settings dialog: the operator chooses the COM port and the line
// speed from two lists. The dialog reads both codes from the settings store
// when it opens and OK writes them back ("CommSpeed" first, then
// "CommPortNo"); Cancel stores nothing. The caller re-reads the store after
// the dialog has closed, whichever button closed it.
//
// A code is the 1-based position in its list; "0" means nothing selected.
// Stored codes outside "0" to "4" leave their list without a selection.

#include <QDialog>
#include <QPixmap>

class QComboBox;
class QPushButton;
class SettingsStore;

class frmPortSetting : public QDialog {
  Q_OBJECT

 public:
  explicit frmPortSetting(SettingsStore& settings, QWidget* parent = nullptr);

  // The window's events.
  void Form_Load();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void BuildLabels();
  void ConnectHandlers();

  SettingsStore& m_settings;
  QComboBox* m_cboSpeed = nullptr;
  QComboBox* m_cboPortNo = nullptr;
  QPushButton* m_cmdOK = nullptr;
  QPushButton* m_cmdCancel = nullptr;
  QPixmap m_tile;
};
