#pragma once
// The COM port on Windows: "COMn" is the device \\.\COMn, opened for
// overlapped I/O, so that the watch thread's waits and reads and the dialog's
// writes run side by side, each with its own OVERLAPPED and event.
//
// Principles, as on POSIX: the line's settings (DCB and time-outs) found at
// open are saved and put back at close; the line is 8N1 with XON/XOFF both ways
// (XonLim/XoffLim 100, 0x11/0x13), queues of 5020 bytes, DTR raised (a driver
// that cannot is not an error). Every wait of the watch thread also waits for
// a wake event, so that Wake, PurgeInput and Close end it at once; PurgeInput
// discards input only, never output that was written. Close lets the output
// drain for up to a second and then discards input only, so that the last
// answers of a run reach the terminal; only output stuck behind XOFF is
// dropped.
//
// Reads never rely on the driver's read time-outs: the port is set to "return
// at once with what is queued" (ReadIntervalTimeout MAXDWORD, totals 0) and
// Read runs its own interval time-out over WaitCommEvent(EV_RXCHAR). Drivers
// differ in how they end a timed read (Windows returns success with the bytes
// so far, Wine error 1460), and an interval counted from the last byte is what
// the protocol needs: a frame cut short is handed over promptly.

#include <atomic>
#include <chrono>
#include <shared_mutex>
#include <string>

#include "com_device.h"
#include "com_line.h"
#include "win32_handle.h"

namespace vantor {

class CWin32ComLine final : public CComLine {
 public:
  CWin32ComLine();
  ~CWin32ComLine() override;
  CWin32ComLine(const CWin32ComLine&) = delete;
  CWin32ComLine& operator=(const CWin32ComLine&) = delete;

  ComError Open(const std::string& portName, int speed) override;
  void Close() override;
  Event WaitEvent() override;
  void Wake() override;
  int QueuedInput() override;
  int Read(std::uint8_t* buf, int count, int timeoutMs) override;
  int Write(const std::uint8_t* buf, int len, int timeoutMs) override;
  void PurgeInput() override;
  ComError Failure() const override;

 private:
  ComError Configure(int speed);
  void Restore();
  // Arms WaitCommEvent and waits for it, for the wake event, or for waitMs
  // (INFINITE for no limit). Returns the event mask (0 when none), -1 when
  // the line failed, or -2 when the wait itself failed (at once, or ended
  // without an event) while the line still answers.
  long WaitForInput(DWORD waitMs, bool* woken);
  // After a failed wait: pauses (10 ms, doubling to 200 ms, at most maxMs),
  // so that a driver whose wait fails at once costs no CPU. False, with the
  // line failed and the reason kept, once the waits have failed for 10 s
  // with nothing arriving in between.
  bool PauseAfterFailedWait(DWORD maxMs, bool* woken);
  void EndPendingWait();
  int ReadQueued(std::uint8_t* buf, int count);
  bool FinishPendingWrite(DWORD waitMs);
  void WaitOutputDrained(DWORD waitMs);

  CWinHandle m_port;
  CWinHandle m_waitEvent;   // WaitCommEvent's, manual reset
  CWinHandle m_readEvent;   // ReadFile's, manual reset
  CWinHandle m_writeEvent;  // WriteFile's, manual reset
  CWinHandle m_wakeEvent;   // Wake, PurgeInput, Close; auto reset
  OVERLAPPED m_ovWait{};
  OVERLAPPED m_ovRead{};
  OVERLAPPED m_ovWrite{};
  bool m_writePending = false;  // dialog's thread only
  DCB m_savedDcb{};
  COMMTIMEOUTS m_savedTimeouts{};
  bool m_haveSaved = false;
  std::atomic<bool> m_closed{true};
  std::atomic<bool> m_failed{false};
  std::atomic<unsigned> m_purgeGen{0};
  // The watch thread's failed waits: since when they fail, the next pause,
  // the last reason, and why the line was given up.
  bool m_waitFailing = false;
  std::chrono::steady_clock::time_point m_waitFailingSince;
  DWORD m_failedWaitPauseMs = 0;
  ComError m_waitError;
  ComError m_failure;
  // Held (shared) by every call that uses the port from the watch thread's
  // side; Close takes it alone before it releases the handle, so the handle
  // is never closed under a pending call.
  std::shared_mutex m_watchUse;
};

}  // namespace vantor
