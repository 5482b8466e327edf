#pragma once
// Line noise for testing the PC: with a given probability per byte, one bit of
// the byte is flipped. The generator is seeded, so a run can be repeated.
//
// A flip never produces XON (0x11) or XOFF (0x13): on a line with software
// flow control those are taken out of the data by the receiver, and an XOFF
// would stop the PC's output, so such a flip is not noise the protocol could
// ever see. Another bit of the same byte is flipped instead.

#include <cstdint>
#include <random>
#include <span>

namespace hht {

// A seed for one try of one frame: splitmix64 of the run's seed and a key,
// so that neighbouring keys give unrelated generators.
std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t key);
// 53 random bits as a fraction in [0, 1), the same on every standard library
// (std::uniform_real_distribution is not), so a seed repeats everywhere.
double UnitDraw(std::mt19937_64& rng);

class Noise {
 public:
  Noise(double rate, std::uint64_t seed);
  // Flips a bit in some of the bytes; returns how many bytes were changed.
  int Apply(std::span<std::uint8_t> bytes);
  bool Silent() const { return rate_ <= 0.0; }
  // Starts the generator anew from the seed and a key, so that what a frame
  // suffers depends on which frame and try it is, not on how many writes came
  // before it (a request written while nobody listened, for instance).
  void Rekey(std::uint64_t key);

 private:
  bool Hit();
  std::uint8_t Flip(std::uint8_t b);

  double rate_;
  std::uint64_t seed_;
  std::mt19937_64 rng_;
};

}  // namespace hht
