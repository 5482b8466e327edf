#pragma once
// A header that the terminal sends again because the PC's answer to it was lost.
//
// The terminal repeats every frame whose answer it did not get. For a data
// frame or a block request the phase copes (a repeated block is stored once,
// a block asked for twice is served twice), but the PC has already acted on a
// header (its ENQ request or an SOH header) and moved to the next phase, where
// the same header would be a faulty frame until the retry limit. So the PC
// keeps the header it last answered, with the answer, until the terminal shows
// that the answer arrived (a valid frame of the next phase). The very same
// bytes in the meantime are answered again, without a fault and without a
// change of phase. A received file's end frame (FS) moves the run on in the
// same way, back to the header phase, and is kept alike.
//
// The next phase reads pieces of its own frame length, which is seldom the
// kept frame's: with a longer frame (4008 bytes after a 1024-byte header) the
// read ends 1 s after the kept frame's last byte with all of it in one piece;
// with a shorter one (108, 10 bytes) the first piece is its beginning, and the
// rest is then read in one more piece of exactly the missing length before the
// answer is written (writing earlier would discard the rest as stale input).
//
// This class only compares bytes; CSerialPort::TakeResentHeader applies the
// verdict to the read length and the line.

#include <cstddef>
#include <cstdint>
#include <string>

#include "frame.h"

namespace vantor {

class CResentHeader {
 public:
  enum class Take {
    NotHeader,  // not a repeat of the header: the phase's own rules apply
    Partial,    // the header's beginning: read NextReadLen() bytes more, answer nothing yet
    Complete,   // the whole header again: write Answer() again
    Broken,     // began as the header and went on otherwise: a faulty frame of the phase
  };

  // A header was answered positively with `answer`.
  void Remember(Bytes header, std::string answer);
  // A valid frame of the phase after the header arrived: the answer got through.
  void Forget();

  // Judges a received piece; `requested` is the length its read asked for. A
  // piece shorter than asked ended on the read's time-out: nothing follows it.
  Take Look(Bytes piece, int requested);

  // After Partial: the bytes still missing. After Complete or Broken: the
  // phase's frame length again.
  int NextReadLen() const { return m_nextReadLen; }
  // The frame length of the phase, also while the rest of a header is read.
  int PhaseReadLen(int readLen) const { return Collecting() ? m_phaseReadLen : readLen; }
  bool Collecting() const { return m_matched > 0; }
  const std::string& Answer() const { return m_answer; }
  // The lead byte of the frame kept (0 when none is).
  std::uint8_t Lead() const { return m_header.empty() ? 0 : static_cast<std::uint8_t>(m_header[0]); }

 private:
  Take Finish(Take take);

  std::string m_header;  // empty: no repeat expected
  std::string m_answer;
  std::size_t m_matched = 0;  // bytes of the header taken so far, while collecting
  int m_phaseReadLen = 0;
  int m_nextReadLen = 0;
};

}  // namespace vantor
