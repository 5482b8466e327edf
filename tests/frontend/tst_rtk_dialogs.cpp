// The dialogs: port settings with every stored case, the directory chooser
// with its drive changes, and the splash window.

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "DirListBox.h"
#include "DriveListBox.h"
#include "Environment.h"
#include "Fakes.h"
#include "MessageBoxes.h"
#include "MousePointer.h"
#include "Pictures.h"
#include "PortDevices.h"
#include "Rig.h"
#include "Twips.h"
#include "VarDefine.h"
#include "WindowPlacement.h"
#include "frmDirSelect.h"
#include "frmFlash.h"
#include "frmMain.h"
#include "frmPortSetting.h"

namespace {

using Writes = QList<QPair<QString, QString>>;

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  if (child == nullptr) qFatal("no control %s", name);
  return child;
}

void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

QStringList Items(QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

const std::string kById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

// The serial devices the port dialog finds: a USB adapter with its stable
// name and a modem without one.
std::vector<ports::SerialDevice> Detected() { return {{"/dev/ttyUSB0", {kById}}, {"/dev/ttyACM0", {}}}; }

// The program's start without any VANTOR_COMn.
const PortDevices& NoVariables() {
  static const PortDevices ports = [] {
    for (int n = 1; n <= 4; ++n) Environment::Unset(PortDevices::VariableOf(n));
    return PortDevices();
  }();
  return ports;
}

using DeviceWrites = QList<QPair<int, QString>>;

}  // namespace

