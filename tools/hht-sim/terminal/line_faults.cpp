#include "line_faults.h"

#include "noise.h"

namespace hht {

namespace {

bool Unfit(std::uint8_t b) { return b == 0x11 || b == 0x13 || b == 0x18; }  // XON, XOFF, CAN

}  // namespace

LineFaults::LineFaults(FaultPlan plan, std::uint64_t seed) : plan_(std::move(plan)), seed_(seed), rng_(seed) {}

void LineFaults::Rekey(std::uint64_t key) { rng_.seed(MixSeed(seed_, key)); }

bool LineFaults::Hit(double rate) { return rate > 0.0 && UnitDraw(rng_) < rate; }

std::size_t LineFaults::Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng_() % n); }

std::uint8_t LineFaults::ExtraByte() {
  for (;;) {
    const auto b = static_cast<std::uint8_t>(rng_() & 0xFF);
    if (!Unfit(b)) return b;
  }
}

LineFaults::Damage LineFaults::Apply(std::string& bytes, long frame, bool firstTry) {
  Damage d;
  const bool dropHere = firstTry && plan_.dropAt.count(frame) > 0;
  const bool insertHere = firstTry && plan_.insertAt.count(frame) > 0;
  if (plan_.dropRate > 0.0 || plan_.insertRate > 0.0) {
    std::string out;
    out.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (Hit(plan_.dropRate)) {
        ++d.dropped;
        continue;
      }
      out.push_back(bytes[i]);
      if (i + 1 < bytes.size() && Hit(plan_.insertRate)) {
        out.push_back(static_cast<char>(ExtraByte()));
        ++d.inserted;
      }
    }
    bytes.swap(out);
  }
  if (dropHere && !bytes.empty()) {
    bytes.erase(Below(bytes.size()), 1);
    ++d.dropped;
  }
  if (insertHere && bytes.size() >= 2) {
    bytes.insert(1 + Below(bytes.size() - 1), 1, static_cast<char>(ExtraByte()));
    ++d.inserted;
  }
  return d;
}

bool LineFaults::LoseAnswer(long frame) {
  if (plan_.loseAt.erase(frame) > 0) return true;
  return Hit(plan_.loseRate);
}

}  // namespace hht
