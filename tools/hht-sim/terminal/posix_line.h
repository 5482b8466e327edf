#pragma once
// The terminal's line on this system: a serial device set up with termios, or
// a pseudo-terminal whose slave side the PC opens as its COM port.
//
// A pseudo-terminal has nobody on the other end until the PC opens the slave;
// reading the master then fails with EIO. That is "nobody there yet", not an
// end: reads wait out their time-out and writes go nowhere, as on a serial
// cable with no PC attached. A read that was waiting so returns as soon as
// the PC opens the slave; once the PC has had the slave open, its closing is
// reported once as a hang-up.

#include <termios.h>

#include <memory>
#include <string>

#include "byte_stream.h"
#include "unique_fd.h"

namespace hht {

// The descriptor's one owner, shared with the library's POSIX files.
using vantor::UniqueFd;

class PosixLine : public ByteStream {
 public:
  // isPty: the descriptor is a pseudo-terminal master.
  PosixLine(UniqueFd fd, bool isPty);
  ~PosixLine() override;
  LineError Write(std::span<const std::uint8_t> bytes) override;
  ReadResult Read(std::span<std::uint8_t> buffer, Millis timeout) override;
  void DiscardInput() override;

  // Settings to put back when the line closes (serial devices).
  void RestoreOnClose(const termios& saved);

 private:
  bool PeerAbsent();

  UniqueFd fd_;
  bool isPty_;
  bool peerSeen_ = false;
  bool haveSaved_ = false;
  termios saved_{};
};

struct OpenedLine {
  std::unique_ptr<PosixLine> line;
  std::string slavePath;  // pseudo-terminal only: the path the PC opens
  std::string error;      // why the line could not be opened
};

// The speeds a serial device can be opened at: the nine the PC accepts.
inline constexpr const char* kSpeeds = "9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000";

// Opens a serial device raw, 8N1, XON/XOFF both ways, at one of kSpeeds (the
// five with a classic termios constant through it, the others through Linux's
// arbitrary-rate interface); its settings are put back at close.
OpenedLine OpenSerialDevice(const std::string& path, int speed);

// Creates a pseudo-terminal whose slave is raw, so the PC sees the bytes
// unchanged from the moment it opens it.
OpenedLine CreatePseudoTerminal();

}  // namespace hht