class TestDialogs : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_tmp;
  QString m_usb;
  QString m_cdrom;
  QString m_work;
  QString m_saved;

  // A root volume, a second volume at usb/ and a volume that is not ready.
  FakeVolumes Volumes() const {
    FakeVolumes volumes;
    volumes.volumes = {{"/", ""}, {m_usb, "USB"}, {m_cdrom, "DISC"}};
    volumes.notReady = {m_cdrom};
    return volumes;
  }

 private slots:
  void initTestCase() {
    m_usb = m_tmp.path() + "/usb";
    m_cdrom = m_tmp.path() + "/cdrom";
    m_work = m_tmp.path() + "/work";
    for (const QString& dir : {m_usb + "/data", m_cdrom, m_work + "/recv/in", m_work + "/send"}) {
      QVERIFY(QDir().mkpath(dir));
    }
    m_saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_work));  // the program's current directory, on "/"
  }
  void cleanupTestCase() { QDir::setCurrent(m_saved); }
  void init() { gSelectDir = "caller"; }

  // --- port settings ---------------------------------------------------------
  void portSettingsOpen_data() {
    QTest::addColumn<QString>("speed");  // "-" for a missing key
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("speedRow");
    QTest::addColumn<int>("portRow");
    QTest::newRow("nothing stored") << "-"
                                    << "-" << 1 << 0;
    QTest::newRow("4 and 3") << "4"
                             << "3" << 3 << 2;
    QTest::newRow("zero") << "0"
                          << "0" << -1 << -1;
    QTest::newRow("empty") << ""
                           << "" << -1 << -1;
    QTest::newRow("blanks") << " 2 "
                            << "  4" << 1 << 3;
    QTest::newRow("outside") << "9"
                             << "7" << -1 << -1;
    QTest::newRow("baud rate") << "9600"
                               << "-3" << -1 << -1;
    QTest::newRow("letters") << "fast"
                             << "COM2" << -1 << -1;
    QTest::newRow("half rounds to even") << "2.5"
                                         << "1.5" << 2 << 0;
    QTest::newRow("huge") << "99999"
                          << "1e9" << -1 << 0;
  }
  void portSettingsOpen() {
    QFETCH(QString, speed);
    QFETCH(QString, port);
    QFETCH(int, speedRow);
    QFETCH(int, portRow);
    MemoryStore store;
    if (speed != "-") store.values["CommSpeed"] = speed;
    if (port != "-") store.values["CommPortNo"] = port;
    MousePointer::SetHourglass();
    frmPortSetting dialog(store, NoVariables(), Detected());
    QVERIFY(!MousePointer::IsHourglass());
    QCOMPARE(Child<QComboBox>(dialog, "cboSpeed")->currentIndex(), speedRow);
    QCOMPARE(Child<QComboBox>(dialog, "cboPortNo")->currentIndex(), portRow);
    QVERIFY(store.writes.isEmpty());
  }

  void portSettingsLists() {
    MemoryStore store;
    for (int round = 0; round < 2; ++round) {  // a new dialog starts from the store again
      frmPortSetting dialog(store, NoVariables(), Detected());
      QCOMPARE(Items(Child<QComboBox>(dialog, "cboSpeed")),
               (QStringList{"9600 BPS", "19200 BPS", "38400 BPS", "115200 BPS"}));
      QCOMPARE(Items(Child<QComboBox>(dialog, "cboPortNo")), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
      QVERIFY(!Child<QComboBox>(dialog, "cboSpeed")->isEditable());
    }
  }

  void portSettingsOkStoresSpeedFirst_data() {
    QTest::addColumn<int>("speedRow");
    QTest::addColumn<int>("portRow");
    QTest::addColumn<QString>("speedCode");
    QTest::addColumn<QString>("portCode");
    QTest::newRow("chosen") << 3 << 2 << "4"
                            << "3";
    QTest::newRow("first rows") << 0 << 0 << "1"
                                << "1";
    QTest::newRow("nothing selected") << -1 << -1 << "0"
                                      << "0";
  }
  void portSettingsOkStoresSpeedFirst() {
    QFETCH(int, speedRow);
    QFETCH(int, portRow);
    QFETCH(QString, speedCode);
    QFETCH(QString, portCode);
    MemoryStore store;
    store.values = {{"CommSpeed", " 2 "}, {"CommPortNo", "7"}};
    frmPortSetting dialog(store, NoVariables(), Detected());
    Child<QComboBox>(dialog, "cboSpeed")->setCurrentIndex(speedRow);
    Child<QComboBox>(dialog, "cboPortNo")->setCurrentIndex(portRow);
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(store.writes, (Writes{{"CommSpeed", speedCode}, {"CommPortNo", portCode}}));
    QVERIFY(store.portDeviceWrites.isEmpty());  // no device was picked
  }

  void portSettingsCancelStoresNothing() {
    MemoryStore store;
    store.values = {{"CommSpeed", " 3"}, {"CommPortNo", "x"}};
    frmPortSetting dialog(store, NoVariables(), Detected());
    Child<QComboBox>(dialog, "cboSpeed")->setCurrentIndex(0);
    Child<QComboBox>(dialog, "cboPortNo")->setCurrentIndex(3);
    Child<QPushButton>(dialog, "cmdCancel")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(store.writes.isEmpty());
    QCOMPARE(store.values, (QMap<QString, QString>{{"CommSpeed", " 3"}, {"CommPortNo", "x"}}));
  }

  void portSettingsIgnoresEnterAndEsc() {
    MemoryStore store;
    frmPortSetting dialog(store, NoVariables(), Detected());
    ShowActive(dialog);
    for (QWidget* target : {static_cast<QWidget*>(Child<QPushButton>(dialog, "cmdOK")),
                            static_cast<QWidget*>(Child<QComboBox>(dialog, "cboPortNo")),
                            static_cast<QWidget*>(Child<QComboBox>(dialog, "cboDevice"))}) {
      target->setFocus();
      QTest::keyClick(target, Qt::Key_Return);
      QTest::keyClick(target, Qt::Key_Escape);
    }
    QVERIFY(dialog.isVisible());
    QVERIFY(store.writes.isEmpty());
    QVERIFY(store.portDeviceWrites.isEmpty());
    QCOMPARE(Child<QComboBox>(dialog, "cboDevice")->count(), 3);  // Enter added no entry
  }

  void portSettingsLayoutAndTabs() {
    MemoryStore store;
    frmPortSetting dialog(store, NoVariables(), Detected());
    QCOMPARE(dialog.windowTitle(), QString("통신포트 선택"));
    // 5415 x 3075 twips and the device picker's rows below the frame.
    QCOMPARE(dialog.size(), QSize(361, 267));
    QCOMPARE(Child<QWidget>(dialog, "cboSpeed")->geometry(), Twips::Rect(1935, 690, 1740, 360));
    QCOMPARE(Child<QWidget>(dialog, "cboPortNo")->geometry(), Twips::Rect(1950, 2220, 1740, 360));
    QCOMPARE(Child<QWidget>(dialog, "cmdOK")->geometry(), Twips::Rect(4065, 1830, 1215, 360));
    QCOMPARE(Child<QWidget>(dialog, "cmdCancel")->geometry(), Twips::Rect(4065, 2370, 1215, 360));
    QCOMPARE(Child<QWidget>(dialog, "shp1")->geometry(), Twips::Rect(195, 600, 3690, 2130));
    QCOMPARE(Child<QWidget>(dialog, "cboDevice")->geometry(), Twips::Rect(195, 3150, 5085, 360));
    QCOMPARE(Child<QLabel>(dialog, "Label11")->text(), QString("Device    :"));
    QCOMPARE(Child<QLabel>(dialog, "Label11")->pos(), Twips::Rect(600, 2850, 1290, 240).topLeft());
    QCOMPARE(Child<QLabel>(dialog, "Label9")->text(), QString("COM PORT  :"));
    QCOMPARE(Child<QLabel>(dialog, "Label10")->text(), QString("핸디터미널 프로토콜"));
    QCOMPARE(Child<QLabel>(dialog, "Label10")->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    ShowActive(dialog);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("cboPortNo"));
    // The device picker comes after the others' order.
    for (const char* name : {"cmdOK", "cmdCancel", "cboSpeed", "cboDevice", "cboPortNo"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      // An editable list's box holds the focus for it.
      if (qobject_cast<QComboBox*>(focus->parentWidget()) != nullptr) focus = focus->parentWidget();
      QCOMPARE(focus->objectName(), QString(name));
    }
  }

  // --- port settings: the device of the COM port --------------------------
  void portDevicePickedFromTheDetected_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void portDevicePickedFromTheDetected() {
    QFETCH(bool, ok);
    MemoryStore store;
    store.values = {{"CommPortNo", "1"}};
    frmPortSetting dialog(store, NoVariables(), Detected());
    auto* device = Child<QComboBox>(dialog, "cboDevice");
    QCOMPARE(Items(device), (QStringList{"/dev/ttyS0 (기본)", Q(kById) + " (ttyUSB0)", "/dev/ttyACM0"}));
    QCOMPARE(device->currentText(), QString("/dev/ttyS0 (기본)"));  // nothing in Ports: the default
    QVERIFY(device->isEnabled());
    QVERIFY(device->isEditable());
    QCOMPARE(Child<QLabel>(dialog, "Label12")->text(), QString());
    device->setCurrentIndex(1);
    Child<QPushButton>(dialog, ok ? "cmdOK" : "cmdCancel")->click();
    if (ok) {
      QCOMPARE(store.portDeviceWrites, (DeviceWrites{{1, Q(kById)}}));
      QCOMPARE(store.portDevices.value(1), Q(kById));
      QCOMPARE(store.writes, (Writes{{"CommSpeed", "2"}, {"CommPortNo", "1"}}));
    } else {
      QVERIFY(store.portDeviceWrites.isEmpty());
      QVERIFY(store.writes.isEmpty());
      QVERIFY(store.portDevices.isEmpty());
    }
  }

  void portDeviceFollowsTheComPort() {
    MemoryStore store;
    store.values = {{"CommPortNo", "1"}};
    store.portDevices = {{2, "/dev/ttyACM0"}, {3, Q(kById)}};
    frmPortSetting dialog(store, NoVariables(), Detected());
    auto* port = Child<QComboBox>(dialog, "cboPortNo");
    auto* device = Child<QComboBox>(dialog, "cboDevice");
    QCOMPARE(device->currentText(), QString("/dev/ttyS0 (기본)"));
    port->setCurrentIndex(1);
    QCOMPARE(device->currentText(), QString("/dev/ttyACM0"));
    QCOMPARE(device->itemText(0), QString("/dev/ttyS1 (기본)"));
    // COM2 typed onto a link of its own; COM3 back to its default.
    device->setFocus();
    device->lineEdit()->selectAll();
    QTest::keyClicks(device->lineEdit(), "/tmp/cradle");
    port->setCurrentIndex(2);
    QCOMPARE(device->currentText(), Q(kById) + " (ttyUSB0)");
    device->setCurrentIndex(0);
    port->setCurrentIndex(1);  // what was typed for COM2 is still there
    QCOMPARE(device->currentText(), QString("/tmp/cradle"));
    QCOMPARE(Items(device).size(), 4);  // the default, the two detected, the typed one
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(store.portDeviceWrites, (DeviceWrites{{2, "/tmp/cradle"}, {3, ""}}));
    QCOMPARE(store.portDevices, (QMap<int, QString>{{2, "/tmp/cradle"}}));
    QCOMPARE(store.values.value("CommPortNo"), QString("2"));
  }

  void portDeviceNamedByTheEnvironmentIsShownAndKept() {
    Environment::Set("VANTOR_COM2", "/dev/ttyUSB9");
    const PortDevices ports;  // the start saw the variable
    MemoryStore store;
    store.values = {{"CommPortNo", "2"}};
    store.portDevices = {{2, "/dev/ttyACM0"}};
    frmPortSetting dialog(store, ports, Detected());
    auto* device = Child<QComboBox>(dialog, "cboDevice");
    QCOMPARE(device->currentText(), QString("/dev/ttyUSB9"));
    QVERIFY(!device->isEnabled());
    QCOMPARE(Child<QLabel>(dialog, "Label12")->text(), QString("환경 변수 VANTOR_COM2 이 정한 장치 (설정보다 우선)"));
    Child<QComboBox>(dialog, "cboPortNo")->setCurrentIndex(0);  // COM1 is the operator's to pick
    QVERIFY(device->isEnabled());
    QCOMPARE(Child<QLabel>(dialog, "Label12")->text(), QString());
    Child<QComboBox>(dialog, "cboPortNo")->setCurrentIndex(1);
    Child<QPushButton>(dialog, "cmdOK")->click();
    Environment::Unset("VANTOR_COM2");
    QVERIFY(store.portDeviceWrites.isEmpty());
    QCOMPARE(store.portDevices.value(2), QString("/dev/ttyACM0"));
  }

  // --- directory chooser ----------------------------------------------------
  void chooserOpensOnTheCurrentDirectory() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    MousePointer::SetHourglass();
    frmDirSelect dialog(volumes, messages);
    QVERIFY(!MousePointer::IsHourglass());
    QCOMPARE(dialog.dirList()->Path(), m_work);
    QCOMPARE(dialog.drvList()->Drive(), QString("/"));
    QCOMPARE(dialog.drvList()->count(), 3);
    QCOMPARE(dialog.drvList()->itemText(1), m_usb + "  [USB]");
    QCOMPARE(dialog.size(), QSize(300, 174));
    QCOMPARE(Child<QPushButton>(dialog, "cmdOK")->text(), QString("확  인"));
    QCOMPARE(Child<QPushButton>(dialog, "cmdCancel")->text(), QString("취 소"));
  }

  void chooserOkAndCancel_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("how");  // 0 OK, 1 Cancel, 2 Esc, 3 close box, 4 Enter
    QTest::addColumn<QString>("result");
    QTest::newRow("OK") << "/work/recv" << 0 << "/work/recv";
    QTest::newRow("OK, final separator") << "/work/recv/" << 0 << "/work/recv";
    QTest::newRow("Enter") << "/work/send" << 4 << "/work/send";
    QTest::newRow("Cancel") << "/work/recv" << 1 << "caller";
    QTest::newRow("Esc") << "/work/recv" << 2 << "caller";
    QTest::newRow("close box") << "/work/recv" << 3 << "caller";
  }
  void chooserOkAndCancel() {
    QFETCH(QString, start);
    QFETCH(int, how);
    QFETCH(QString, result);
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    dialog.dirList()->SetPath(m_tmp.path() + start);
    dialog.drvList()->SetDrive(dialog.drvList()->DriveOf(m_tmp.path() + start));
    ShowActive(dialog);
    if (how == 0) Child<QPushButton>(dialog, "cmdOK")->click();
    if (how == 1) Child<QPushButton>(dialog, "cmdCancel")->click();
    if (how == 2) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    if (how == 3) dialog.close();
    if (how == 4) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(Q(gSelectDir), result == "caller" ? result : m_tmp.path() + result);
    QVERIFY(messages.shown.isEmpty());
  }

  void aDirectoryOnAnotherVolumeOpensThatVolume() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    // The caller sets the directory first, then its volume: a drive change.
    dialog.dirList()->SetPath(m_usb + "/data");
    dialog.drvList()->SetDrive(dialog.drvList()->DriveOf(m_usb + "/data"));
    QCOMPARE(dialog.drvList()->DriveRoot(), m_usb);
    QCOMPARE(dialog.dirList()->Path(), m_usb);
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(Q(gSelectDir), m_usb);
  }

  void theRootIsReturnedWithItsSeparator() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    QVERIFY(dialog.dirList()->SetPath("/"));
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(Q(gSelectDir), QString("/"));
  }

  void aClickHighlightsAndADoubleClickOpens() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    DirListBox* list = dialog.dirList();
    QVERIFY(list->SetPath(m_work));
    QList<QListWidgetItem*> found = list->findItems("recv", Qt::MatchEndsWith);
    QCOMPARE(found.size(), 1);
    list->setCurrentItem(found.first());  // highlighted only
    QCOMPARE(list->Path(), m_work);
    emit list->itemDoubleClicked(found.first());
    QCOMPARE(list->Path(), m_work + "/recv");
    QVERIFY(!list->findItems("in", Qt::MatchEndsWith).isEmpty());
    // The levels above stay in the list and open on a double-click too.
    QList<QListWidgetItem*> up = list->findItems("work", Qt::MatchEndsWith);
    QCOMPARE(up.size(), 1);
    emit list->itemDoubleClicked(up.first());
    QCOMPARE(list->Path(), m_work);
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(Q(gSelectDir), m_work);
  }

  void okTakesTheHighlightedFolder() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    DirListBox* list = dialog.dirList();
    QVERIFY(list->SetPath(m_work));
    ShowActive(dialog);
    // One click on "recv", then 확인: the folder clicked, not its parent.
    QListWidgetItem* recv = list->findItems("recv", Qt::MatchEndsWith).value(0);
    QVERIFY(recv != nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(recv).center());
    QCOMPARE(list->Path(), m_work);  // highlighted, not opened
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(Q(gSelectDir), m_work + "/recv");
  }

  void okWithoutAClickTakesTheOpenedFolder() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    QVERIFY(dialog.dirList()->SetPath(m_work + "/recv"));
    QCOMPARE(dialog.dirList()->HighlightedPath(), m_work + "/recv");
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(Q(gSelectDir), m_work + "/recv");
  }

  void onlyDirectoriesAreListed() {
    const QString dir = m_tmp.path() + "/links";
    QVERIFY(QDir().mkpath(dir + "/real"));
    QVERIFY(QFile::link("/dev/null", dir + "/COM1"));        // a COM port's link to a device
    QVERIFY(QFile::link(dir + "/real", dir + "/to-real"));   // a link to a folder is a folder
    QVERIFY(QFile::link(dir + "/gone", dir + "/dangling"));  // a link to nothing is none
    {
      QFile file(dir + "/file.txt");
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    DirListBox list;
    QVERIFY(list.SetPath(dir));
    QStringList names;
    for (int i = 0; i < list.count(); ++i) names << list.item(i)->text().trimmed();
    QVERIFY2(names.contains("real") && names.contains("to-real"), qPrintable(names.join(',')));
    QVERIFY2(!names.contains("COM1") && !names.contains("dangling") && !names.contains("file.txt"),
             qPrintable(names.join(',')));
  }

  void theDriveIsRememberedOnlyWhenTheFocusArrives_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("remembered");
    QTest::newRow("Tab") << int(Qt::TabFocusReason) << true;
    QTest::newRow("Shift+Tab") << int(Qt::BacktabFocusReason) << true;
    QTest::newRow("mouse") << int(Qt::MouseFocusReason) << true;
    QTest::newRow("drop-down closed") << int(Qt::PopupFocusReason) << false;
    QTest::newRow("box closed") << int(Qt::ActiveWindowFocusReason) << false;
  }
  void theDriveIsRememberedOnlyWhenTheFocusArrives() {
    QFETCH(int, reason);
    QFETCH(bool, remembered);
    const FakeVolumes volumes = Volumes();
    DriveListBox list(volumes);
    QSignalSpy gotFocus(&list, &DriveListBox::GotFocus);
    QFocusEvent in(QEvent::FocusIn, Qt::FocusReason(reason));
    QCoreApplication::sendEvent(&list, &in);
    QCOMPARE(gotFocus.count(), remembered ? 1 : 0);
  }

  void theDialogsShowTheProgramsIcon() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    MemoryStore store;
    frmDirSelect chooser(volumes, messages);
    frmPortSetting portDialog(store, NoVariables(), Detected());
    const QImage program = Pictures::ProgramIcon().pixmap(16, 16).toImage();
    QVERIFY(!program.isNull());
    for (QWidget* dialog : {static_cast<QWidget*>(&chooser), static_cast<QWidget*>(&portDialog)}) {
      QVERIFY2(dialog->windowIcon().pixmap(16, 16).toImage() == program, qPrintable(dialog->objectName()));
    }
  }

  void aMessageBoxIsWideEnoughForItsCaption_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("-11") << "RTKelvane"
                         << "Recv 디렉토리 설정에러";
    QTest::newRow("-12") << "RTKelvane"
                         << "Send 디렉토리 설정에러";
    QTest::newRow("exit") << "Exit Applicatein"
                          << " 프로그램을 종료 하시겠습니까? ";
  }
  void aMessageBoxIsWideEnoughForItsCaption() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    MessageRequest request;
    request.title = title;
    request.text = text;
    const std::unique_ptr<QMessageBox> box = ModalMessageBoxes::Build(nullptr, request);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(title);
    QVERIFY2(box->width() >= captionWidth + 100,
             qPrintable(QString("box %1 px for a caption of %2 px").arg(box->width()).arg(captionWidth)));
    QCOMPARE(box->windowTitle(), title);
    box->close();
  }

  void aVolumeThatIsNotReadyIsReported() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    ShowActive(dialog);
    dialog.drvList()->SetDrive(m_usb);  // the operator's earlier choice
    QCOMPARE(dialog.dirList()->Path(), m_usb);
    QVERIFY(dialog.dirList()->SetPath(m_usb + "/data"));
    dialog.drvList()->setFocus();  // remembered as the drive to go back to
    QString listDuringMessage;
    messages.whileShown = [&](const MessageRequest&) { listDuringMessage = dialog.drvList()->DriveRoot(); };
    dialog.drvList()->setCurrentIndex(2);  // the operator picks the disc
    QCOMPARE(messages.shown.size(), 1);
    const MessageRequest& box = messages.shown.first();
    QCOMPARE(box.text, QString(kNotReadyText));
    QCOMPARE(box.title, QString("액세스 에러"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(listDuringMessage, m_cdrom);
    QCOMPARE(dialog.drvList()->DriveRoot(), m_usb);
    QCOMPARE(dialog.dirList()->Path(), m_usb + "/data");
    QVERIFY(dialog.isVisible());
  }

  void aFailedDriveChangeBeforeAnyFocusReturnsToTheShownDrive() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    // The caller's own setting fails: no drive was chosen by the operator yet.
    dialog.dirList()->SetPath(m_cdrom);
    dialog.drvList()->SetDrive(dialog.drvList()->DriveOf(m_cdrom));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(dialog.drvList()->DriveRoot(), QString("/"));
    QCOMPARE(dialog.dirList()->Path(), m_cdrom);
  }

  void chooserTabOrder() {
    const FakeVolumes volumes = Volumes();
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    ShowActive(dialog);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("dirList"));
    for (const char* name : {"drvList", "cmdCancel", "cmdOK", "dirList"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QString(name));
    }
  }

  // --- splash ---------------------------------------------------------------
  void splashCentring_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("1024x768") << QRect(0, 0, 1024, 768) << QPoint(310, 290);
    QTest::newRow("1920x1080") << QRect(0, 0, 1920, 1080) << QPoint(758, 446);
    QTest::newRow("800x600") << QRect(0, 0, 800, 600) << QPoint(198, 206);
    QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QPoint(1920 + 438, 418);
    QTest::newRow("smaller than the window") << QRect(0, 0, 320, 160) << QPoint(-41, -14);
  }
  void splashCentring() {
    QFETCH(QRect, screen);
    QFETCH(QPoint, topLeft);
    QCOMPARE(frmFlash::CentredOn(screen, QSize(403, 188)), topLeft);
  }

  void splashWindow() {
    frmFlash splash;
    QCOMPARE(splash.size(), QSize(403, 188));
    QCOMPARE(splash.windowTitle(), QString("Kelvane"));
    QCOMPARE(Child<QWidget>(splash, "Picture1")->geometry(), QRect(-8, -8, 415, 199));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(splash.pos(), frmFlash::CentredOn(screen, splash.frameGeometry().size()));
  }

  void windowsAreCentredByTheirFrame() {
    frmFlash splash;
    ShowCentred(splash);
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QRect screen = splash.screen()->geometry();
    // The frame, title bar included, sits in the middle; with a frame of
    // height 0 (no window manager) that is the client area.
    QVERIFY(qAbs(splash.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(splash.frameGeometry().center().y() - screen.center().y()) <= 1);
    QCOMPARE(splash.pos(), frmFlash::CentredOn(screen, splash.frameGeometry().size()));
    splash.close();
  }

  void theMainWindowClosesTheSplashOnce() {
    Rig rig;
    MousePointer::SetHourglass();
    auto* splash = new frmFlash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmFlash> watch(splash);
    splash->show();
    auto window = rig.MakeWindow();
    window->SetSplash(splash);
    QVERIFY(MousePointer::IsHourglass());
    ShowActive(*window);
    QTRY_VERIFY(watch.isNull());  // closed and deleted on activation
    QVERIFY(!MousePointer::IsHourglass());
    // A later activation (after a dialog) does not bring it back.
    MousePointer::SetHourglass();
    window->Form_Activate();
    QVERIFY(MousePointer::IsHourglass());
    MousePointer::SetDefault();
  }
};

QTEST_MAIN(TestDialogs)
#include "tst_rtk_dialogs.moc"
