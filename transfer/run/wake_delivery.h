#pragma once
// CWakeDelivery: how a window turns Wake, called from any thread, into
// OnWake on its own thread, the same for every window system.
//
// A wake is kept as pending until the window's thread takes it; while one
// delivery is queued on that thread, further wakes join it, so several wakes
// before it runs become one OnWake. Wakes before the window's loop runs are
// kept and queued when it opens; wakes after the dialog closed are dropped.
// The window supplies only the queueing itself (a posted message, a queued
// call), which runs under the delivery's lock.

#include <functional>
#include <mutex>

namespace vantor {

class CWakeDelivery {
 public:
  // Queues one delivery on the window's thread; false when it could not.
  using PostFn = std::function<bool()>;
  explicit CWakeDelivery(PostFn post) : m_post(std::move(post)) {}

  // Any thread: a wake for the window's thread.
  void Wake();
  // The window's loop runs: a wake kept from before is queued now.
  void Open();
  // The dialog ended: wakes from now on are dropped.
  void Close();
  // On the window's thread, for each queued delivery: true when OnWake is due.
  bool Take();

 private:
  void PostLocked();

  PostFn m_post;
  std::mutex m_mutex;
  bool m_open = false;     // the window's loop runs
  bool m_pending = false;  // a wake not yet turned into OnWake
  bool m_posted = false;   // a delivery is on its way
  bool m_closed = false;
};

}  // namespace vantor
