#include "hand_over.h"

namespace vantor {

CHandOver::CHandOver(std::function<void()> wake) : m_wake(std::move(wake)) {}

bool CHandOver::Send(std::function<void()> task) {
  Item item{std::move(task)};
  {
    std::lock_guard lock(m_mutex);
    if (m_closed) return false;
    m_queue.push_back(&item);
  }
  m_wake();
  std::unique_lock lock(m_mutex);
  m_cv.wait(lock, [&] { return item.done || m_closed; });
  if (!item.done) {
    // Closed before the task ran: take it out so nobody runs it later.
    std::erase(m_queue, &item);
  }
  return item.done;
}

void CHandOver::Drain() {
  for (;;) {
    Item* item = nullptr;
    {
      std::lock_guard lock(m_mutex);
      if (m_queue.empty() || m_closed) return;
      item = m_queue.front();
      m_queue.pop_front();
    }
    item->task();
    {
      std::lock_guard lock(m_mutex);
      item->done = true;
    }
    m_cv.notify_all();
  }
}

void CHandOver::Close() {
  {
    std::lock_guard lock(m_mutex);
    m_closed = true;
  }
  m_cv.notify_all();
}

}  // namespace vantor
