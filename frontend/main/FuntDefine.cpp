#include "FuntDefine.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "Clock.h"

namespace {

constexpr double kLastSecondsOfDay = 86400.0 - 5.0;
// The time is looked at again at least this often, so that a clock that is
// set while waiting cannot stretch the wait.
constexpr int kSliceMs = 100;

}  // namespace

void WaitSeconds(float seconds, Clock& clock) {
  const double t0 = SecondsSinceMidnight(clock.Now());
  // nearbyint rounds halves to the even neighbour.
  if (std::nearbyint(t0) > kLastSecondsOfDay) return;
  double elapsed = 0.0;
  do {
    elapsed = SecondsSinceMidnight(clock.Now()) - t0;
    // The time of day went back (the clock was set back, or midnight passed
    // after all): stop instead of waiting until the same time comes again.
    if (elapsed < 0.0) return;
    const double remainingMs = (seconds - elapsed) * 1000.0;
    clock.RunEventsFor(std::clamp(static_cast<int>(std::ceil(remainingMs)), 0, kSliceMs));
  } while (elapsed < seconds);
}

void WaitSeconds(float seconds) {
  SystemClock clock;
  WaitSeconds(seconds, clock);
}

bool MakeDirPath(const QString& path) {
  const QString trimmed = path.trimmed();
  if (trimmed.isEmpty()) return true;
  const QStringList parts = trimmed.split(u'/');
  QString current = parts.first() + u'/';
  for (qsizetype i = 1; i < parts.size(); ++i) {
    current += parts[i];
    if (!QFileInfo::exists(current) && !QDir().mkdir(current)) return false;
    current += u'/';
  }
  return true;
}
