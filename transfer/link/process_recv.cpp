// Receiving from the terminal: each valid data frame is appended to the file's
// ".Tmp" file and acknowledged with the number of the block expected next.
#include <cstring>

#include "comm_log.h"
#include "file_names.h"
#include "korean_texts.h"
#include "serial_port.h"

namespace vantor {

int CSerialPort::ProcessRecvBlock() {
  // The file's header again: the terminal did not get our answer to it.
  const HeaderRepeat repeat = TakeResentHeader();
  if (repeat == HeaderRepeat::Handled) return 1;
  const std::uint8_t* r = m_recvBuf.data();
  const int frameLen = m_nBlockSize + kDataOverhead;
  const std::uint8_t lead = r[0];
  const bool valid = repeat == HeaderRepeat::None && (lead == STX || lead == ETB || lead == FS) &&
                     HasValidTrailer(Bytes(r, static_cast<std::size_t>(frameLen)));
  const auto reject = [&](const char* logText) {
    SetStatus(Texts().badData);
    WriteLog(logText);
    m_sendBuf[1] = NAK;  // the last acknowledgement, turned negative
    SendData(m_sendBuf.data(), kShortLen);
    ++m_nRetry;
    return 1;
  };
  if (!valid) return reject("Data Header Fault.");
  m_resent.Forget();  // a data frame: the header's answer got through

  SetStatus(Texts().hhtToPc);
  std::string data = FieldText(Bytes(r + kData, static_cast<std::size_t>(m_nBlockSize)));
  const long number = ParseNumber(Bytes(r + kDataNumber, kDataNumberLen));
  long len = 0;
  if (lead == FS) {
    m_nState = PHASE_SOH;
    m_nReadLen = kHeaderLen;
  } else {
    if (lead == ETB) data = data.substr(0, data.find(static_cast<char>(RS)));
    // The same block with the same data again: the terminal did not get our
    // acknowledgement. It is acknowledged again but stored once.
    const bool repeated = number == m_nLastStoredBlock && data == m_strLastStored;
    if (!repeated) {
      const auto path = PathInDir(m_strRecvDir, m_strFileName);
      const bool stored = path && m_fileIO.AppendToTemp(*path, reinterpret_cast<const std::uint8_t*>(data.data()),
                                                        static_cast<int>(data.size()));
      // A block that could not be stored is refused, so that the terminal
      // sends it again; a full disk thus ends the run at the retry limit.
      if (!stored) return reject("File Write Error");
      m_nLastStoredBlock = number;
      m_strLastStored = data;
      len = static_cast<long>(data.size());
    }
  }
  m_nRetry = 0;
  const std::string ack = BuildBlockFrame(number + 1, lead);
  AddProgress(len);
  std::memcpy(m_sendBuf.data(), ack.data(), ack.size());
  m_sendBuf[ack.size()] = 0;
  // The end frame moves the run on to the header phase, where the same frame
  // again (its acknowledgement lost) would be a fault: it is kept with its
  // acknowledgement as a header is, before the write clears the receive buffer.
  if (lead == FS) {
    m_resent.Remember(Bytes(r, static_cast<std::size_t>(frameLen)),
                      std::string(reinterpret_cast<const char*>(m_sendBuf.data()), kShortLen));
  }
  SendData(m_sendBuf.data(), kShortLen);
  return 1;
}

}  // namespace vantor
