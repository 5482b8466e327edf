#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

#include "Clock.h"

LocalDateTime SystemClock::Now() const {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
}

void SystemClock::RunEventsFor(int ms) {
  // A nested loop ended by a timer: events are handled while it runs and the
  // thread sleeps in between, instead of spinning.
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}
