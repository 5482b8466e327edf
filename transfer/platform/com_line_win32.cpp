#include "com_line_win32.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include "sys_error.h"

namespace vantor {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr DWORD kQueueSize = 5020;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr DWORD kPurgeInput = PURGE_RXABORT | PURGE_RXCLEAR;
constexpr DWORD kCloseDrainMs = 1000;
// WaitForInput's results besides an event mask.
constexpr long kLineFailed = -1;
constexpr long kWaitFailed = -2;
// A wait that fails at once is retried after a pause that doubles from the
// first to the longest; when the waits have failed for the limit without
// anything arriving in between, the line counts as failed.
constexpr DWORD kFailedWaitFirstPauseMs = 10;
constexpr DWORD kFailedWaitLongestPauseMs = 200;
constexpr DWORD kFailedWaitLimitMs = 10000;

// what + ": " + the system's text for the calling thread's last error.
ComError Win32Error(const std::string& what) {
  SysError err = LastSystemError();
  err.message = what + ": " + err.message;
  return err;
}

DWORD MsSince(SteadyClock::time_point start) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
  return static_cast<DWORD>(std::clamp<long long>(ms, 0, 0x7FFFFFFF));
}

DWORD MsLeft(DWORD total, SteadyClock::time_point start) {
  const DWORD spent = MsSince(start);
  return spent >= total ? 0 : total - spent;
}

CWinHandle MakeEvent(bool manualReset) { return CWinHandle(CreateEventA(nullptr, manualReset, FALSE, nullptr)); }

void ResetOverlapped(OVERLAPPED& ov, const CWinHandle& event) {
  ov = OVERLAPPED{};
  ov.hEvent = event.Get();
  ResetEvent(event.Get());
}

// Errors with which a driver ends a read early and still reports the bytes
// so far: a cancel or purge (995), and a timed read on Wine (1460) or a
// driver that reports it as a counter time-out (1121).
bool ReadEndedEarly(DWORD err) {
  return err == ERROR_OPERATION_ABORTED || err == ERROR_TIMEOUT || err == ERROR_COUNTER_TIMEOUT;
}

}  // namespace

std::string NativeDeviceForPort(const std::string& portName) { return "\\\\.\\" + portName; }

std::unique_ptr<CComLine> CreateComLine() { return std::make_unique<CWin32ComLine>(); }

CWin32ComLine::CWin32ComLine() = default;

CWin32ComLine::~CWin32ComLine() { Close(); }

ComError CWin32ComLine::Open(const std::string& portName, int speed) {
  const std::string device = DeviceForPort(portName);
  if (device.empty()) return {ERROR_INVALID_NAME, portName + ": not a COM port name"};
  m_waitEvent = MakeEvent(true);
  m_readEvent = MakeEvent(true);
  m_writeEvent = MakeEvent(true);
  m_wakeEvent = MakeEvent(false);
  if (!m_waitEvent || !m_readEvent || !m_writeEvent || !m_wakeEvent) return Win32Error("CreateEvent");
  m_port.Reset(CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr));
  // The reason names the device; the caller names the port.
  if (!m_port) return Win32Error(device);
  ComError err = Configure(speed);
  if (err) {
    err.message = device + ": " + err.message;
    Restore();
    m_port.Reset();
    return err;
  }
  m_writePending = false;
  m_waitFailing = false;
  m_failure = {};
  m_failed = false;
  m_closed = false;
  return {};
}

