#pragma once
// Notifications on a Linux desktop: the desktop's notification service,
// org.freedesktop.Notifications, called over the session bus. The call is
// sent and never waited for, so the window goes on at once. Where there is no
// session bus, or nothing on it serves notifications, nothing shows and a
// line on standard error says why: the operator is not troubled with a box.

#include <QDBusConnection>
#include <QString>
#include <functional>
#include <optional>

#include "Notifier.h"

class DesktopNotifier final : public Notifier {
 public:
  // The session bus, connected at the first notification (a program that
  // never transfers never touches it).
  DesktopNotifier();
  // A given bus (tests).
  explicit DesktopNotifier(const QDBusConnection& bus);

  void Notify(const std::string& title, const std::string& text) override;

  // Where a failure is told, with the bus's error; standard error unless set.
  // It may be called after Notify has returned, from the event loop.
  std::function<void(const QString& why)> onFailure;

 private:
  std::optional<QDBusConnection> m_bus;
};
