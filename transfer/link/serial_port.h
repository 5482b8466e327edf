#pragma once
// CSerialPort: the link object of one transfer run.
//
// It owns the line (through the CComLine seam), the watch thread that waits for
// received characters and reads them in frame-sized pieces, and the protocol
// state with the two frame buffers. The PC never speaks first: every frame it
// writes answers a frame from the terminal, except the cancel run.
//
// Threads: the watch thread waits, reads, logs "Recv Data" and hands the piece
// to the dialog's thread through CNotifyTarget::SendCommRecv, which blocks
// until the protocol step has run; that hand-over is the only ordering between
// the two threads. Every other member function runs on the dialog's thread.
//
// Protocol steps (ProcessEnq, ProcessSoh, ProcessSendBlock, ProcessRecvBlock)
// read m_recvBuf and return 1 to go on or 0 to end the run with m_nResult;
// ProcessFrame ends the run at the retry limit, else picks the step of the
// current phase. The protocol state is private: the dialog reads what it
// shows through the accessors.

#include <array>
#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <thread>

#include "clock.h"
#include "com_line.h"
#include "file_system.h"
#include "frame.h"
#include "notify_target.h"
#include "resent_header.h"
#include "transfer_file.h"

namespace vtest {
struct SerialPortProbe;  // the unit tests' window on the protocol state
}

namespace vantor {

inline constexpr int PHASE_ENQ = 1;
inline constexpr int PHASE_SOH = 2;
inline constexpr int PHASE_SEND = 3;
inline constexpr int PHASE_RECV = 4;

inline constexpr int DIR_HHT_TO_PC = 1;
inline constexpr int DIR_PC_TO_HHT = 2;

inline constexpr int kRetryLimit = 10;
inline constexpr int kWritePauseMs = 50;
inline constexpr int kWriteTimeoutMs = 1000;
inline constexpr int kReadIntervalMs = 1000;  // a received piece ends after 1 s without a byte
inline constexpr int kRepeatPauseMs = 100;    // before each of the five end answers and cancel runs
inline constexpr int kRepeatCount = 5;

class CSerialPort {
 public:
  CSerialPort(CComLine& line, CClock& clock, CFileSystem& fs = SystemFileSystem());
  virtual ~CSerialPort();
  CSerialPort(const CSerialPort&) = delete;
  CSerialPort& operator=(const CSerialPort&) = delete;

  // Opens the port and starts the watch thread; 1 on success, 0 on failure with
  // the reason in OpenError().
  int OpenPort(const std::string& portName, int speed);
  // Stops the watch loop and closes the port; logs "Port Close" if it was open.
  // Never waits for the watch thread (it may be waiting in the hand-over).
  void ClosePort();
  // Waits for the watch thread to end; call after ClosePort, outside the hand-over.
  void JoinWatchThread();

  // Purge, 50 ms pause, write; logs the frame. Returns the bytes written, 0 when
  // the write failed or did not complete within 1000 ms.
  int SendData(const std::uint8_t* frame, int length);
  int SendData(const std::string& frame);
  // SendData's two halves: the purge and the pause before a write, and the
  // write with its log entry (HandleEot commits between them).
  void PrepareToSend();
  int WriteFrame(const std::uint8_t* frame, int length);
  // Reads up to count bytes that are arriving; returns 0 at once when nothing
  // is queued. A piece that stops short is handed back kReadIntervalMs after
  // its last byte.
  int ReadData(std::uint8_t* buffer, int count);
  void PurgePort();
  // The cancel run: as many CAN bytes as the phase's frame (m_nReadLen), five
  // times, 100 ms before each.
  void SendCancelRun();

  // Called on the dialog's thread by the hand-over: puts a received piece into
  // m_recvBuf with a NUL after it, and its length into m_nRecvLen.
  void StoreReceived(const std::uint8_t* data, int n);

  // The phase switch: runs the step of the current phase on the frame in
  // m_recvBuf. Returns 1 when the run goes on, 0 when it ends with Result().
  int ProcessFrame();

  int ProcessEnq();
  int ProcessSoh();
  int ProcessSendBlock();
  int ProcessRecvBlock();

  // What the dialog reads of the run.
  int Phase() const { return m_nState; }
  int Result() const { return m_nResult; }
  std::uint8_t FirstReceivedByte() const { return m_recvBuf[0]; }
  const std::string& FileName() const { return m_strFileName; }  // code page 949
  long TotalSize() const { return m_nTotalSize; }
  long FileSize() const { return m_nFileSize; }
  const std::string& OpenError() const { return m_strOpenError; }
  // Data files announced by headers with direction 1 in this run (paths on
  // disk); in replace mode they are deleted just before the received data is
  // stored, never earlier.
  const std::set<std::string>& Announced() const { return m_announced; }

  // Values copied in by the dialog before OpenPort.
  int m_bAppend = 0;
  std::string m_strSendDir;  // locale encoding, ends in "/"
  std::string m_strRecvDir;
  CNotifyTarget* m_hWndNotify = nullptr;

 private:
  friend struct ::vtest::SerialPortProbe;

  void CommWatchThread();
  void SetStatus(const std::string& text);
  void AddProgress(long len);
  void SendHeaderAnswer(const std::string& answer);
  bool AcceptSoh(const std::uint8_t* r);
  void HandleEot();
  void RejectHeader(const std::string& status, const char* logText);
  // A header sent again because our answer was lost (resent_header.h).
  enum class HeaderRepeat { None, Handled, Fault };
  HeaderRepeat TakeResentHeader();

  CResentHeader m_resent;
  CComLine& m_line;
  CClock& m_clock;
  std::thread m_pWatchThread;

  int m_nRetry = 0;
  int m_nState = PHASE_ENQ;
  std::atomic<int> m_nReadLen{kHeaderLen};
  std::atomic<int> m_bWatchRun{0};
  std::array<std::uint8_t, kBufSize> m_sendBuf{};
  std::array<std::uint8_t, kBufSize> m_recvBuf{};
  int m_nRecvLen = 0;  // bytes of the last piece in m_recvBuf
  int m_nResult = 0;
  std::string m_strFileName;  // as the terminal sent it (code page 949)
  int m_nBlockSize = 0;
  CTransferFile m_fileIO;
  long m_nFileSize = 0;
  long m_nTotalSize = 0;
  int m_nEnqNumber = 0;
  std::string m_strEnqText40;
  std::string m_strEnqText15;
  int m_nDirection = 0;
  int m_bOpen = 0;
  std::string m_strOpenError;
  std::set<std::string> m_announced;
  // The block last stored for the current file, to recognise a frame that the
  // terminal sent again because our acknowledgement was lost.
  long m_nLastStoredBlock = -1;
  std::string m_strLastStored;
};

}  // namespace vantor