ComError CWin32ComLine::Configure(int speed) {
  const HANDLE port = m_port.Get();
  m_savedDcb = DCB{};
  m_savedDcb.DCBlength = sizeof(DCB);
  if (!GetCommState(port, &m_savedDcb) || !GetCommTimeouts(port, &m_savedTimeouts)) {
    return Win32Error("not a serial line");
  }
  m_haveSaved = true;
  if (!SetCommMask(port, EV_RXCHAR)) return Win32Error("SetCommMask");
  SetupComm(port, kQueueSize, kQueueSize);  // a driver with fixed queues keeps its own
  PurgeComm(port, kPurgeAll);

  // Reads return at once with what is queued; Read times its own waits.
  // Writes keep the protocol's driver time-out of 1 s + 1 s per byte.
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 1000, 1000};
  if (!SetCommTimeouts(port, &timeouts)) return Win32Error("SetCommTimeouts");

  DCB dcb = m_savedDcb;
  dcb.BaudRate = static_cast<DWORD>(speed);
  dcb.fBinary = TRUE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.XonLim = 100;
  dcb.XoffLim = 100;
  // What another program may have left on the port must not stop the
  // exchange: the terminal's cable carries no handshake lines (so no CTS/DSR
  // flow control), NUL bytes are data, and an error must not abort reads.
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fNull = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fAbortOnError = FALSE;
  dcb.fParity = FALSE;
  // DTR stays raised while the port is open: a DCB that says "disabled" (as
  // the previous program left it) would drop it again when it is applied.
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  if (!SetCommState(port, &dcb)) return Win32Error("settings refused");
  DCB check{};
  check.DCBlength = sizeof(DCB);
  if (!GetCommState(port, &check)) return Win32Error("settings refused");
  if (check.BaudRate != dcb.BaudRate) return {ERROR_INVALID_PARAMETER, "speed " + std::to_string(speed) + " refused"};
  if (check.ByteSize != 8 || check.Parity != NOPARITY || check.StopBits != ONESTOPBIT || !check.fOutX || !check.fInX) {
    return {ERROR_INVALID_PARAMETER, "settings refused"};
  }
  EscapeCommFunction(port, SETDTR);  // a line without DTR is not an error
  PurgeComm(port, kPurgeAll);
  return {};
}

void CWin32ComLine::Restore() {
  if (!m_port || !m_haveSaved) return;
  SetCommMask(m_port.Get(), 0);
  SetCommTimeouts(m_port.Get(), &m_savedTimeouts);
  SetCommState(m_port.Get(), &m_savedDcb);
  m_haveSaved = false;
}

void CWin32ComLine::Close() {
  if (m_closed.exchange(true) || !m_port) return;
  const HANDLE port = m_port.Get();
  // Let what was written leave the line, but never wait long: output that is
  // stuck (the terminal sent XOFF and went away) is dropped.
  if (m_writePending) FinishPendingWrite(kCloseDrainMs);
  WaitOutputDrained(kCloseDrainMs);
  // Wake the watch thread: its waits include the wake event, and an armed
  // WaitCommEvent returns when the mask changes.
  SetEvent(m_wakeEvent.Get());
  SetCommMask(port, 0);
  CancelIoEx(port, nullptr);
  std::unique_lock use(m_watchUse);
  if (m_writePending) {
    DWORD n = 0;
    GetOverlappedResult(port, &m_ovWrite, &n, TRUE);
    m_writePending = false;
  }
  // Input only: what was written and has not been read on the other side yet
  // (the last end answers) must still reach the terminal. Over a pseudo-
  // terminal Wine turns an output purge into a flush of what the terminal has
  // not read. FlushFileBuffers is no drain there either (Wine discards the
  // output of a serial handle on it); the time-limited drain above is.
  DWORD errors = 0;
  COMSTAT stat{};
  const bool stuck = !ClearCommError(port, &errors, &stat) || stat.cbOutQue > 0;
  PurgeComm(port, stuck ? kPurgeAll : kPurgeInput);
  Restore();
  m_port.Reset();
}

void CWin32ComLine::Wake() {
  if (m_wakeEvent) SetEvent(m_wakeEvent.Get());
}

int CWin32ComLine::QueuedInput() {
  if (m_closed) return 0;
  std::shared_lock use(m_watchUse);
  if (m_closed) return 0;
  DWORD errors = 0;
  COMSTAT stat{};
  if (!ClearCommError(m_port.Get(), &errors, &stat)) {
    m_failed = true;
    return 0;
  }
  return static_cast<int>(stat.cbInQue);
}

void CWin32ComLine::EndPendingWait() {
  // Setting the mask ends a pending WaitCommEvent on every driver (Wine does
  // not cancel one through CancelIoEx); the mask itself stays as it was.
  if (!m_closed) SetCommMask(m_port.Get(), EV_RXCHAR);
  CancelIoEx(m_port.Get(), &m_ovWait);
}

