#pragma once
// The unit tests' window on CSerialPort's private protocol state: references
// to the members a test sets up (a phase to start in) or checks after a step.

#include "serial_port.h"

namespace vtest {

struct SerialPortProbe {
  explicit SerialPortProbe(vantor::CSerialPort& p)
      : m_nState(p.m_nState),
        m_nReadLen(p.m_nReadLen),
        m_nRetry(p.m_nRetry),
        m_nResult(p.m_nResult),
        m_nDirection(p.m_nDirection),
        m_nFileSize(p.m_nFileSize),
        m_nTotalSize(p.m_nTotalSize),
        m_strFileName(p.m_strFileName),
        m_announced(p.m_announced),
        m_recvBuf(p.m_recvBuf),
        m_nRecvLen(p.m_nRecvLen) {}

  int& m_nState;
  std::atomic<int>& m_nReadLen;
  int& m_nRetry;
  int& m_nResult;
  int& m_nDirection;
  long& m_nFileSize;
  long& m_nTotalSize;
  std::string& m_strFileName;
  std::set<std::string>& m_announced;
  std::array<std::uint8_t, vantor::kBufSize>& m_recvBuf;
  int& m_nRecvLen;
};

}  // namespace vtest
