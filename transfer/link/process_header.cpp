// The header phases: the terminal's opening request (ENQ), its file headers
// (SOH) and its end frame (EOT), with the lists they write.
#include <cstring>

#include "comm_log.h"
#include "control_ids.h"
#include "file_names.h"
#include "korean_texts.h"
#include "serial_port.h"
#include "text_codec.h"

namespace vantor {
namespace {

Bytes Field(const std::uint8_t* r, int offset, int length) { return {r + offset, static_cast<std::size_t>(length)}; }

bool IsHeader(const std::uint8_t* r, std::uint8_t lead) {
  return r[0] == lead && HasValidTrailer(Field(r, 0, kHeaderLen));
}

std::string TrimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || (s.back() >= '\t' && s.back() <= '\r'))) s.pop_back();
  return s;
}

}  // namespace

void CSerialPort::SendHeaderAnswer(const std::string& answer) {
  std::memcpy(m_sendBuf.data(), answer.data(), answer.size());
  m_sendBuf[answer.size()] = 0;
  SendData(m_sendBuf.data(), static_cast<int>(answer.size()));
}

CSerialPort::HeaderRepeat CSerialPort::TakeResentHeader() {
  const Bytes piece(m_recvBuf.data(), static_cast<std::size_t>(m_nRecvLen));
  switch (m_resent.Look(piece, m_nReadLen)) {
    case CResentHeader::Take::NotHeader: return HeaderRepeat::None;
    case CResentHeader::Take::Partial:
      // No answer yet: writing purges the input, and with it the header's rest.
      m_nReadLen = m_resent.NextReadLen();
      return HeaderRepeat::Handled;
    case CResentHeader::Take::Complete:
      m_nReadLen = m_resent.NextReadLen();
      WriteLog(m_resent.Lead() == FS ? "End Frame Repeated." : "Header Repeated.");
      SendHeaderAnswer(m_resent.Answer());
      return HeaderRepeat::Handled;
    case CResentHeader::Take::Broken: m_nReadLen = m_resent.NextReadLen(); return HeaderRepeat::Fault;
  }
  return HeaderRepeat::None;
}

void CSerialPort::RejectHeader(const std::string& status, const char* logText) {
  SetStatus(status);
  WriteLog(logText);
  SendHeaderAnswer(BuildNegativeAnswer());
  ++m_nRetry;
}

int CSerialPort::ProcessEnq() {
  const std::uint8_t* r = m_recvBuf.data();
  SetStatus(Texts().headerRecv);
  WriteLog(Texts().enqHeaderRecv);
  WriteTimeStamp();
  if (!IsHeader(r, ENQ)) {
    RejectHeader(Texts().badEnq, "ENQ Header Fault.");
    return 1;
  }
  m_nDirection = r[kEnqDir] - '0';
  m_nFileSize = 0;
  m_nRetry = 0;
  m_nEnqNumber = static_cast<int>(ParseNumber(Field(r, kEnqNumber, kEnqNumberLen)));
  m_nTotalSize = ParseNumber(Field(r, kEnqTotal, kEnqTotalLen));
  m_strEnqText15 = FieldText(Field(r, kEnqText15, kEnqText15Len));
  m_strEnqText40 = FieldText(Field(r, kEnqText40, kEnqText40Len));
  const std::string list = FieldText(Field(r, kEnqList, kEnqListLen));

  const std::string& dir = m_nDirection == DIR_HHT_TO_PC ? m_strRecvDir : m_strSendDir;
  const std::string info = dir + "COMMINFO.INI";
  m_fileIO.Remove(info);
  for (std::size_t pos = 0, colon; (colon = list.find(':', pos)) != std::string::npos; pos = colon + 1) {
    const std::string name = list.substr(pos, colon - pos);
    if (m_nDirection == DIR_PC_TO_HHT) {
      // A name that is not plain is listed but never opened.
      if (auto path = PathInDir(m_strSendDir, name)) m_nTotalSize += m_fileIO.FileLength(*path);
    }
    m_fileIO.AppendLine(info, name);
  }
  const std::string size10 = m_nDirection == DIR_HHT_TO_PC
                                 ? std::string(reinterpret_cast<const char*>(r + kEnqTotal), kEnqTotalLen)
                                 : ZeroPad(m_nTotalSize, kEnqTotalLen);
  const std::string answer = BuildEnqAnswer(size10);
  m_resent.Remember(Field(r, 0, kHeaderLen), answer);  // before the write clears the receive buffer
  SendHeaderAnswer(answer);
  m_nState = PHASE_SOH;
  m_nReadLen = kHeaderLen;
  m_nRetry = 0;
  return 1;
}

