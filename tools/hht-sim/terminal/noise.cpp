#include "noise.h"

namespace hht {

namespace {
bool IsFlowControl(std::uint8_t b) { return b == 0x11 || b == 0x13; }
}  // namespace

Noise::Noise(double rate, std::uint64_t seed) : rate_(rate), seed_(seed), rng_(seed) {}

std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t key) {
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ull * (key + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double UnitDraw(std::mt19937_64& rng) { return static_cast<double>(rng() >> 11) * 0x1.0p-53; }

void Noise::Rekey(std::uint64_t key) { rng_.seed(MixSeed(seed_, key)); }

bool Noise::Hit() { return UnitDraw(rng_) < rate_; }

std::uint8_t Noise::Flip(std::uint8_t b) {
  const unsigned first = static_cast<unsigned>(rng_() % 8);
  for (unsigned i = 0; i < 8; ++i) {
    const auto flipped = static_cast<std::uint8_t>(b ^ (1u << ((first + i) % 8)));
    if (!IsFlowControl(flipped)) return flipped;
  }
  return b;  // unreachable: at most two of the eight flips are flow characters
}

int Noise::Apply(std::span<std::uint8_t> bytes) {
  if (Silent()) return 0;
  int changed = 0;
  for (std::uint8_t& b : bytes) {
    if (!Hit()) continue;
    b = Flip(b);
    ++changed;
  }
  return changed;
}

}  // namespace hht
