// The main window: its layout and focus, the transfer command against the
// stand-in library, the renaming of a received stock file, the exit question
// on every way of closing, the toolbar and the two directory buttons.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolTip>
#include <QtTest>

#include "DirListBox.h"
#include "FirstInstance.h"
#include "ModalDriver.h"
#include "MousePointer.h"
#include "PictureBox.h"
#include "Rig.h"
#include "Twips.h"
#include "standin_vantor.h"

namespace {

// The stand-in's own functions, from the same loaded file.
struct StandIn {
  StandIn() : library(STANDIN_LIB) {
    if (!library.load()) return;
    reset = reinterpret_cast<decltype(reset)>(library.resolve("StandIn_Reset"));
    setResult = reinterpret_cast<decltype(setResult)>(library.resolve("StandIn_SetResult"));
    setHook = reinterpret_cast<decltype(setHook)>(library.resolve("StandIn_SetHook"));
    callCount = reinterpret_cast<decltype(callCount)>(library.resolve("StandIn_CallCount"));
    lastCall = reinterpret_cast<decltype(lastCall)>(library.resolve("StandIn_LastCall"));
  }
  bool Ready() const { return reset && setResult && setHook && callCount && lastCall; }

  QLibrary library;
  void (*reset)() = nullptr;
  void (*setResult)(int) = nullptr;
  void (*setHook)(StandInHook, void*) = nullptr;
  int (*callCount)() = nullptr;
  StandInCall (*lastCall)() = nullptr;
};

void Write(const QString& path, const QByteArray& content) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(content);
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  if (child == nullptr) qFatal("no control %s", name);
  return child;
}

// Puts VANTOR_COM1..4 back as they were when the test ends.
struct EnvironmentGuard {
  EnvironmentGuard() {
    for (int n = 1; n <= 4; ++n) saved[n] = qgetenv(Name(n));
    for (int n = 1; n <= 4; ++n) qunsetenv(Name(n));
  }
  ~EnvironmentGuard() {
    for (int n = 1; n <= 4; ++n) {
      if (saved[n].isEmpty()) {
        qunsetenv(Name(n));
      } else {
        qputenv(Name(n), saved[n]);
      }
    }
  }
  static const char* Name(int n) {
    static const char* names[] = {"", "VANTOR_COM1", "VANTOR_COM2", "VANTOR_COM3", "VANTOR_COM4"};
    return names[n];
  }
  QByteArray saved[5];
};

