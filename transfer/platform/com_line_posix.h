#pragma once
// The COM port on POSIX systems, with termios.
//
// "COMn" is the device named by the environment variable VANTOR_COMn when it is
// set and not empty, else /dev/ttyS<n-1>. The device is opened non-blocking and
// every wait is a poll() on the device and on an eventfd, so that the dialog's
// thread can end a wait of the watch thread at once (Wake, PurgeInput, Close).
//
// Principles: the settings found at open are saved and put back at close; the
// line is raw 8N1 with XON/XOFF both ways (only XON restarts output), receiver
// on, modem lines ignored. Input is discarded at open and by PurgeInput; output
// that was written is never discarded while the line still moves it.

#include <termios.h>

#include <atomic>
#include <string>

#include "com_device.h"
#include "com_line.h"
#include "unique_fd.h"

namespace vantor {

// Sets a speed on an open terminal, through the arbitrary-rate interface when
// the speed has no classic constant. Returns false when the device refuses it.
bool SetLineSpeed(int fd, int speed);
// The output speed of an open terminal in bits per second, -1 on failure.
long ReadLineSpeed(int fd);

class CPosixComLine final : public CComLine {
 public:
  CPosixComLine();
  ~CPosixComLine() override;
  CPosixComLine(const CPosixComLine&) = delete;
  CPosixComLine& operator=(const CPosixComLine&) = delete;

  ComError Open(const std::string& portName, int speed) override;
  void Close() override;
  Event WaitEvent() override;
  void Wake() override;
  int QueuedInput() override;
  int Read(std::uint8_t* buf, int count, int timeoutMs) override;
  int Write(const std::uint8_t* buf, int len, int timeoutMs) override;
  void PurgeInput() override;

 private:
  ComError Configure(int speed);
  void DrainWake();
  void WaitOutputDrained(int timeoutMs);

  UniqueFd m_fd;
  UniqueFd m_wakeFd;
  termios m_saved{};
  bool m_haveSaved = false;
  std::atomic<bool> m_closed{true};
  std::atomic<unsigned> m_purgeGen{0};
};

}  // namespace vantor
