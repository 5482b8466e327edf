// The small procedures: reading stored codes as numbers, the code tables,
// the start-up wait and the creation of directory levels.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "CommSettings.h"
#include "Fakes.h"
#include "FuntDefine.h"
#include "NumericText.h"
#include "StockFile.h"

namespace {

QDateTime At(int h, int m, int s, int ms = 0) { return QDateTime(QDate(2026, 3, 15), QTime(h, m, s, ms)); }

void Touch(const QString& path, const QByteArray& content = "x") {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(content);
}

}  // namespace

class TestUtility : public QObject {
  Q_OBJECT

 private slots:
  void leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digit") << "3" << 3.0;
    QTest::newRow("blanks before") << "  4" << 4.0;
    QTest::newRow("letters after") << "3abc" << 3.0;
    QTest::newRow("fraction") << "1.0" << 1.0;
    QTest::newRow("half") << "2.5" << 2.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("negative") << "-2" << -2.0;
    QTest::newRow("baud rate") << "9600" << 9600.0;
    QTest::newRow("blank inside stops") << "1 2" << 1.0;
    QTest::newRow("lone dot") << "." << 0.0;
  }
  void leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumericText::LeadingNumber(U8(text)), value);
  }

  void int16Rounding() {
    int result = 99;
    QVERIFY(NumericText::ToInt16(1.5, &result));
    QCOMPARE(result, 2);
    QVERIFY(NumericText::ToInt16(0.5, &result));
    QCOMPARE(result, 0);  // halves go to the even neighbour
    QVERIFY(!NumericText::ToInt16(40000.0, &result));
    QVERIFY(!NumericText::ToInt16(-40000.0, &result));
  }

  void codeTables_data() {
    QTest::addColumn<double>("portCode");
    QTest::addColumn<double>("speedCode");
    QTest::addColumn<int>("portNo");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<QString>("text");
    QTest::newRow("defaults") << 1.0 << 2.0 << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("COM3") << 3.0 << 2.0 << 3 << 19200 << "통신설정 : COM3 - 19200, N, 8, 1";
    QTest::newRow("COM4 9600") << 4.0 << 1.0 << 4 << 9600 << "통신설정 : COM4 - 9600, N, 8, 1";
    QTest::newRow("COM2 38400") << 2.0 << 3.0 << 2 << 38400 << "통신설정 : COM2 - 38400, N, 8, 1";
    QTest::newRow("115200") << 1.0 << 4.0 << 1 << 115200 << "통신설정 : COM1 - 115200, N, 8, 1";
    QTest::newRow("outside") << 7.0 << 9600.0 << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("zero") << 0.0 << 0.0 << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
    QTest::newRow("not whole") << 2.5 << 3.5 << 1 << 19200 << "통신설정 : COM1 - 19200, N, 8, 1";
  }
  void codeTables() {
    QFETCH(double, portCode);
    QFETCH(double, speedCode);
    QFETCH(int, portNo);
    QFETCH(int, baudRate);
    QFETCH(QString, text);
    const auto port = CommSettings::PortFromCode(portCode);
    const auto speed = CommSettings::SpeedFromCode(speedCode);
    QCOMPARE(int(port.portNo), portNo);
    QCOMPARE(int(speed.baudRate), baudRate);
    QCOMPARE(Q(CommSettings::StatusText(port, speed)), text);
  }

  // --- WaitSeconds ---------------------------------------------------------
  void waitKeepsEventsRunningUntilTheTimeHasPassed() {
    FakeClock clock(At(12, 0, 0));
    bool painted = false;
    QTimer::singleShot(0, [&painted]() { painted = true; });
    WaitSeconds(1.0f, clock);
    QVERIFY(painted);
    QVERIFY(clock.now >= At(12, 0, 1));
    // The wait ends soon after the second, not a slice later.
    QVERIFY(clock.now <= At(12, 0, 1, 100));
    QVERIFY(clock.passes >= 10);  // it looks at the time again in short slices
  }

  void waitNearMidnight_data() {
    QTest::addColumn<QTime>("start");
    QTest::addColumn<bool>("waits");
    QTest::newRow("23:59:54") << QTime(23, 59, 54) << true;
    QTest::newRow("23:59:55") << QTime(23, 59, 55) << true;
    QTest::newRow("23:59:55.4") << QTime(23, 59, 55, 400) << true;
    QTest::newRow("23:59:55.5 rounds to 56") << QTime(23, 59, 55, 500) << false;
    QTest::newRow("23:59:56") << QTime(23, 59, 56) << false;
    QTest::newRow("23:59:58") << QTime(23, 59, 58) << false;
    QTest::newRow("00:00:00") << QTime(0, 0, 0) << true;
  }
  void waitNearMidnight() {
    QFETCH(QTime, start);
    QFETCH(bool, waits);
    FakeClock clock(QDateTime(QDate(2026, 3, 15), start));
    WaitSeconds(1.0f, clock);
    QCOMPARE(clock.passes > 0, waits);
    if (waits) QVERIFY(clock.now >= QDateTime(QDate(2026, 3, 15), start).addSecs(1));
  }

  void waitEndsWhenTheClockIsSetBack() {
    FakeClock clock(At(12, 0, 0));
    clock.onPass = [](FakeClock& c) {
      if (c.passes == 2) c.now = At(11, 0, 0);
    };
    WaitSeconds(1.0f, clock);
    QCOMPARE(clock.passes, 2);
  }

  // --- MakeDirPath ---------------------------------------------------------
  void makeDirPathCreatesMissingLevels() {
    QTemporaryDir tmp;
    const QString recv = tmp.path() + "/recv";
    QVERIFY(QDir().mkdir(recv));
    QVERIFY(MakeDirPath(U8(recv + "/in/day")));
    QVERIFY(QFileInfo(recv + "/in").isDir());
    QVERIFY(QFileInfo(recv + "/in/day").isDir());
  }

  void makeDirPathOfExistingPathCreatesNothing() {
    QTemporaryDir tmp;
    const QStringList before = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY(MakeDirPath(U8(tmp.path())));
    QVERIFY(MakeDirPath(U8(tmp.path() + "/")));
    QVERIFY(MakeDirPath(U8(tmp.path() + "//")));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
  }

  void makeDirPathWithFinalSeparatorCreatesTheSameLevels() {
    QTemporaryDir tmp;
    QVERIFY(MakeDirPath(U8("  " + tmp.path() + "/a/b/  ")));
    QVERIFY(QFileInfo(tmp.path() + "/a/b").isDir());
  }

  void makeDirPathOfBlanksDoesNothing() {
    QVERIFY(MakeDirPath(U8(QString())));
    QVERIFY(MakeDirPath(U8("   ")));
  }

  void makeDirPathFailsBehindAFile() {
    QTemporaryDir tmp;
    Touch(tmp.path() + "/blocker");
    QVERIFY(!MakeDirPath(U8(tmp.path() + "/blocker/inner")));
    QVERIFY(QFileInfo(tmp.path() + "/blocker").isFile());
    QVERIFY(!QFileInfo::exists(tmp.path() + "/blocker/inner"));
  }

  // --- the stock file's new name --------------------------------------------
  void stampedName() {
    QCOMPARE(Q(StockFile::StampedName("/r", ToLocal(At(14, 25, 30)))), QString("/r/STOCK_20260315142530.txt"));
    QCOMPARE(Q(StockFile::StampedName("/r", ToLocal(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))))),
             QString("/r/STOCK_20260102030405.txt"));
  }
};

QTEST_GUILESS_MAIN(TestUtility)
#include "tst_rtk_utility.moc"
