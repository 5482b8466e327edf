#pragma once
// The state of one progress bar, kept the way the platform's progress control
// keeps it: the position always lies within the range, and a new range or
// position outside it is brought to the nearest end.

#include <algorithm>

namespace vantor {

struct CProgressBar {
  long low = 0;
  long high = 100;
  long pos = 0;

  void SetRange(long lo, long hi) {
    low = lo;
    high = hi;
    pos = Clamp(pos);
  }
  void SetPos(long p) { pos = Clamp(p); }
  long Clamp(long p) const { return high >= low ? std::clamp(p, low, high) : low; }
};

}  // namespace vantor
