#pragma once
// Faults of a line that loses things, for testing the PC: a byte of a sent
// frame lost, a byte too many in it, and an answer lost (the terminal ignores
// the PC's answer as if it had never come, and sends its frame again).
//
// Each fault can be played at random, with a rate (per sent byte for lost and
// extra bytes, per whole answer for lost answers), or on purpose at chosen
// frames of the run. Frames are numbered from 1, the opening request, in the
// order the run writes them; the repeats of a frame keep its number. On
// purpose, the first try of the frame loses or gains one byte (for the
// opening request: every write until the PC answers one), and the first
// whole answer to it is lost; its repeats go through.
//
// The random choices come from a generator keyed by the seed and the frame's
// try, as the noise's are, so a seed repeats a run. An extra byte is never
// XON or XOFF (flow control would take it off the line) nor CAN (a piece
// beginning with it is the terminal's cancel), and never stands before a
// frame's first byte or after its last.

#include <cstdint>
#include <random>
#include <set>
#include <string>

namespace hht {

struct FaultPlan {
  double dropRate = 0.0;    // probability per sent byte that it is lost
  double insertRate = 0.0;  // probability per sent byte that an extra byte follows it
  double loseRate = 0.0;    // probability per whole answer that it is lost
  std::set<long> dropAt;    // frames whose first try loses one byte
  std::set<long> insertAt;  // frames whose first try gains one byte
  std::set<long> loseAt;    // frames whose first whole answer is lost
};

class LineFaults {
 public:
  LineFaults(FaultPlan plan, std::uint64_t seed);

  struct Damage {
    int dropped = 0;
    int inserted = 0;
    bool Any() const { return dropped + inserted > 0; }
  };
  // Starts the generator anew for one try of a frame (see Noise::Rekey).
  void Rekey(std::uint64_t key);
  // Loses and adds bytes of one try of frame `frame` about to be written.
  Damage Apply(std::string& bytes, long frame, bool firstTry);
  // Whether a whole answer that has arrived for frame `frame` is lost.
  bool LoseAnswer(long frame);

 private:
  bool Hit(double rate);
  std::size_t Below(std::size_t n);
  std::uint8_t ExtraByte();

  FaultPlan plan_;
  std::uint64_t seed_;
  std::mt19937_64 rng_;
};

}  // namespace hht