long CWin32ComLine::WaitForInput(DWORD waitMs, bool* woken) {
  const HANDLE port = m_port.Get();
  DWORD mask = 0;
  DWORD errors = 0;
  COMSTAT stat{};
  ResetOverlapped(m_ovWait, m_waitEvent);
  if (WaitCommEvent(port, &mask, &m_ovWait)) {
    if ((mask & EV_RXCHAR) != 0) return static_cast<long>(mask);
    m_waitError = {ERROR_GEN_FAILURE, "the wait ends at once without an event"};
    return kWaitFailed;
  }
  if (GetLastError() != ERROR_IO_PENDING) {
    m_waitError = LastSystemError();
    return ClearCommError(port, &errors, &stat) ? kWaitFailed : kLineFailed;
  }
  // Bytes that arrived before the wait was armed raise no event: look at the
  // queue once the wait is armed, so that none is missed.
  const bool queueKnown = ClearCommError(port, &errors, &stat) != 0;
  DWORD waited = WAIT_OBJECT_0 + 2;  // "not waited": the queue decided
  if (queueKnown && stat.cbInQue == 0) {
    const HANDLE handles[2] = {m_waitEvent.Get(), m_wakeEvent.Get()};
    waited = WaitForMultipleObjects(2, handles, FALSE, waitMs);
  }
  const bool endedHere = waited != WAIT_OBJECT_0;  // woken, timed out, or input queued
  if (endedHere) EndPendingWait();
  DWORD n = 0;
  const bool completed = GetOverlappedResult(port, &m_ovWait, &n, TRUE) != 0;
  const DWORD err = completed ? 0 : GetLastError();
  if (waited == WAIT_OBJECT_0 + 1) *woken = true;
  if (!queueKnown) return kLineFailed;
  if (stat.cbInQue > 0) return EV_RXCHAR;
  if (completed && (mask & EV_RXCHAR) != 0) return static_cast<long>(mask);
  if (completed || err == ERROR_OPERATION_ABORTED) {
    if (endedHere) return 0;
    // The wait ended by itself with nothing to tell: a driver whose wait
    // fails (Wine over a pseudo-terminal without modem lines does this).
    m_waitError = completed ? SysError{ERROR_GEN_FAILURE, "the wait ends at once without an event"}
                            : SysError{static_cast<int>(err), SystemErrorText(static_cast<int>(err))};
    return kWaitFailed;
  }
  return kLineFailed;
}

bool CWin32ComLine::PauseAfterFailedWait(DWORD maxMs, bool* woken) {
  if (!m_waitFailing) {
    m_waitFailing = true;
    m_waitFailingSince = SteadyClock::now();
    m_failedWaitPauseMs = kFailedWaitFirstPauseMs;
  }
  if (MsSince(m_waitFailingSince) >= kFailedWaitLimitMs) {
    m_failure = {m_waitError.code, "WaitCommEvent keeps failing: " + m_waitError.message};
    m_failed = true;
    return false;
  }
  if (WaitForSingleObject(m_wakeEvent.Get(), std::min(m_failedWaitPauseMs, maxMs)) == WAIT_OBJECT_0) *woken = true;
  m_failedWaitPauseMs = std::min(m_failedWaitPauseMs * 2, kFailedWaitLongestPauseMs);
  return true;
}

CComLine::Event CWin32ComLine::WaitEvent() {
  std::shared_lock use(m_watchUse);
  for (;;) {
    if (m_closed) return Event::Woken;
    if (m_failed) return Event::Failed;
    bool woken = false;
    const long mask = WaitForInput(INFINITE, &woken);
    if (m_closed || woken) return Event::Woken;
    if (mask == kLineFailed) {
      m_failed = true;
      return Event::Failed;
    }
    if (mask == kWaitFailed) {
      // Never wait again at once: pause, then look at the queue, which tells
      // of input also when the driver's wait does not.
      if (!PauseAfterFailedWait(INFINITE, &woken)) return Event::Failed;
      if (m_closed || woken) return Event::Woken;
      DWORD errors = 0;
      COMSTAT stat{};
      if (!ClearCommError(m_port.Get(), &errors, &stat)) {
        m_failed = true;
        return Event::Failed;
      }
      if (stat.cbInQue == 0) continue;
    }
    if (mask != kWaitFailed && (mask & EV_RXCHAR) == 0) continue;  // the mask was changed: wait again
    m_waitFailing = false;
    return Event::RxChar;
  }
}

ComError CWin32ComLine::Failure() const { return m_failure; }

