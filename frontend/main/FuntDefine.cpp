#include "FuntDefine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Clock.h"
#include "FileOps.h"
#include "NumericText.h"

namespace {

constexpr double kLastSecondsOfDay = 86400.0 - 5.0;
// The time is looked at again at least this often, so that a clock that is
// set while waiting cannot stretch the wait.
constexpr int kSliceMs = 100;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

double SecondsSinceMidnight(const LocalDateTime& when) {
  return when.hour * 3600.0 + when.minute * 60.0 + when.second + when.millisecond / 1000.0;
}

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

bool MakeDirPath(const std::string& path) {
  const std::string trimmed = NumericText::Trim(path);
  if (trimmed.empty()) return true;
  const char separator = FileOps::Separator();
  const std::vector<std::string> parts = Split(trimmed, separator);
  std::string current = parts.front() + separator;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    current += parts[i];
    if (!FileOps::EntryExists(current) && !FileOps::MakeDir(current)) return false;
    current += separator;
  }
  return true;
}
