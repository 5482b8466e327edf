// The port side of CSerialPort: open, close, read, write and the watch thread.
#include "serial_port.h"

#include <cstring>

#include "comm_log.h"
#include "text_codec.h"

namespace vantor {

CSerialPort::CSerialPort(CComLine& line, CClock& clock, CFileSystem& fs) : m_line(line), m_clock(clock), m_fileIO(fs) {}

CSerialPort::~CSerialPort() {
  // The dialog closes the port at every end of a run; this is the safety net
  // for an object destroyed without a run.
  ClosePort();
  JoinWatchThread();
}

int CSerialPort::OpenPort(const std::string& portName, int speed) {
  m_bOpen = 0;
  m_nBlockSize = 0;
  if (ComError err = m_line.Open(portName, speed)) {
    m_strOpenError = err.message;
    return 0;
  }
  m_nState = PHASE_ENQ;
  m_nReadLen = kHeaderLen;
  m_nRetry = 0;
  // Set before the thread starts, so that a ClosePort that follows at once is
  // never undone by the thread's own start.
  m_bWatchRun = 1;
  try {
    m_pWatchThread = std::thread(&CSerialPort::CommWatchThread, this);
  } catch (const std::system_error& e) {
    m_bWatchRun = 0;
    m_line.Close();
    m_strOpenError = e.what();
    return 0;
  }
  m_bOpen = 1;
  return 1;
}

void CSerialPort::ClosePort() {
  if (!m_bOpen) return;
  m_bOpen = 0;
  m_bWatchRun = 0;
  m_line.Close();  // wakes the watch thread's wait
  WriteLog("Port Close");
}

void CSerialPort::JoinWatchThread() {
  if (m_pWatchThread.joinable()) m_pWatchThread.join();
}

void CSerialPort::PurgePort() { m_line.PurgeInput(); }

int CSerialPort::SendData(const std::uint8_t* frame, int length) {
  PrepareToSend();
  return WriteFrame(frame, length);
}

void CSerialPort::PrepareToSend() {
  PurgePort();
  m_clock.Sleep(kWritePauseMs);
  m_recvBuf.fill(0);
}

int CSerialPort::WriteFrame(const std::uint8_t* frame, int length) {
  const int written = m_line.Write(frame, length, kWriteTimeoutMs);
  std::string shown(reinterpret_cast<const char*>(frame), static_cast<std::size_t>(length));
  shown.resize(std::strlen(shown.c_str()));
  WriteLog("SendData = [" + shown + "]");
  return written;
}

int CSerialPort::SendData(const std::string& frame) {
  return SendData(reinterpret_cast<const std::uint8_t*>(frame.data()), static_cast<int>(frame.size()));
}

int CSerialPort::ReadData(std::uint8_t* buffer, int count) {
  if (m_line.QueuedInput() == 0) return 0;
  return m_line.Read(buffer, count, kReadIntervalMs);
}

void CSerialPort::SendCancelRun() {
  // As long as the phase's frame, also while the rest of a resent header is read.
  const int len = m_resent.PhaseReadLen(m_nReadLen.load());
  const std::string run(static_cast<std::size_t>(len), static_cast<char>(CAN));
  for (int i = 0; i < kRepeatCount; ++i) {
    m_clock.Sleep(kRepeatPauseMs);
    SendData(run);
  }
}

int CSerialPort::ProcessFrame() {
  // Ten faulty frames in a row: the next frame of any phase ends the run.
  const bool inPhase = m_nState == PHASE_ENQ || m_nState == PHASE_SOH || m_nState == PHASE_SEND ||
                       m_nState == PHASE_RECV;
  if (inPhase && m_nRetry >= kRetryLimit) {
    m_nResult = -1;
    return 0;
  }
  switch (m_nState) {
    case PHASE_ENQ: return ProcessEnq();
    case PHASE_SOH: return ProcessSoh();
    case PHASE_SEND: return ProcessSendBlock();
    case PHASE_RECV: return ProcessRecvBlock();
    default: return 1;
  }
}

void CSerialPort::StoreReceived(const std::uint8_t* data, int n) {
  std::memcpy(m_recvBuf.data(), data, static_cast<std::size_t>(n));
  m_recvBuf[static_cast<std::size_t>(n)] = 0;
  m_nRecvLen = n;
}

void CSerialPort::CommWatchThread() {
  std::array<std::uint8_t, kBufSize> local{};
  while (m_bWatchRun) {
    const CComLine::Event event = m_line.WaitEvent();
    if (!m_bWatchRun) break;
    if (event == CComLine::Event::Failed) {
      // A line that hung up stays hung up: report it once and stop waiting,
      // rather than wake up for it again and again. A line that failed
      // otherwise says why.
      if (const ComError why = m_line.Failure()) WriteLog("Port Error: " + LocalToCp949Lossy(why.message));
      m_hWndNotify->SendPortFailed();
      break;
    }
    if (event != CComLine::Event::RxChar) continue;
    local.fill(0);
    const int wanted = std::min(m_nReadLen.load(), kBufSize - 1);
    const int n = ReadData(local.data(), wanted);
    if (n <= 0) continue;
    std::string shown(reinterpret_cast<const char*>(local.data()));
    WriteLog("Recv Data = [" + shown + "]\r\nLen = [" + std::to_string(n) + "]");
    if (!m_hWndNotify->SendCommRecv(local.data(), n)) break;
  }
}

}  // namespace vantor
