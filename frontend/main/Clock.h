#pragma once
// The clock of the program: the local date and time, and a wait during which
// the window system keeps running. Tests hand the program a clock they
// control, so that no test waits for real time to pass.

#include <QDateTime>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime Now() const = 0;
  // Lets the window system handle events (painting, input) for about
  // milliseconds ms, then returns.
  virtual void RunEventsFor(int ms) = 0;
};

class SystemClock final : public Clock {
 public:
  QDateTime Now() const override;
  void RunEventsFor(int ms) override;
};

// Seconds since local midnight, with fractions (0 up to 86400).
double SecondsSinceMidnight(const QDateTime& when);
