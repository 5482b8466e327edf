#include "InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

QString InstanceLock::DefaultPath() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir + QStringLiteral("/RTKelvane.lock");
}

InstanceLock::InstanceLock(const QString& path) : m_lock(std::make_unique<QLockFile>(path)) {
  // A running instance never refreshes its lock; only a dead owner makes it
  // stale.
  m_lock->setStaleLockTime(0);
}

bool InstanceLock::Acquire() { return m_lock->tryLock(0); }
