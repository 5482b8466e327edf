#pragma once
// The terminal's only view of the outside world: a stream of bytes.
//
// The terminal core writes whole frames and reads answers by their exact
// length with a time-out; it keeps no clock of its own, so every wait it makes
// is a Read time-out. The line on a pseudo-terminal or a serial device
// implements this in posix_line.cpp; the tests drive the core with a scripted
// PC that answers at once.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace hht {

using Millis = std::chrono::milliseconds;

// A failure of the line itself, with the system's message; empty when all is well.
struct LineError {
  std::string message;
  explicit operator bool() const { return !message.empty(); }
};

struct ReadResult {
  std::size_t count = 0;  // bytes placed at the start of the buffer
  bool hangup = false;    // the PC had the line open and has let it go
  bool arrived = false;   // the PC opened the line during this read (returns early)
  LineError error;        // the line failed for good
};

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Writes all bytes. A line with nobody on the other end swallows them, as a
  // serial cable does.
  virtual LineError Write(std::span<const std::uint8_t> bytes) = 0;
  // Reads until the buffer is full or the time-out has passed; returns early
  // with hangup, arrived or error set.
  virtual ReadResult Read(std::span<std::uint8_t> buffer, Millis timeout) = 0;
  // Drops whatever has been received and not read yet.
  virtual void DiscardInput() = 0;
};

}  // namespace hht
