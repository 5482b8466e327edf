// The desktop notification on Linux: DesktopNotifier calls the notification
// service over the session bus. The test runs on a session bus of its own
// (dbus-run-session with support/session-bus.conf, which can start no
// service), where a fake service, registered from a second connection,
// records the call.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QtTest>

#include "Notifier_qt.h"

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";

}  // namespace

// The desktop's side: org.freedesktop.Notifications.Notify, recorded.
class FakeNotifications : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  struct Call {
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int timeout = 0;
  };
  QList<Call> calls;

 public slots:
  uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
              const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout) {
    calls.append({appName, replacesId, appIcon, summary, body, actions, hints, timeout});
    emit called();
    return static_cast<uint>(calls.size());
  }

 signals:
  void called();
};

class TestNotify : public QObject {
  Q_OBJECT

 private:
  QDBusConnection m_desktop = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-desktop");

 private slots:
  void initTestCase() {
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no session bus: run under dbus-run-session");
    QVERIFY(m_desktop.isConnected());
  }

  void theServiceGetsTheLineUnderTheProgramsName() {
    FakeNotifications fake;
    QVERIFY(m_desktop.registerObject(kPath, &fake, QDBusConnection::ExportAllSlots));
    QVERIFY(m_desktop.registerService(kService));
    DesktopNotifier notifier(QDBusConnection::sessionBus());
    QStringList failures;
    notifier.onFailure = [&](const QString& why) { failures.append(why); };
    QSignalSpy called(&fake, &FakeNotifications::called);
    notifier.Notify("RTKelvane", "데이터 수신 완료: STOCK_20260315142530.txt 300건, 재고.TXT 2건 저장");
    // Sent, not waited for: the service answers from this thread's event
    // loop, which has not run yet.
    QCOMPARE(fake.calls.size(), 0);
    QVERIFY(called.wait());
    QCOMPARE(fake.calls.size(), 1);
    const FakeNotifications::Call& call = fake.calls.first();
    QCOMPARE(call.appName, QString("RTKelvane"));
    QCOMPARE(call.summary, QString("RTKelvane"));
    QCOMPARE(call.body, QString("데이터 수신 완료: STOCK_20260315142530.txt 300건, 재고.TXT 2건 저장"));
    QCOMPARE(call.appIcon, QString("rtkelvane"));
    QCOMPARE(call.hints.value("desktop-entry").toString(), QString("rtkelvane"));
    QCOMPARE(call.replacesId, 0u);
    QCOMPARE(call.timeout, -1);
    QVERIFY(call.actions.isEmpty());
    QVERIFY(failures.isEmpty());
    m_desktop.unregisterService(kService);
    m_desktop.unregisterObject(kPath);
  }

  void noServiceShowsNothingAndSaysWhyOnce() {
    QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(kService));
    DesktopNotifier notifier(QDBusConnection::sessionBus());
    QStringList failures;
    notifier.onFailure = [&](const QString& why) { failures.append(why); };
    notifier.Notify("RTKelvane", "마스터 파일 송신 완료");
    QTRY_COMPARE(failures.size(), 1);
    QVERIFY2(failures.first().startsWith("org.freedesktop.DBus.Error.ServiceUnknown"), qPrintable(failures.first()));
  }

  void noSessionBusShowsNothing() {
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/kelvane-bus"), "no-bus");
    QVERIFY(!none.isConnected());
    DesktopNotifier notifier(none);
    QStringList failures;
    notifier.onFailure = [&](const QString& why) { failures.append(why); };
    notifier.Notify("RTKelvane", "송수신 에러: 통신 오류로 중단되었습니다");
    QCOMPARE(failures.size(), 1);
    QVERIFY2(failures.first().startsWith("no session bus"), qPrintable(failures.first()));
  }
};

QTEST_GUILESS_MAIN(TestNotify)
#include "tst_rtk_notify.moc"
