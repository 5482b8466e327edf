#pragma once
// The clock seam: every pause of the protocol goes through it, so that unit
// tests replace it and never sleep for real.

namespace vantor {

class CClock {
 public:
  virtual ~CClock() = default;
  virtual void Sleep(int ms) = 0;
};

// The real clock.
class CSystemClock final : public CClock {
 public:
  void Sleep(int ms) override;
};

}  // namespace vantor
