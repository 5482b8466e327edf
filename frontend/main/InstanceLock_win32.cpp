#include <windows.h>

#include "InstanceLock.h"
#include "WideText.h"

struct InstanceLock::Held {
  HANDLE mutex = nullptr;
  ~Held() {
    if (mutex != nullptr) CloseHandle(mutex);
  }
};

// "Local\": one instance per user session; another user on the same PC runs
// a program of their own.
std::string InstanceLock::DefaultName() { return "Local\\Kelvane.RTKelvane"; }

InstanceLock::InstanceLock(const std::string& name) : m_name(name) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::Acquire() {
  auto held = std::make_unique<Held>();
  held->mutex = CreateMutexW(nullptr, FALSE, Wide(m_name).c_str());
  // A mutex that exists already belongs to a running instance; one that
  // cannot be made at all must not keep the program from starting.
  if (held->mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) return false;
  m_held = std::move(held);
  return true;
}
