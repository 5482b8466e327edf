#pragma once
// The serial line seam. CSerialPort talks to the COM port only through this
// interface; com_line_posix.cpp implements it with termios, a fake in the unit
// tests records what is written.
//
// The line is used by two threads: the watch thread waits and reads, the
// dialog's thread writes, purges and closes. Implementations make WaitEvent and
// Read return promptly when the other thread calls Wake, PurgeInput or Close.

#include <cstdint>
#include <memory>
#include <string>

#include "sys_error.h"

namespace vantor {

// A failed system call of the line, with the system's own message.
using ComError = SysError;

class CComLine {
 public:
  enum class Event { RxChar, Woken, Failed };

  virtual ~CComLine() = default;

  // Opens "COM1".."COM4" with the line settings of the protocol (8N1, XON/XOFF,
  // raw) at the given speed; discards anything queued on the line.
  virtual ComError Open(const std::string& portName, int speed) = 0;
  // Puts the line's settings back and closes it; wakes a waiting thread.
  virtual void Close() = 0;
  // Blocks until received characters are waiting, Wake is called, or the line
  // has failed for good (hang-up, device gone).
  virtual Event WaitEvent() = 0;
  virtual void Wake() = 0;
  // Bytes received and not yet read.
  virtual int QueuedInput() = 0;
  // Reads until count bytes have arrived, no byte has arrived for timeoutMs
  // (counted from the last byte received, or from the call while none has
  // come), PurgeInput or Close was called, or the line failed; returns the
  // bytes read. timeoutMs is an interval time-out: a piece that is still
  // arriving is never cut, however long it is, and one that stopped short is
  // handed back timeoutMs after its last byte.
  virtual int Read(std::uint8_t* buf, int count, int timeoutMs) = 0;
  // Writes len bytes. Returns len when they have left the output queue within
  // timeoutMs, else 0; bytes accepted are still transmitted in either case.
  virtual int Write(const std::uint8_t* buf, int len, int timeoutMs) = 0;
  // Discards received input and ends a pending Read; output is never discarded.
  virtual void PurgeInput() = 0;
  // Why WaitEvent said Failed, when the line did not simply hang up (a driver
  // whose waits keep failing); empty otherwise. Asked on the watch thread.
  virtual ComError Failure() const { return {}; }
};

// The platform's COM port (com_line_posix.cpp on POSIX systems).
std::unique_ptr<CComLine> CreateComLine();

}  // namespace vantor
