#include "Notifier_qt.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

#include "QtText.h"
#include "VarDefine.h"

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
constexpr char kInterface[] = "org.freedesktop.Notifications";
// The desktop entry (rtkelvane.desktop) and its icon's name: the desktop
// shows the notification as the program's.
constexpr char kDesktopEntry[] = "rtkelvane";
// The desktop's own time before the notification goes.
constexpr int kDesktopsTimeout = -1;

void Tell(const std::function<void(const QString&)>& onFailure, const QString& why) {
  if (onFailure) {
    onFailure(why);
  } else {
    std::fprintf(stderr, "RTKelvane: no desktop notification: %s\n", why.toLocal8Bit().constData());
  }
}

}  // namespace

DesktopNotifier::DesktopNotifier() = default;

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus) : m_bus(bus) {}

void DesktopNotifier::Notify(const std::string& title, const std::string& text) {
  if (!m_bus) m_bus = QDBusConnection::sessionBus();
  if (!m_bus->isConnected()) {
    const QString why = m_bus->lastError().message();
    Tell(onFailure, QStringLiteral("no session bus") + (why.isEmpty() ? QString() : ": " + why));
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
  const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopEntry)}};
  call << QString::fromUtf8(VarDefine::kAppTitle) << 0u << QString::fromLatin1(kDesktopEntry) << Q(title) << Q(text)
       << QStringList() << hints << kDesktopsTimeout;
  auto* watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call));
  // The reply comes through the event loop, maybe after this notifier is
  // gone: the watcher keeps what it needs.
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                   [onFailure = onFailure](QDBusPendingCallWatcher* done) {
                     if (done->isError()) Tell(onFailure, done->error().name() + ": " + done->error().message());
                     done->deleteLater();
                   });
}