int CWin32ComLine::ReadQueued(std::uint8_t* buf, int count) {
  const HANDLE port = m_port.Get();
  DWORD got = 0;
  ResetOverlapped(m_ovRead, m_readEvent);
  if (ReadFile(port, buf, static_cast<DWORD>(count), &got, &m_ovRead)) return static_cast<int>(got);
  DWORD err = GetLastError();
  if (err == ERROR_IO_PENDING) {
    // With "return at once" time-outs this completes promptly; a wake
    // (PurgeInput, Close) still ends it on a driver that waits.
    const HANDLE handles[2] = {m_readEvent.Get(), m_wakeEvent.Get()};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) CancelIoEx(port, &m_ovRead);
    if (GetOverlappedResult(port, &m_ovRead, &got, TRUE)) return static_cast<int>(got);
    err = GetLastError();
  }
  if (ReadEndedEarly(err)) return static_cast<int>(got);
  DWORD errors = 0;
  ClearCommError(port, &errors, nullptr);
  return got > 0 ? static_cast<int>(got) : -1;
}

int CWin32ComLine::Read(std::uint8_t* buf, int count, int timeoutMs) {
  std::shared_lock use(m_watchUse);
  if (m_closed) return 0;
  const unsigned gen = m_purgeGen;
  const DWORD interval = static_cast<DWORD>(std::max(timeoutMs, 0));
  auto lastByte = SteadyClock::now();
  int got = 0;
  while (got < count && !m_closed && !m_failed && m_purgeGen == gen) {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(m_port.Get(), &errors, &stat)) {
      m_failed = true;
      break;
    }
    if (stat.cbInQue > 0) {
      const int n = ReadQueued(buf + got, std::min(count - got, static_cast<int>(stat.cbInQue)));
      if (n < 0) {
        m_failed = true;
        break;
      }
      got += n;
      if (n > 0) lastByte = SteadyClock::now();
      continue;
    }
    // Nothing queued: wait for the next byte, up to the interval since the
    // last one (or since the call, when none came yet).
    const DWORD left = MsLeft(interval, lastByte);
    if (left == 0) break;
    bool woken = false;
    const long mask = WaitForInput(left, &woken);
    if (mask == kLineFailed) {
      m_failed = true;
      break;
    }
    if (mask == kWaitFailed && !PauseAfterFailedWait(left, &woken)) break;
  }
  if (got > 0) m_waitFailing = false;
  return got;
}

bool CWin32ComLine::FinishPendingWrite(DWORD waitMs) {
  if (WaitForSingleObject(m_writeEvent.Get(), waitMs) != WAIT_OBJECT_0) return false;
  DWORD n = 0;
  GetOverlappedResult(m_port.Get(), &m_ovWrite, &n, FALSE);
  m_writePending = false;
  return true;
}

void CWin32ComLine::WaitOutputDrained(DWORD waitMs) {
  const auto start = SteadyClock::now();
  for (;;) {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(m_port.Get(), &errors, &stat) || stat.cbOutQue == 0) return;
    if (MsLeft(waitMs, start) == 0) return;
    // No event tells that the output queue emptied; a few milliseconds per
    // look is cheap.
    Sleep(2);
  }
}

int CWin32ComLine::Write(const std::uint8_t* buf, int len, int timeoutMs) {
  if (m_closed || len <= 0) return 0;
  const auto start = SteadyClock::now();
  const DWORD limit = static_cast<DWORD>(std::max(timeoutMs, 0));
  // The previous write, still held up: its OVERLAPPED is in use until it ends.
  if (m_writePending && !FinishPendingWrite(limit)) return 0;
  const HANDLE port = m_port.Get();
  DWORD written = 0;
  ResetOverlapped(m_ovWrite, m_writeEvent);
  if (!WriteFile(port, buf, static_cast<DWORD>(len), &written, &m_ovWrite)) {
    if (GetLastError() != ERROR_IO_PENDING) return 0;
    if (WaitForSingleObject(m_writeEvent.Get(), MsLeft(limit, start)) != WAIT_OBJECT_0) {
      m_writePending = true;  // the driver goes on transmitting
      return 0;
    }
    if (!GetOverlappedResult(port, &m_ovWrite, &written, FALSE)) return 0;
  }
  if (written != static_cast<DWORD>(len)) return 0;
  WaitOutputDrained(MsLeft(limit, start));
  DWORD errors = 0;
  COMSTAT stat{};
  if (ClearCommError(port, &errors, &stat) && stat.cbOutQue > 0) return 0;
  return len;
}

void CWin32ComLine::PurgeInput() {
  if (m_closed) return;
  PurgeComm(m_port.Get(), kPurgeInput);
  ++m_purgeGen;
  SetEvent(m_wakeEvent.Get());
}

}  // namespace vantor
