#include "Clock.h"

#include <QEventLoop>
#include <QTimer>

QDateTime SystemClock::Now() const { return QDateTime::currentDateTime(); }

void SystemClock::RunEventsFor(int ms) {
  // A nested loop ended by a timer: events are handled while it runs and the
  // thread sleeps in between, instead of spinning.
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

double SecondsSinceMidnight(const QDateTime& when) { return when.time().msecsSinceStartOfDay() / 1000.0; }
