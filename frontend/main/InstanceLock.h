#pragma once
// Tells whether another instance of the program runs for this user: the
// first instance holds a lock file in the user's runtime directory for as
// long as it runs. A lock left by an instance that died is taken over.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
 public:
  // The lock file of the program in the user's runtime directory.
  static QString DefaultPath();

  explicit InstanceLock(const QString& path);
  // True when this is the only instance; the lock is then held until this
  // object is destroyed.
  bool Acquire();

 private:
  std::unique_ptr<QLockFile> m_lock;
};
