// Start-up and settings: what the main window's load reads, shows and writes
// back, the settings in effect, the store kept by QSettings, and the refusal
// of a second instance.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "InstanceLock.h"
#include "Rig.h"

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
    QTest::newRow("COM3, no speed") << "3" << "-" << 3 << 19200 << "통신설정 : COM3 - 19200, N, 8, 1";
    QTest::newRow("speed code 1") << "1" << "1" << 1 << 9600 << "통신설정 : COM1 - 9600, N, 8, 1";
    QTest::newRow("baud rate stored") << "2" << "9600" << 2 << 19200 << "통신설정 : COM2 - 19200, N, 8, 1";
    QTest::newRow("port 7") << "7" << "4" << 1 << 115200 << "통신설정 : COM1 - 115200, N, 8, 1";
    QTest::newRow("letters after") << "3abc" << "3xyz" << 3 << 38400 << "통신설정 : COM3 - 38400, N, 8, 1";
    QTest::newRow("non-numeric") << "COM2" << "fast" << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("empty") << "" << "" << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("blanks") << "  2 " << " 4  " << 2 << 115200 << "통신설정 : COM2 - 115200, N, 8, 1";
    QTest::newRow("1.0") << "4.0" << "1.0" << 4 << 9600 << "통신설정 : COM4 - 9600, N, 8, 1";
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
      QCOMPARE(store.Read("CommPortNo", "1"), QString("1"));
      QVERIFY(store.Write("SendDir", "  /data/send  "));
      QVERIFY(store.Write("CommPortNo", "3"));
    }
    const QString file = tmp.path() + "/Kelvane/Kelvane.conf";
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    QSettings raw(file, QSettings::IniFormat);
    QCOMPARE(raw.childGroups(), QStringList{"Handy Terminal"});
    QSettingsStore again;
    QCOMPARE(again.Read("SendDir", "x"), QString("  /data/send  "));
    QCOMPARE(again.Read("CommPortNo", "1"), QString("3"));
    QCOMPARE(again.Read("CommSpeed", "2"), QString("2"));
  }

  void theLockAdmitsOneInstance() {
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/RTKelvane.lock";
    InstanceLock first(path);
    QVERIFY(first.Acquire());
    InstanceLock second(path);
    QVERIFY(!second.Acquire());
  }

  void aSecondInstanceEndsSilently() {
    QTemporaryDir tmp;
    QVERIFY(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    InstanceLock running(tmp.path() + "/RTKelvane.lock");
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
    InstanceLock third(tmp.path() + "/RTKelvane.lock");
    QVERIFY(!third.Acquire());
  }
};

QTEST_MAIN(TestStartup)
#include "tst_rtk_startup.moc"