int CSerialPort::ProcessSoh() {
  const std::uint8_t* r = m_recvBuf.data();
  SetStatus(Texts().headerRecv);
  // The opening request or the last file's end frame again: the terminal did
  // not get our answer to it.
  const HeaderRepeat repeat = TakeResentHeader();
  if (repeat == HeaderRepeat::Handled) return 1;
  const bool whole = repeat == HeaderRepeat::None;  // not the broken rest of a repeat
  if (whole && IsHeader(r, SOH)) {
    if (AcceptSoh(r)) return 1;
  } else if (whole && IsHeader(r, EOT)) {
    HandleEot();
    return 0;
  }
  RejectHeader(Texts().sohError, "SOH Header Fault.");
  return 1;
}

bool CSerialPort::AcceptSoh(const std::uint8_t* r) {
  const int direction = r[kSohDir] - '0';
  const std::string name = TrimRight(FieldText(Field(r, kSohName, kSohNameLen)));
  const std::string& dir = direction == DIR_HHT_TO_PC ? m_strRecvDir : m_strSendDir;
  const auto path = PathInDir(dir, name);
  if (!path) return false;
  if (direction == DIR_HHT_TO_PC && IsReservedRecvName(path->substr(dir.size()))) {
    WriteLog("Reserved File Name [" + name + "]");
    return false;
  }
  // A temporary file that this run did not start is a leftover that could not
  // be deleted, or data that waits to be stored: nothing is merged into it.
  if (direction == DIR_HHT_TO_PC && m_announced.count(*path) == 0 && m_fileIO.TempMayExist(*path)) {
    WriteLog("Leftover File [" + name + ".Tmp]");
    return false;
  }
  const long blockSize = ParseNumber(Field(r, kSohBlock, kSohBlockLen));
  if (direction == DIR_HHT_TO_PC && (blockSize < 1 || blockSize > kMaxBlockSize)) return false;

  m_nDirection = direction;
  m_nRetry = 0;
  m_nFileSize = ParseNumber(Field(r, kSohSize, kSohSizeLen));
  m_strFileName = name;
  std::string size10;
  if (direction == DIR_HHT_TO_PC) {
    size10.assign(reinterpret_cast<const char*>(r + kSohSize), kSohSizeLen);
    m_nBlockSize = static_cast<int>(blockSize);
  } else {
    m_nBlockSize = kSendBlockSize;
    m_nFileSize = m_fileIO.FileLength(*path);
    size10 = ZeroPad(m_nFileSize, kSohSizeLen);
  }
  const std::string answer = BuildSohAnswer(ZeroPad(m_nBlockSize, 4).substr(0, 4), size10, m_strFileName);
  m_resent.Remember(Field(r, 0, kHeaderLen), answer);  // before the write clears the receive buffer
  SendHeaderAnswer(answer);

  if (direction == DIR_HHT_TO_PC) {
    m_announced.insert(*path);
    m_fileIO.AppendLine(m_strRecvDir + "COMMLIST.LST", LocalToCp949Lossy(m_strRecvDir) + m_strFileName);
    m_nLastStoredBlock = -1;
    m_strLastStored.clear();
    m_nState = PHASE_RECV;
    m_nRetry = 0;
    m_nReadLen = m_nBlockSize + kDataOverhead;
  } else {
    m_nState = PHASE_SEND;
    m_nReadLen = kShortLen;
    m_nRetry = 0;
  }
  return true;
}

void CSerialPort::HandleEot() {
  WriteLog("EOT");
  m_sendBuf.fill(0);
  const std::string answer = BuildEndAnswer();
  std::memcpy(m_sendBuf.data(), answer.data(), answer.size());
  int written = 0;
  for (int i = 0; i < kRepeatCount; ++i) {
    m_clock.Sleep(kRepeatPauseMs);
    PrepareToSend();
    // The first end answer is the promise that the data arrived: it is made
    // only once the data is safe on the disk, and the data is committed only
    // right before that answer's first byte leaves, so that a stop in the
    // pauses before it finds nothing committed that the terminal was not told.
    if (i == 0 && !m_hWndNotify->CommitReceived()) {
      m_nResult = -1;
      return;
    }
    written = WriteFrame(m_sendBuf.data(), kShortLen);
  }
  WriteLog("EOT Send Len = [" + std::to_string(written) + "]");
  m_nResult = m_nDirection == DIR_HHT_TO_PC ? 1 : 2;
}

}  // namespace vantor
