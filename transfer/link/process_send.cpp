// Sending to the terminal: each block request is answered with one data frame
// of the send directory's file, read anew from the file for every request.
#include <cstring>
#include <vector>

#include "comm_log.h"
#include "file_names.h"
#include "korean_texts.h"
#include "serial_port.h"

namespace vantor {
namespace {

bool IsBlockRequest(const std::uint8_t* r) {
  return r[0] == STX && r[1] == ACK && HasValidTrailer(Bytes(r, kShortLen));
}

}  // namespace

int CSerialPort::ProcessSendBlock() {
  // The file's header again: the terminal did not get our answer to it.
  const HeaderRepeat repeat = TakeResentHeader();
  if (repeat == HeaderRepeat::Handled) return 1;
  const std::uint8_t* r = m_recvBuf.data();
  if (repeat == HeaderRepeat::Fault || !IsBlockRequest(r)) {
    SetStatus(Texts().badData);
    WriteLog("Data Header Fault.");
    // The frame last sent, again: the header answer right after the SOH step,
    // later the last data frame.
    SendData(m_sendBuf.data(), static_cast<int>(std::strlen(reinterpret_cast<const char*>(m_sendBuf.data()))));
    ++m_nRetry;
    return 1;
  }
  SetStatus(Texts().pcToHht);
  m_nRetry = 0;
  m_resent.Forget();        // a block request: the header's answer got through
  if (r[kReqKind] == FS) {  // the terminal has the whole file
    m_nState = PHASE_SOH;
    m_nReadLen = kHeaderLen;
    WriteTimeStamp();
    return 1;
  }
  const long number = ParseNumber(Bytes(r + kReqNumber, kReqNumberLen));
  const std::string numberText(reinterpret_cast<const char*>(r + kReqNumber), kReqNumberLen);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(m_nBlockSize) + 1);
  int len = 0;
  if (auto path = PathInDir(m_strSendDir, m_strFileName))
    len = m_fileIO.ReadBlock(*path, data.data(), m_nBlockSize, number);
  const std::string_view text(reinterpret_cast<const char*>(data.data()), static_cast<std::size_t>(len));

  std::string frame;
  if (len == 0) {
    frame = BuildDataFrame(FS, "00000", std::string(static_cast<std::size_t>(m_nBlockSize), ' '), m_nBlockSize, ' ');
  } else {
    frame = BuildDataFrame(len < m_nBlockSize ? ETB : STX, numberText, text, m_nBlockSize, RS);
  }
  std::memcpy(m_sendBuf.data(), frame.data(), frame.size());
  m_sendBuf[frame.size()] = 0;
  AddProgress(len);
  SendData(m_sendBuf.data(), static_cast<int>(frame.size()));
  return 1;
}

}  // namespace vantor
