// Start-up and settings: what the main window's load reads, shows and writes
// back, the settings in effect, the store kept by QSettings, and the refusal
// of a second instance.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "DefaultDirs.h"
#include "InstanceLock.h"
#include "PortErrorText.h"
#include "Rig.h"
#include "SettingsStore_qt.h"
#include "StartMain.h"

namespace {

using Writes = QList<QPair<QString, QString>>;

QString StatusText(const frmMain& window) { return window.findChild<QLabel*>("STATE")->text(); }
QString Text(const frmMain& window, const char* name) { return window.findChild<QLineEdit*>(name)->text(); }

}  // namespace

class TestStartup : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void firstStartWithAnEmptyStore() {
    Rig rig;
    auto window = rig.MakeWindow();
    const QString send = QDir::homePath() + "/send";
    const QString recv = QDir::homePath() + "/recv";
    QCOMPARE(Text(*window, "txtSendDir"), send);
    QCOMPARE(Text(*window, "txtRecvDir"), recv);
    QCOMPARE(int(gPortNo), 1);
    QCOMPARE(int(gBaudRate), 19200);
    QCOMPARE(StatusText(*window), QString("통신설정 : COM1 - 19200, N, 8, 1"));
    // Written back in this order; the speed code is not created here.
    QCOMPARE(rig.store.writes, (Writes{{"CommPortNo", "1"}, {"SendDir", send}, {"RecvDir", recv}}));
    QVERIFY(!rig.store.values.contains("CommSpeed"));
  }

  void blanksAroundStoredValues() {
    Rig rig;
    rig.store.values = {{"CommPortNo", " 4 "}, {"SendDir", "  /data/send  "}, {"RecvDir", " /data/recv/"}};
    auto window = rig.MakeWindow();
    QCOMPARE(int(gPortNo), 4);
    QCOMPARE(Text(*window, "txtSendDir"), QString("/data/send"));
    QCOMPARE(Text(*window, "txtRecvDir"), QString("/data/recv/"));
    // The port code is written back trimmed; the directories as they were read.
    QCOMPARE(rig.store.writes,
             (Writes{{"CommPortNo", "4"}, {"SendDir", "  /data/send  "}, {"RecvDir", " /data/recv/"}}));
  }

  void settingsInEffect_data() {
    QTest::addColumn<QString>("port");  // "-" for a missing key
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("portNo");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<QString>("status");
    QTest::newRow("COM3, no speed") << "3"
                                    << "-" << 3 << 19200 << "통신설정 : COM3 - 19200, N, 8, 1";
    QTest::newRow("speed code 1") << "1"
                                  << "1" << 1 << 9600 << "통신설정 : COM1 - 9600, N, 8, 1";
    QTest::newRow("baud rate stored") << "2"
                                      << "9600" << 2 << 19200 << "통신설정 : COM2 - 19200, N, 8, 1";
    QTest::newRow("port 7") << "7"
                            << "4" << 1 << 115200 << "통신설정 : COM1 - 115200, N, 8, 1";
    QTest::newRow("letters after") << "3abc"
                                   << "3xyz" << 3 << 38400 << "통신설정 : COM3 - 38400, N, 8, 1";
    QTest::newRow("non-numeric") << "COM2"
                                 << "fast" << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("empty") << ""
                           << "" << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("blanks") << "  2 "
                            << " 4  " << 2 << 115200 << "통신설정 : COM2 - 115200, N, 8, 1";
    QTest::newRow("1.0") << "4.0"
                         << "1.0" << 4 << 9600 << "통신설정 : COM4 - 9600, N, 8, 1";
  }
  void settingsInEffect() {
    QFETCH(QString, port);
    QFETCH(QString, speed);
    QFETCH(int, portNo);
    QFETCH(int, baudRate);
    QFETCH(QString, status);
    Rig rig;
    if (port != "-") rig.store.values["CommPortNo"] = port;
    if (speed != "-") rig.store.values["CommSpeed"] = speed;
    auto window = rig.MakeWindow();
    QCOMPARE(int(gPortNo), portNo);
    QCOMPARE(int(gBaudRate), baudRate);
    QCOMPARE(StatusText(*window), status);
    // Codes outside the table are never corrected in the store.
    if (speed != "-") QCOMPARE(rig.store.values["CommSpeed"], speed);
    if (port != "-") QCOMPARE(rig.store.values["CommPortNo"], port.trimmed());
  }

  void aStoreThatRefusesWritesStillStarts() {
    Rig rig;
    rig.store.refuseWrites = true;
    rig.store.values = {{"CommPortNo", "2"}, {"SendDir", "/s"}, {"RecvDir", "/r"}};
    auto window = rig.MakeWindow();
    QCOMPARE(int(gPortNo), 2);
    QCOMPARE(Text(*window, "txtSendDir"), QString("/s"));
  }

  void qsettingsKeepsStringsUnderTheSection() {
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path());
    {
      QSettingsStore store;
      QCOMPARE(Q(store.Read("CommPortNo", "1")), QString("1"));
      QVERIFY(store.Write("SendDir", "  /data/send  "));
      QVERIFY(store.Write("CommPortNo", "3"));
    }
    const QString file = tmp.path() + "/Kelvane/Kelvane.conf";
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    QSettings raw(file, QSettings::IniFormat);
    QCOMPARE(raw.childGroups(), QStringList{"Handy Terminal"});
    QSettingsStore again;
    QCOMPARE(Q(again.Read("SendDir", "x")), QString("  /data/send  "));
    QCOMPARE(Q(again.Read("CommPortNo", "1")), QString("3"));
    QCOMPARE(Q(again.Read("CommSpeed", "2")), QString("2"));
  }

  void thePortsGroupNamesTheDevices() {
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path());
    const QString file = tmp.path() + "/Kelvane/Kelvane.conf";
    {
      QSettings raw(file, QSettings::IniFormat);
      raw.setValue("Ports/COM1", "/dev/serial/by-id/usb-Cradle-if00-port0");
      raw.setValue("Ports/COM3", "  /dev/ttyACM0 ");
    }
    QSettingsStore store;
    QCOMPARE(Q(store.PortDevice(1)), QString("/dev/serial/by-id/usb-Cradle-if00-port0"));
    QCOMPARE(Q(store.PortDevice(2)), QString());
    QCOMPARE(Q(store.PortDevice(3)), QString("/dev/ttyACM0"));
    QCOMPARE(Q(store.Location()), file);
    // The operator's choices stay in their own group.
    QCOMPARE(Q(store.Read("CommPortNo", "1")), QString("1"));
  }

  void defaultFoldersAreCreatedAtStart_data() {
    QTest::addColumn<QString>("sendDir");  // "-" for nothing stored
    QTest::addColumn<QString>("recvDir");
    QTest::addColumn<bool>("sendMade");
    QTest::addColumn<bool>("recvMade");
    QTest::newRow("first start") << "-"
                                 << "-" << true << true;
    QTest::newRow("defaults stored with a final /") << "HOME/send/"
                                                    << "HOME/recv/" << true << true;
    QTest::newRow("folders of the operator's") << "/elsewhere/send"
                                               << "/elsewhere/recv" << false << false;
    QTest::newRow("one of each") << "-"
                                 << "/elsewhere/recv" << true << false;
  }
  void defaultFoldersAreCreatedAtStart() {
    QFETCH(QString, sendDir);
    QFETCH(QString, recvDir);
    QFETCH(bool, sendMade);
    QFETCH(bool, recvMade);
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    MemoryStore store;
    if (sendDir != "-") store.values["SendDir"] = QString(sendDir).replace("HOME", home.path());
    if (recvDir != "-") store.values["RecvDir"] = QString(recvDir).replace("HOME", home.path());
    CreateDefaultDirs(store);
    qputenv("HOME", savedHome);
    QCOMPARE(QFileInfo(home.path() + "/send").isDir(), sendMade);
    QCOMPARE(QFileInfo(home.path() + "/recv").isDir(), recvMade);
    QVERIFY(!QFileInfo::exists("/elsewhere"));
    QVERIFY(store.writes.isEmpty());  // creating folders stores nothing
  }

  void portErrorText_data() {
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("fromEnvironment");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing device")
        << "No such file or directory" << false
        << "통신포트를 열 수 없습니다: COM2\n장치: /dev/ttyUSB0\n원인: No such file or directory\n\n"
           "장치는 설정 파일의 [Ports] 그룹에서 COM2=장치 로 정합니다:\n/home/shop/.config/Kelvane/Kelvane.conf";
    QTest::newRow("settings refused")
        << "" << false
        << "통신포트를 열 수 없습니다: COM2\n장치: /dev/ttyUSB0\n원인: 장치가 통신 설정(속도, 8N1)을 받아들이지 "
           "않습니다\n\n"
           "장치는 설정 파일의 [Ports] 그룹에서 COM2=장치 로 정합니다:\n/home/shop/.config/Kelvane/Kelvane.conf";
    QTest::newRow("environment") << "Permission denied (the device belongs to the group dialout)" << true
                                 << "통신포트를 열 수 없습니다: COM2\n장치: /dev/ttyUSB0\n원인: Permission denied (the "
                                    "device belongs to the group "
                                    "dialout)\n\n이 장치는 환경 변수 VANTOR_COM2 이 정합니다.";
  }
  void portErrorText() {
    QFETCH(QString, reason);
    QFETCH(bool, fromEnvironment);
    QFETCH(QString, text);
    PortErrorFacts facts;
    facts.portNo = 2;
    facts.device = "/dev/ttyUSB0";
    facts.reason = U8(reason);
    facts.fromEnvironment = fromEnvironment;
    facts.settingsFile = "/home/shop/.config/Kelvane/Kelvane.conf";
    QCOMPARE(Q(PortErrorText(facts)), text);
  }

  void theLockAdmitsOneInstance() {
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/RTKelvane.lock";
    InstanceLock first(U8(path));
    QVERIFY(first.Acquire());
    InstanceLock second(U8(path));
    QVERIFY(!second.Acquire());
  }

  // A fresh start creates the default folders; SIGTERM then ends the program
  // at once and cleanly, and the next start finds the lock free.
  void aFreshStartEndsCleanlyOnSigterm() {
    QTemporaryDir tmp;
    QVERIFY(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", tmp.path());
    env.insert("XDG_CONFIG_HOME", tmp.path() + "/config");
    env.insert("HOME", tmp.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(RTKELVANE_EXE, {});
    QVERIFY(program.waitForStarted());
    // The main window's load has stored the settings: the program is up.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(tmp.path() + "/config/Kelvane/Kelvane.conf"), 20000);
    QVERIFY(QFileInfo(tmp.path() + "/send").isDir());
    QVERIFY(QFileInfo(tmp.path() + "/recv").isDir());
    InstanceLock meanwhile(U8(tmp.path() + "/RTKelvane.lock"));
    QVERIFY(!meanwhile.Acquire());
    program.terminate();  // SIGTERM
    QVERIFY2(program.waitForFinished(10000), "SIGTERM did not end the program");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);  // not killed by the signal
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(tmp.path() + "/RTKelvane.lock"));  // released, not left stale
    InstanceLock next(U8(tmp.path() + "/RTKelvane.lock"));
    QVERIFY(next.Acquire());
  }

  // SIGTERM while the splash window waits (before the main loop runs) ends
  // the program too, instead of being lost when the loop starts.
  void sigtermDuringTheSplashEndsTheProgram() {
    QTemporaryDir tmp;
    QVERIFY(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", tmp.path());
    env.insert("XDG_CONFIG_HOME", tmp.path() + "/config");
    env.insert("HOME", tmp.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(RTKELVANE_EXE, {});
    QVERIFY(program.waitForStarted());
    // The lock is taken first, the signal handler right after it; the splash
    // then waits a second.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(tmp.path() + "/RTKelvane.lock"), 20000);
    QTest::qWait(200);
    program.terminate();
    QVERIFY2(program.waitForFinished(10000), "SIGTERM during the splash did not end the program");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(tmp.path() + "/RTKelvane.lock"));
  }

  // The whole start procedure in this process: Yes to the exit question ends
  // it, and the lock is free for the next start as soon as Main returns.
  void yesToTheExitQuestionEndsTheProgram() {
    QTemporaryDir tmp;
    QVERIFY(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray saved[] = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("HOME")};
    qputenv("XDG_RUNTIME_DIR", tmp.path().toLocal8Bit());
    qputenv("HOME", tmp.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path() + "/config");
    QElapsedTimer sinceYes;
    bool asked = false;
    // Once the main window is up, close it and answer Yes.
    std::function<void()> closeMain = [&] {
      QWidget* main = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "frmMain" && w->isVisible()) main = w;
      }
      if (main == nullptr) {
        QTimer::singleShot(50, closeMain);
        return;
      }
      QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        auto* question = qobject_cast<QMessageBox*>(box);
        if (question == nullptr) return;
        asked = true;
        sinceYes.start();
        question->button(QMessageBox::Yes)->click();
      });
      main->close();
    };
    QTimer::singleShot(0, closeMain);
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });  // a stuck program fails, not hangs
    const int code = StartMain::Main(*qApp);
    const qint64 ms = sinceYes.elapsed();
    qputenv("XDG_RUNTIME_DIR", saved[0]);
    qputenv("HOME", saved[1]);
    QVERIFY(asked);
    QCOMPARE(code, 0);
    qInfo("from Yes to the end of Main: %lld ms", ms);
    InstanceLock next(U8(tmp.path() + "/RTKelvane.lock"));
    QVERIFY(next.Acquire());
  }

  void aSecondInstanceEndsSilently() {
    QTemporaryDir tmp;
    QVERIFY(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    InstanceLock running(U8(tmp.path() + "/RTKelvane.lock"));
    QVERIFY(running.Acquire());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", tmp.path());
    env.insert("XDG_CONFIG_HOME", tmp.path() + "/config");
    env.insert("HOME", tmp.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(RTKELVANE_EXE, {});
    QVERIFY(second.waitForStarted());
    // A program that went on to start would wait for the operator instead.
    QVERIFY2(second.waitForFinished(20000), "the second instance did not end");
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // It ended before its main window's load: nothing was stored.
    QVERIFY(!QFileInfo::exists(tmp.path() + "/config/Kelvane"));
    // And the running instance keeps its lock.
    InstanceLock third(U8(tmp.path() + "/RTKelvane.lock"));
    QVERIFY(!third.Acquire());
  }
};

QTEST_MAIN(TestStartup)
#include "tst_rtk_startup.moc"
