#pragma once
// Tells whether another instance of the program runs for this user. On Linux
// the first instance holds a lock file in the user's runtime directory for as
// long as it runs; a lock left by an instance that died is taken over
// (InstanceLock_qt.cpp). On Windows it holds a named mutex in the user's
// session, which the system releases when the process ends
// (InstanceLock_win32.cpp).

#include <memory>
#include <string>

class InstanceLock {
 public:
  // The lock of the program: a file path on Linux, a mutex name on Windows.
  static std::string DefaultName();

  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this is the only instance; the lock is then held until this
  // object is destroyed.
  bool Acquire();

 private:
  struct Held;
  std::string m_name;
  std::unique_ptr<Held> m_held;
};
