#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "InstanceLock.h"

struct InstanceLock::Held {
  explicit Held(const QString& path) : lock(path) {}
  QLockFile lock;
};

std::string InstanceLock::DefaultName() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return (dir + QStringLiteral("/RTKelvane.lock")).toStdString();
}

InstanceLock::InstanceLock(const std::string& name) : m_name(name) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::Acquire() {
  auto held = std::make_unique<Held>(QString::fromStdString(m_name));
  // A running instance never refreshes its lock; only a dead owner makes it
  // stale.
  held->lock.setStaleLockTime(0);
  if (!held->lock.tryLock(0)) return false;
  m_held = std::move(held);
  return true;
}
