#include "wake_delivery.h"

namespace vantor {

void CWakeDelivery::Wake() {
  std::lock_guard lock(m_mutex);
  if (m_closed) return;
  m_pending = true;
  if (m_open && !m_posted) PostLocked();
}

void CWakeDelivery::Open() {
  std::lock_guard lock(m_mutex);
  if (m_closed) return;
  m_open = true;
  if (m_pending && !m_posted) PostLocked();
}

void CWakeDelivery::Close() {
  std::lock_guard lock(m_mutex);
  m_closed = true;
  m_open = false;
}

bool CWakeDelivery::Take() {
  std::lock_guard lock(m_mutex);
  m_posted = false;
  if (!m_open || !m_pending) return false;
  m_pending = false;
  return true;
}

void CWakeDelivery::PostLocked() { m_posted = m_post(); }

}  // namespace vantor
