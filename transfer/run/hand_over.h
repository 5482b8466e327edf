#pragma once
// The hand-over from the watch thread to the dialog's thread.
//
// Send() queues a task, asks the dialog's loop to wake (through the callback
// given at construction) and blocks until the dialog's thread has run the task
// in Drain(). Once Close() has been called, Send() refuses new tasks and
// releases waiting senders at once, so that the watch thread can always end
// after the dialog's loop has stopped.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vantor {

class CHandOver {
 public:
  explicit CHandOver(std::function<void()> wake);

  // Any thread but the dialog's. True when the task ran, false when refused.
  bool Send(std::function<void()> task);
  // Dialog's thread: runs the queued tasks.
  void Drain();
  // Dialog's thread: no more tasks; waiting senders return false.
  void Close();

 private:
  struct Item {
    std::function<void()> task;
    bool done = false;
  };
  std::function<void()> m_wake;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<Item*> m_queue;
  bool m_closed = false;
};

}  // namespace vantor
