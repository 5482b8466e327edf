#pragma once
// The clock of the program: the local date and time, and a wait during which
// the window system keeps running. Tests hand the program a clock they
// control, so that no test waits for real time to pass. SystemClock is
// implemented once per window system (Clock_qt.cpp, Clock_win32.cpp): running
// events is the window system's business.

struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
  // Lets the window system handle events (painting, input) for about
  // milliseconds ms, then returns.
  virtual void RunEventsFor(int ms) = 0;
};

class SystemClock final : public Clock {
 public:
  LocalDateTime Now() const override;
  void RunEventsFor(int ms) override;
};

// Seconds since local midnight, with fractions (0 up to 86400).
double SecondsSinceMidnight(const LocalDateTime& when);
