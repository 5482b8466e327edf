#pragma once
// The one owner of a Win32 kernel handle: closed once, by its owner, when the
// owner goes. Both "no handle" values of the API (null and
// INVALID_HANDLE_VALUE) count as empty.

#include <windows.h>

#include <utility>

namespace vantor {

class CWinHandle {
 public:
  CWinHandle() = default;
  explicit CWinHandle(HANDLE h) : m_h(h) {}
  ~CWinHandle() { Reset(); }
  CWinHandle(const CWinHandle&) = delete;
  CWinHandle& operator=(const CWinHandle&) = delete;
  CWinHandle(CWinHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
  CWinHandle& operator=(CWinHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      m_h = std::exchange(other.m_h, nullptr);
    }
    return *this;
  }

  HANDLE Get() const { return m_h; }
  bool Valid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  void Reset(HANDLE h = nullptr) {
    if (Valid()) CloseHandle(m_h);
    m_h = h;
  }

 private:
  HANDLE m_h = nullptr;
};

}  // namespace vantor
