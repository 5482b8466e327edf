#pragma once
// SIGTERM, SIGINT and SIGHUP end the program cleanly: the handler only writes
// to a pipe, and the user interface thread then asks the application to quit.
// Quitting ends every running loop, a transfer's too, which the library then
// ends as a cancel; Main returns and the instance lock is released.

#include <QObject>

class QSocketNotifier;

class TerminationSignal final : public QObject {
 public:
  explicit TerminationSignal(QObject* parent = nullptr);
  ~TerminationSignal() override;

  // True once a signal came. A signal during the start-up wait ends that
  // wait's events only; the start procedure asks before it enters the loop.
  bool Requested() const { return m_requested; }

 private:
  void OnSignal();

  QSocketNotifier* m_notifier = nullptr;
  bool m_requested = false;
};