void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private:
  StandIn m_standIn;
  QTemporaryDir m_tmp;
  QString m_recv;
  QString m_send;

  std::unique_ptr<Rig> MakeRig() {
    auto rig = std::make_unique<Rig>(QStringList{STANDIN_LIB});
    rig->store.values = {{"RecvDir", m_recv}, {"SendDir", m_send}};
    return rig;
  }
  void Transfer(frmMain& window) { window.picSendButton_Click(); }

 private slots:
  void initTestCase() { QVERIFY2(m_standIn.Ready(), qPrintable(m_standIn.library.errorString())); }

  void init() {
    m_standIn.reset();
    m_recv = m_tmp.path() + "/recv";
    m_send = m_tmp.path() + "/send";
    QDir(m_recv).removeRecursively();
    QVERIFY(QDir().mkpath(m_recv));
    QVERIFY(QDir().mkpath(m_send));
  }

  // --- layout ----------------------------------------------------------------
  void layoutFollowsTheTwipsTable() {
    Rig rig;
    auto window = rig.MakeWindow();
    QCOMPARE(window->size(), QSize(493, 354));
    QCOMPARE(window->windowTitle(), QString("Kelvane"));
    struct Row {
      const char* name;
      QRect rect;
    };
    const Row rows[] = {
        {"txtSendDir", Twips::Rect(690, 1305, 5490, 360)},    {"cmdSendDirSet", Twips::Rect(6180, 1290, 570, 345)},
        {"txtRecvDir", Twips::Rect(690, 2160, 5475, 360)},    {"cmdRecvDirSet", Twips::Rect(6165, 2145, 570, 345)},
        {"ChkFileMode", Twips::Rect(720, 2640, 2295, 375)},   {"Shape1", Twips::Rect(1590, 3465, 930, 960)},
        {"picSendButton", Twips::Rect(1680, 3600, 765, 720)}, {"Picture6", Twips::Rect(2655, 3840, 2445, 285)},
        {"picDisp", Twips::Rect(5280, 3480, 525, 1080)},
    };
    for (const Row& row : rows) QCOMPARE(Child<QWidget>(*window, row.name)->geometry(), row.rect);
    QCOMPARE(Child<QWidget>(*window, "Label2")->pos(), Twips::Rect(195, 675, 0, 0).topLeft());
    QCOMPARE(Child<QLabel>(*window, "Label1_2")->text(), QString("마스터 파일이 있는 디렉토리"));
    QCOMPARE(Child<QLabel>(*window, "Label1_0")->text(), QString("데이터 파일이 저장될 디렉토리"));
    QCOMPARE(Child<QCheckBox>(*window, "ChkFileMode")->text(), QString("Append Mode Save"));
    QVERIFY(!Child<QCheckBox>(*window, "ChkFileMode")->isChecked());
    QCOMPARE(Child<QWidget>(*window, "picSendButton")->toolTip(), QString("송수신 시작"));
    QCOMPARE(Child<QWidget>(*window, "picSendButton")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Child<QWidget>(*window, "sbrStatus")->geometry(), QRect(0, 331, 493, 23));
    QCOMPARE(Child<QLabel>(*window, "STATE")->toolTip(), QString("통신설정 상태"));
    QCOMPARE(Child<QLabel>(*window, "SYSDATE")->text(),
             QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
  }

  void toolbarButtons() {
    Rig rig;
    auto window = rig.MakeWindow();
    const QList<QAction*> actions = Child<QToolBar>(*window, "Toolbar1")->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QString("종료"));
    QCOMPARE(actions[0]->data().toString(), QString("Exit"));
    QCOMPARE(actions[0]->toolTip(), QString("Exit Tarnwick"));
    QVERIFY(!actions[0]->icon().isNull());
    QCOMPARE(actions[1]->text(), QString("설정"));
    QCOMPARE(actions[1]->data().toString(), QString("Setting"));
  }

  void tabOrderAndFirstFocus() {
    Rig rig;
    auto window = rig.MakeWindow();
    ShowActive(*window);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmdSendDirSet"));
    const QStringList expected = {"cmdRecvDirSet", "picSendButton", "txtRecvDir",
                                  "txtSendDir",    "ChkFileMode",   "cmdSendDirSet"};
    for (const QString& name : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
  }

  void outlineShowsOnlyWhileTheButtonHasTheFocus() {
    Rig rig;
    auto window = rig.MakeWindow();
    ShowActive(*window);
    auto* shape = Child<QWidget>(*window, "Shape1");
    QVERIFY(!shape->isVisible());
    Child<QWidget>(*window, "picSendButton")->setFocus();
    QVERIFY(shape->isVisible());
    Child<QWidget>(*window, "txtRecvDir")->setFocus();
    QVERIFY(!shape->isVisible());
  }

  // --- the transfer command -------------------------------------------------
  void theSixArguments_data() {
    QTest::addColumn<bool>("append");
    QTest::newRow("append checked") << true;
    QTest::newRow("append unchecked") << false;
  }
  void theSixArguments() {
    QFETCH(bool, append);
    auto rig = MakeRig();
    rig->store.values["CommPortNo"] = "3";
    rig->store.values["CommSpeed"] = "4";
    auto window = rig->MakeWindow();
    // The texts go as they are: not trimmed, not tested.
    Child<QLineEdit>(*window, "txtSendDir")->setText("  /nowhere/송신 ");
    Child<QCheckBox>(*window, "ChkFileMode")->setChecked(append);
    Transfer(*window);
    QCOMPARE(m_standIn.callCount(), 1);
    const StandInCall call = m_standIn.lastCall();
    QCOMPARE(QByteArray(call.recvDir), m_recv.toLocal8Bit());
    QCOMPARE(QByteArray(call.sendDir), QString("  /nowhere/송신 ").toLocal8Bit());
    QCOMPARE(call.portNo, 3);
    QCOMPARE(call.speed, 115200);
    QCOMPARE(call.appendMode, append ? 1 : 0);
    QCOMPARE(QByteArray(call.userData), QByteArray("abc"));
  }

  void theWindowIsDisabledDuringTheCall() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    struct Seen {
      frmMain* window;
      int calls = 0;
      bool enabled = true;
    } seen{window.get()};
    m_standIn.setHook(
        [](void* context) {
          auto* s = static_cast<Seen*>(context);
          ++s->calls;
          s->enabled = s->window->isEnabled();
        },
        &seen);
    MousePointer::SetHourglass();
    Transfer(*window);
    QCOMPARE(seen.calls, 1);
    QVERIFY(!seen.enabled);
    QVERIFY(window->isEnabled());
    QVERIFY(!MousePointer::IsHourglass());
  }

  void theLibraryStaysLoaded() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    QVERIFY(!rig->library.IsLoaded());  // bound at the first transfer, not at start
    Transfer(*window);
    QVERIFY(rig->library.IsLoaded());
    Transfer(*window);
    QCOMPARE(m_standIn.callCount(), 2);
  }

  void resultMessages_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("-11") << -11 << "Recv 디렉토리 설정에러";
    QTest::newRow("-12") << -12 << "Send 디렉토리 설정에러";
    QTest::newRow("-13") << -13 << "통신포트 설정에러";
    QTest::newRow("-14") << -14 << "통신속도 설정에러";
    // -4 has a box of its own (portErrorNamesPortDeviceAndReason).
    for (int quiet : {2, 1, 0, -1, -2, -3, -10, -15, 65525}) {
      QTest::newRow(qPrintable(QString("quiet %1").arg(quiet))) << quiet << QString();
    }
  }
  void resultMessages() {
    QFETCH(int, result);
    QFETCH(QString, message);
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    m_standIn.setResult(result);
    Transfer(*window);
    if (message.isEmpty()) {
      QVERIFY(rig->messages.shown.isEmpty());
      return;
    }
    QCOMPARE(rig->messages.shown.size(), 1);
    const MessageRequest& box = rig->messages.shown.first();
    // A folder's message goes on with the folder and why (folderMessages).
    QCOMPARE(box.text.section('\n', 0, 0), message);
    QCOMPARE(box.title, QString("RTKelvane"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }

  // A refused folder: the library's text, the folder and why; a missing one
  // is made on Yes and the run starts again.
  void folderMessages_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("folder");  // relative to the test's folder
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("calls");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QStringList>("texts");
    const QString question = "\n\n폴더를 만들고 다시 전송하시겠습니까?";
    QTest::newRow("missing, yes") << -11 << "new/recv/" << int(QMessageBox::Yes) << 2 << true
                                  << QStringList{"Recv 디렉토리 설정에러\n[%1] 폴더가 없습니다." + question};
    QTest::newRow("missing, no") << -12 << "new/send/" << int(QMessageBox::No) << 1 << false
                                 << QStringList{"Send 디렉토리 설정에러\n[%1] 폴더가 없습니다." + question};
    QTest::newRow("a file in the way") << -11 << "blocker/recv/" << int(QMessageBox::Yes) << 1 << false
                                       << QStringList{"Recv 디렉토리 설정에러\n[%1] 폴더가 없습니다." + question,
                                                      "Recv 디렉토리 설정에러\n[%1] 폴더를 만들 수 없습니다: Not a directory"};
    QTest::newRow("a file") << -12 << "blocker" << int(QMessageBox::Ok) << 1 << false
                            << QStringList{"Send 디렉토리 설정에러\n[%1] 같은 이름의 파일이 있습니다. 폴더가 아닙니다."};
  }
  void folderMessages() {
    QFETCH(int, result);
    QFETCH(QString, folder);
    QFETCH(int, answer);
    QFETCH(int, calls);
    QFETCH(bool, made);
    QFETCH(QStringList, texts);
    QTemporaryDir base;
    Write(base.filePath("blocker"), "x");
    const QString dir = base.filePath(folder);
    auto rig = MakeRig();
    rig->store.values[result == -11 ? "RecvDir" : "SendDir"] = dir;
    auto window = rig->MakeWindow();
    m_standIn.setResult(result);
    rig->messages.answers = {QMessageBox::StandardButton(answer)};
    // The second run, once the folder is made, goes through.
    rig->messages.whileShown = [&](const MessageRequest&) { m_standIn.setResult(1); };
    Transfer(*window);
    QCOMPARE(m_standIn.callCount(), calls);
    QCOMPARE(QFileInfo(dir).isDir(), made);
    QCOMPARE(rig->messages.shown.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) QCOMPARE(rig->messages.shown[i].text, texts[i].arg(dir));
    QVERIFY(window->isEnabled());
  }

  // --- the device of each COM port -------------------------------------------
  void portDevicesComeFromTheSettings_data() {
    QTest::addColumn<QString>("environment");  // VANTOR_COM2 at start; "-" for unset
    QTest::addColumn<QString>("setting");      // Ports/COM2; "" for none
    QTest::addColumn<QString>("seen");         // VANTOR_COM2 during the call; "-" for unset
    QTest::newRow("setting") << "-"
                             << "/dev/serial/by-id/usb-cradle"
                             << "/dev/serial/by-id/usb-cradle";
    QTest::newRow("environment wins") << "/dev/ttyUSB7"
                                      << "/dev/ttyUSB0"
                                      << "/dev/ttyUSB7";
    QTest::newRow("neither") << "-"
                             << ""
                             << "-";
  }
  void portDevicesComeFromTheSettings() {
    QFETCH(QString, environment);
    QFETCH(QString, setting);
    QFETCH(QString, seen);
    EnvironmentGuard guard;
    if (environment != "-") qputenv("VANTOR_COM2", environment.toLocal8Bit());
    auto rig = MakeRig();
    rig->store.values["CommPortNo"] = "2";
    if (!setting.isEmpty()) rig->store.portDevices[2] = setting;
    auto window = rig->MakeWindow();
    struct Seen {
      QString com2;
    } during;
    m_standIn.setHook(
        [](void* context) { static_cast<Seen*>(context)->com2 = qEnvironmentVariable("VANTOR_COM2", "-"); }, &during);
    Transfer(*window);
    QCOMPARE(m_standIn.lastCall().portNo, 2);
    QCOMPARE(during.com2, seen);
    // Only COM2 was named: the other ports keep their default devices.
    QVERIFY(qEnvironmentVariableIsEmpty("VANTOR_COM1"));
  }

  void aSettingRemovedLaterNoLongerApplies() {
    EnvironmentGuard guard;
    auto rig = MakeRig();
    rig->store.portDevices[1] = "/dev/ttyACM0";
    auto window = rig->MakeWindow();
    Transfer(*window);
    QCOMPARE(qEnvironmentVariable("VANTOR_COM1"), QString("/dev/ttyACM0"));
    rig->store.portDevices.remove(1);
    Transfer(*window);
    QVERIFY(qEnvironmentVariableIsEmpty("VANTOR_COM1"));
  }

  // The port dialog knows which variables the start brought, not the ones a
  // transfer put there from the settings; what OK picks is the next
  // transfer's device unless the start's variable names it.
  void thePortDialogPicksTheDeviceOfTheNextTransfer_data() {
    QTest::addColumn<QString>("environment");  // VANTOR_COM1 at start; "-" for unset
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");  // Ports/COM1 after OK
    QTest::addColumn<QString>("seen");    // VANTOR_COM1 during the next transfer
    QTest::newRow("from the settings") << "-" << true << "/dev/ttyACM0"
                                       << "/dev/ttyUSB3"
                                       << "/dev/ttyUSB3";
    QTest::newRow("from the start") << "/dev/ttyUSB7" << false << "/dev/ttyUSB7"
                                    << "/dev/ttyACM0"
                                    << "/dev/ttyUSB7";
  }
  void thePortDialogPicksTheDeviceOfTheNextTransfer() {
    QFETCH(QString, environment);
    QFETCH(bool, enabled);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(QString, seen);
    EnvironmentGuard guard;
    if (environment != "-") qputenv("VANTOR_COM1", environment.toLocal8Bit());
    auto rig = MakeRig();
    rig->store.portDevices[1] = "/dev/ttyACM0";
    auto window = rig->MakeWindow();
    Transfer(*window);  // VANTOR_COM1 now holds a device either way
    bool wasEnabled = !enabled;
    QString wasShown;
    ModalDriver driver;
    driver.Next([&](QWidget* dialog) {
      auto* device = dialog->findChild<QComboBox*>("cboDevice");
      wasEnabled = device->isEnabled();
      wasShown = device->currentText();
      device->setEditText("/dev/ttyUSB3");
      dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    Child<QToolBar>(*window, "Toolbar1")->actions().at(1)->trigger();
    QVERIFY(driver.Fired());
    QCOMPARE(wasEnabled, enabled);
    QCOMPARE(wasShown, shown);
    QCOMPARE(rig->store.portDevices.value(1), stored);
    struct Seen {
      QString com1;
    } during;
    m_standIn.setHook(
        [](void* context) { static_cast<Seen*>(context)->com1 = qEnvironmentVariable("VANTOR_COM1", "-"); }, &during);
    Transfer(*window);
    QCOMPARE(during.com1, seen);
  }

  void portErrorNamesPortDeviceAndReason_data() {
    QTest::addColumn<bool>("fromEnvironment");
    QTest::newRow("device from the settings") << false;
    QTest::newRow("device from VANTOR_COM3") << true;
  }
  void portErrorNamesPortDeviceAndReason() {
    QFETCH(bool, fromEnvironment);
    EnvironmentGuard guard;
    const QString device = m_tmp.path() + "/usb-cradle";
    if (fromEnvironment) qputenv("VANTOR_COM3", device.toLocal8Bit());
    auto rig = MakeRig();
    rig->store.values["CommPortNo"] = "3";
    if (!fromEnvironment) rig->store.portDevices[3] = device;
    auto window = rig->MakeWindow();
    m_standIn.setResult(-4);
    Transfer(*window);
    QCOMPARE(rig->messages.shown.size(), 1);
    const MessageRequest& box = rig->messages.shown.first();
    QCOMPARE(box.title, QString("RTKelvane"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY2(
        box.text.startsWith("통신포트를 열 수 없습니다: COM3\n장치: " + device + "\n원인: No such file or directory\n"),
        qPrintable(box.text));
    if (fromEnvironment) {
      QVERIFY2(box.text.contains("VANTOR_COM3"), qPrintable(box.text));
    } else {
      QVERIFY2(
          box.text.contains("[Ports]") && box.text.contains("COM3=") && box.text.contains(Q(rig->store.Location())),
          qPrintable(box.text));
    }
  }

  void aDeviceThatRefusesTheSettingsIsNamedToo() {
    EnvironmentGuard guard;
    auto rig = MakeRig();
    rig->store.portDevices[1] = "/dev/null";
    auto window = rig->MakeWindow();
    m_standIn.setResult(-4);
    Transfer(*window);
    QCOMPARE(rig->messages.shown.size(), 1);
    QVERIFY2(rig->messages.shown.first().text.contains("장치: /dev/null\n원인: not a serial line"),
             qPrintable(rig->messages.shown.first().text));
  }

  // --- closing while a transfer runs --------------------------------------------
  void theCloseBoxDoesNothingDuringATransfer() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    ShowActive(*window);
    struct Seen {
      frmMain* window;
      bool closed = true;
      bool visible = false;
      bool transferring = false;
    } seen{window.get()};
    m_standIn.setHook(
        [](void* context) {
          auto* s = static_cast<Seen*>(context);
          s->transferring = s->window->IsTransferring();
          s->closed = s->window->close();  // the close box, Alt+F4, the session ending
          s->visible = s->window->isVisible();
        },
        &seen);
    rig->messages.defaultAnswer = QMessageBox::Yes;
    Transfer(*window);
    QVERIFY(seen.transferring);
    QVERIFY(!seen.closed);
    QVERIFY(seen.visible);
    QVERIFY(rig->messages.shown.isEmpty());  // not even the exit question
    QVERIFY(!window->IsTransferring());
    // After the transfer the question is asked again.
    QVERIFY(window->close());
    QCOMPARE(rig->messages.shown.size(), 1);
    QCOMPARE(rig->messages.shown.first().title, QString("Exit Applicatein"));
  }

  // --- a folder typed into a box ----------------------------------------------------
  void aTypedFolderIsKeptWhenATransferStarts() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    const QString typed = m_tmp.path() + "/typed";
    QVERIFY(QDir().mkpath(typed));
    Child<QLineEdit>(*window, "txtRecvDir")->setText(typed);
    Child<QLineEdit>(*window, "txtSendDir")->setText(m_send + "/");
    rig->store.writes.clear();
    Transfer(*window);
    // The library gets the text as typed; the store keeps it with its final "/".
    QCOMPARE(QString::fromLocal8Bit(m_standIn.lastCall().recvDir), typed);
    QCOMPARE(rig->store.values["RecvDir"], typed + "/");
    QCOMPARE(rig->store.values["SendDir"], m_send + "/");
    // A second transfer with the same texts writes nothing new.
    rig->store.writes.clear();
    Transfer(*window);
    QVERIFY(rig->store.writes.isEmpty());
    // An empty box is no folder to keep.
    Child<QLineEdit>(*window, "txtRecvDir")->setText("  ");
    Transfer(*window);
    QCOMPARE(rig->store.values["RecvDir"], typed + "/");
  }

  void aTypedFolderIsKeptWhenEnterIsPressedOrTheBoxIsLeft() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QString typed = m_tmp.path() + "/typed";
    auto* recv = Child<QLineEdit>(*window, "txtRecvDir");
    recv->setFocus();
    recv->setText(typed);
    QTest::keyClick(recv, Qt::Key_Return);
    QCOMPARE(rig->store.values["RecvDir"], typed + "/");
    auto* send = Child<QLineEdit>(*window, "txtSendDir");
    send->setFocus();
    send->setText(typed + "2");
    recv->setFocus();  // the box is left
    QCOMPARE(rig->store.values["SendDir"], typed + "2/");
  }

  // --- a second start ------------------------------------------------------------------
  void aSecondStartBringsTheRunningWindowToTheFront() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    const std::string lockName = (m_tmp.path() + "/RTKelvane.lock").toStdString();
    // Nobody runs: nobody to ask.
    QVERIFY(!FirstInstance::AskToComeForward(lockName));
    const FirstInstance first(lockName, *window);
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    QVERIFY(FirstInstance::AskToComeForward(lockName));
    QTRY_VERIFY(!window->isMinimized());
    QTRY_VERIFY(window->isActiveWindow());
  }

  // --- the toolbar's tooltips ----------------------------------------------------------
  void theSettingButtonShowsNoTooltip() {
    Rig rig;
    auto window = rig.MakeWindow();
    ShowActive(*window);
    auto* toolbar = Child<QToolBar>(*window, "Toolbar1");
    const auto tipOf = [&](const char* action) {
      QWidget* button = toolbar->widgetForAction(Child<QAction>(*window, action));
      QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
      QCoreApplication::sendEvent(button, &help);
      return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QTRY_VERIFY(!QToolTip::isVisible());
    QCOMPARE(tipOf("Setting"), QString());
    QCOMPARE(tipOf("Exit"), QString("Exit Tarnwick"));  // the way of asking works
    QToolTip::hideText();
  }

  // --- the chooser on a folder that does not exist -------------------------------------
  void aMissingFolderOpensTheChooserOnTheHomeFolder() {
    auto rig = MakeRig();
    rig->volumes.volumes = {{"/", ""}};
    auto window = rig->MakeWindow();
    Child<QLineEdit>(*window, "txtRecvDir")->setText(m_tmp.path() + "/not/there");
    QString shown;
    ModalDriver driver;
    driver.Next([&](QWidget* dialog) {
      shown = dialog->findChild<DirListBox*>("dirList")->Path();
      dialog->findChild<QPushButton*>("cmdCancel")->click();
    });
    window->cmdRecvDirSet_Click();
    QVERIFY(driver.Fired());
    QCOMPARE(shown, QDir::cleanPath(QDir::homePath()));
  }

  void aReceivedStockFileGetsItsTimeStamp_data() {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("result");
    QTest::newRow("received") << "" << 1;
    QTest::newRow("final separator") << "/" << 1;
    QTest::newRow("after a speed error") << "" << -14;
  }
  void aReceivedStockFileGetsItsTimeStamp() {
    QFETCH(QString, suffix);
    QFETCH(int, result);
    auto rig = MakeRig();
    rig->store.values["RecvDir"] = m_recv + suffix;
    auto window = rig->MakeWindow();
    m_standIn.setResult(result);
    Write(m_recv + "/STOCK.TXT", "stock data");
    Transfer(*window);
    QVERIFY(!QFileInfo::exists(m_recv + "/STOCK.TXT"));
    QCOMPARE(Read(m_recv + "/STOCK_20260315142530.txt"), QByteArray("stock data"));
  }

  void twoTransfersInOneSecondKeepBothFiles() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    Write(m_recv + "/STOCK.TXT", "first");
    Transfer(*window);
    Write(m_recv + "/STOCK.TXT", "second");
    Transfer(*window);  // the same second: the new name is taken
    QCOMPARE(Read(m_recv + "/STOCK_20260315142530.txt"), QByteArray("first"));
    QCOMPARE(Read(m_recv + "/STOCK.TXT"), QByteArray("second"));
    QVERIFY(rig->messages.shown.isEmpty());
    rig->clock.now = rig->clock.now.addSecs(1);
    Transfer(*window);
    QCOMPARE(Read(m_recv + "/STOCK_20260315142531.txt"), QByteArray("second"));
  }

  void aStockFileInAnyCaseGetsItsTimeStamp_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << "stock.txt";
    QTest::newRow("mixed case") << "Stock.Txt";
  }
  void aStockFileInAnyCaseGetsItsTimeStamp() {
    QFETCH(QString, name);
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    Write(m_recv + "/" + name, "counts");
    Transfer(*window);
    QCOMPARE(Read(m_recv + "/STOCK_20260315142530.txt"), QByteArray("counts"));
    QVERIFY(!QFile::exists(m_recv + "/" + name));
  }

  void aStockFileInAnyCaseNeverReplacesAFile() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    Write(m_recv + "/STOCK_20260315142530.txt", "earlier");
    Write(m_recv + "/stock.txt", "later");
    Transfer(*window);
    QCOMPARE(Read(m_recv + "/STOCK_20260315142530.txt"), QByteArray("earlier"));
    QCOMPARE(Read(m_recv + "/stock.txt"), QByteArray("later"));
  }

  void noStockFileRenamesNothing() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    Write(m_recv + "/OTHER.TXT", "other");
    QVERIFY(QDir().mkdir(m_recv + "/STOCK.TXT.d"));
    Transfer(*window);
    QCOMPARE(QDir(m_recv).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"OTHER.TXT", "STOCK.TXT.d"}));
    QVERIFY(rig->messages.shown.isEmpty());
  }

  void aDirectoryNamedLikeTheStockFileStays() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    QVERIFY(QDir().mkdir(m_recv + "/STOCK.TXT"));
    Transfer(*window);
    QVERIFY(QFileInfo(m_recv + "/STOCK.TXT").isDir());
    QVERIFY(!QFileInfo::exists(m_recv + "/STOCK_20260315142530.txt"));
  }

  // --- the notification after a transfer ------------------------------------
  void aReceiveIsNotifiedWithItsRecordsAndNotifyZeroSilencesIt() {
    // The library writes its log under the current directory.
    const QString saved = QDir::currentPath();
    QVERIFY(QDir().mkpath(m_tmp.path() + "/work/Log"));
    QVERIFY(QDir::setCurrent(m_tmp.path() + "/work"));
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    Child<QCheckBox>(*window, "ChkFileMode")->setChecked(true);
    Write(m_recv + "/ORDER.DAT", "O01\r\n");
    m_standIn.setHook(
        [](void* context) {
          const QString& recv = *static_cast<const QString*>(context);
          QFile order(recv + "/ORDER.DAT");
          QVERIFY(order.open(QIODevice::Append));
          order.write("O02\r\nO03\r\n");
          Write(recv + "/STOCK.TXT", "S000001\r\nS000002\r\nS000003\r\n");
          // As the library writes it: code page 949, CR LF.
          Write("Log/comm.log", "Port Open\r\nPort Close\r\n"
                                "File name = [STOCK.TXT.Tmp], Record Length = [9]\r\n"
                                "FileName = [" + recv.toUtf8() + "/STOCK.TXT], Num of Delete = [4]\r\n"
                                "File name = [ORDER.DAT.Tmp], Record Length = [5]\r\n"
                                "FileName = [" + recv.toUtf8() + "/ORDER.DAT], Num of Delete = [2]\r\n");
        },
        &m_recv);
    Transfer(*window);
    rig->store.values["Notify"] = "0";
    Transfer(*window);
    QDir::setCurrent(saved);
    QCOMPARE(rig->notifier.shown.size(), std::size_t{1});
    QCOMPARE(Q(rig->notifier.shown[0].title), QString("RTKelvane"));
    QCOMPARE(Q(rig->notifier.shown[0].text), QString("데이터 수신 완료: STOCK_20260315142530.txt 3건, ORDER.DAT 2건 저장"));
    QVERIFY(rig->messages.shown.isEmpty());
  }

  void aFailureNamesTheLogInTheWorkFolder() {
    const QString saved = QDir::currentPath();
    QVERIFY(QDir().mkpath(m_tmp.path() + "/work"));
    QVERIFY(QDir::setCurrent(m_tmp.path() + "/work"));
    const QString log = QDir::currentPath() + "/Log/comm.log";
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    m_standIn.setResult(VANTOR_DEVICE_CANCEL);
    Transfer(*window);
    QDir::setCurrent(saved);
    QCOMPARE(rig->notifier.shown.size(), std::size_t{1});
    QCOMPARE(Q(rig->notifier.shown[0].text), "송수신 중단: 단말기에서 취소했습니다. 로그: " + log);
  }

  void aMissingLibraryTransfersNothing_data() {
    QTest::addColumn<QString>("candidate");
    QTest::newRow("no file") << m_tmp.path() + "/nothing/Vantor2";
    QTest::newRow("no export") << QString(NOEXPORT_LIB);
  }
  void aMissingLibraryTransfersNothing() {
    QFETCH(QString, candidate);
    Rig rig({candidate});
    rig.store.values = {{"RecvDir", m_recv}, {"SendDir", m_send}};
    auto window = rig.MakeWindow();
    Write(m_recv + "/STOCK.TXT", "stock data");
    Transfer(*window);
    QVERIFY(!rig.library.IsLoaded());
    QVERIFY(rig.messages.shown.isEmpty());
    QVERIFY(rig.notifier.shown.empty());  // no run, nothing to tell
    QVERIFY(window->isEnabled());
    QCOMPARE(m_standIn.callCount(), 0);
    // The received-file step still runs.
    QCOMPARE(Read(m_recv + "/STOCK_20260315142530.txt"), QByteArray("stock data"));
  }

  void enterStartsATransferOnlyOnTheButton() {
    auto rig = MakeRig();
    auto window = rig->MakeWindow();
    ShowActive(*window);
    for (const char* other : {"txtRecvDir", "ChkFileMode", "cmdSendDirSet"}) {
      Child<QWidget>(*window, other)->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(m_standIn.callCount(), 0);
    Child<QWidget>(*window, "picSendButton")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(m_standIn.callCount(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m_standIn.callCount(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(m_standIn.callCount(), 2);
    QTest::mouseClick(Child<QWidget>(*window, "picSendButton"), Qt::LeftButton);
    QCOMPARE(m_standIn.callCount(), 3);
  }

  // --- closing ---------------------------------------------------------------
  void everyWayOfClosingAsks_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("close box") << 0;
    QTest::newRow("toolbar exit") << 1;
    QTest::newRow("all windows closing") << 2;
  }
  void everyWayOfClosingAsks() {
    QFETCH(int, way);
    Rig rig;
    auto window = rig.MakeWindow();
    ShowActive(*window);
    auto close = [&]() {
      if (way == 0) window->close();
      if (way == 1) Child<QToolBar>(*window, "Toolbar1")->actions().at(0)->trigger();
      if (way == 2) QApplication::closeAllWindows();
    };
    rig.messages.answers = {QMessageBox::No};
    close();
    QVERIFY(window->isVisible());
    QCOMPARE(rig.messages.shown.size(), 1);
    const MessageRequest& question = rig.messages.shown.first();
    QCOMPARE(question.text, QString(" 프로그램을 종료 하시겠습니까? "));
    QCOMPARE(question.title, QString("Exit Applicatein"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    rig.messages.answers = {QMessageBox::Yes};
    close();
    QVERIFY(!window->isVisible());
    QCOMPARE(rig.messages.shown.size(), 2);
  }

  void altF4AsksToo() {
    Rig rig;
    auto window = rig.MakeWindow();
    ShowActive(*window);
    rig.messages.answers = {QMessageBox::No};
    // What the window manager sends for Alt+F4.
    QCloseEvent event;
    QApplication::sendEvent(window.get(), &event);
    QVERIFY(!event.isAccepted());
    QCOMPARE(rig.messages.shown.size(), 1);
  }

  // --- toolbar: port settings ---------------------------------------------
  void settingsTakeEffectAfterTheDialog_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void settingsTakeEffectAfterTheDialog() {
    QFETCH(bool, ok);
    Rig rig;
    auto window = rig.MakeWindow();
    ModalDriver driver;
    driver.Next([&rig, ok](QWidget* dialog) {
      QCOMPARE(dialog->objectName(), QString("frmPortSetting"));
      dialog->findChild<QComboBox*>("cboPortNo")->setCurrentIndex(2);
      dialog->findChild<QComboBox*>("cboSpeed")->setCurrentIndex(0);
      // Someone else changed the store meanwhile; after Cancel it counts.
      rig.store.values["CommPortNo"] = "2";
      dialog->findChild<QPushButton*>(ok ? "cmdOK" : "cmdCancel")->click();
    });
    Child<QToolBar>(*window, "Toolbar1")->actions().at(1)->trigger();
    QVERIFY(driver.Fired());
    if (ok) {
      QCOMPARE(int(gPortNo), 3);
      QCOMPARE(int(gBaudRate), 9600);
      QCOMPARE(Child<QLabel>(*window, "STATE")->text(), QString("통신설정 : COM3 - 9600, N, 8, 1"));
    } else {
      QCOMPARE(int(gPortNo), 2);
      QCOMPARE(int(gBaudRate), 19200);
      QCOMPARE(Child<QLabel>(*window, "STATE")->text(), QString("통신설정 : COM2 - 19200, N, 8, 1"));
    }
  }

  void anUnknownToolbarKeyDoesNothing() {
    Rig rig;
    auto window = rig.MakeWindow();
    QAction other;
    other.setData("Print");
    window->Toolbar1_ButtonClick(&other);
    QVERIFY(rig.messages.shown.isEmpty());
    QAction lower;
    lower.setData("exit");  // keys are compared in upper case
    rig.messages.answers = {QMessageBox::No};
    window->show();
    window->Toolbar1_ButtonClick(&lower);
    QCOMPARE(rig.messages.shown.size(), 1);
  }

  // --- the directory buttons ------------------------------------------------
  void directoryButtons_data() {
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("ok");
    QTest::newRow("send, cancel") << true << false;
    QTest::newRow("send, OK") << true << true;
    QTest::newRow("recv, cancel") << false << false;
    QTest::newRow("recv, OK") << false << true;
  }
  void directoryButtons() {
    QFETCH(bool, send);
    QFETCH(bool, ok);
    auto rig = MakeRig();
    rig->volumes.volumes = {{"/", ""}};
    QVERIFY(QDir().mkpath(m_send + "/master"));
    auto window = rig->MakeWindow();
    const QString dir = send ? m_send : m_recv;
    const char* box = send ? "txtSendDir" : "txtRecvDir";
    rig->store.writes.clear();
    QString title;
    QString shown;
    bool hourglass = true;
    ModalDriver driver;
    driver.Next([&](QWidget* dialog) {
      title = dialog->windowTitle();
      hourglass = MousePointer::IsHourglass();
      auto* list = dialog->findChild<DirListBox*>("dirList");
      shown = list->Path();
      if (send) list->SetPath(m_send + "/master");
      dialog->findChild<QPushButton*>(ok ? "cmdOK" : "cmdCancel")->click();
    });
    MousePointer::SetHourglass();
    const auto handler = send ? &frmMain::cmdSendDirSet_Click : &frmMain::cmdRecvDirSet_Click;
    (window.get()->*handler)();
    QVERIFY(driver.Fired());
    QCOMPARE(title,
             send ? QString(" 마스터 파일이 있는 디렉토리 설정") : QString(" 데이터 파일이 저장될 디렉토리 설정"));
    QVERIFY(!hourglass);
    QCOMPARE(shown, dir);  // the chooser opened on the box's directory
    const QString expected = (ok && send ? m_send + "/master" : dir) + "/";
    QCOMPARE(Child<QLineEdit>(*window, box)->text(), expected);
    QCOMPARE(rig->store.writes, (QList<QPair<QString, QString>>{{send ? "SendDir" : "RecvDir", expected}}));
  }

  void aDirectoryThatDoesNotExistKeepsTheProgramRunning() {
    auto rig = MakeRig();
    rig->volumes.volumes = {{"/", ""}};
    auto window = rig->MakeWindow();
    Child<QLineEdit>(*window, "txtSendDir")->setText(m_tmp.path() + "/gone/away");
    ModalDriver driver;
    driver.Next([](QWidget* dialog) { dialog->findChild<QPushButton*>("cmdCancel")->click(); });
    window->cmdSendDirSet_Click();
    QVERIFY(driver.Fired());
    QCOMPARE(Child<QLineEdit>(*window, "txtSendDir")->text(), m_tmp.path() + "/gone/away/");
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_rtk_mainwindow.moc"
