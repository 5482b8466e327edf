#pragma once
// CTransferDlg: the logic of the modal transfer dialog under which one run
// takes place.
//
// OnInitDialog clears the log and the received-file list, writes the user data,
// and opens the port, which starts the watch thread. From then on each piece
// the terminal sends reaches OnCommRecv on the dialog's thread through the
// hand-over, and OnCommRecv runs the protocol step of the current phase. Every
// way out goes through EndTransfer, which logs the result, closes the port,
// stores or deletes the received data and ends the window's loop with the code.
// Data handed over after EndTransfer starts nothing.

#include <atomic>
#include <string>
#include <thread>

#include "clock.h"
#include "com_line.h"
#include "dialog_window.h"
#include "file_system.h"
#include "hand_over.h"
#include "notify_target.h"
#include "progress_bar.h"
#include "recv_files.h"
#include "serial_port.h"
#include "transfer_args.h"

namespace vantor {

class CTransferDlg final : public CDialogEvents, public CNotifyTarget {
 public:
  // The directories in args end in the separator.
  CTransferDlg(CDialogWindow& window, CComLine& line, CClock& clock, TransferArgs args,
               CFileSystem& fs = SystemFileSystem());
  ~CTransferDlg() override;

  // Runs the dialog to its end and returns the result code. The watch thread
  // has ended when it returns.
  int DoModal();
  // Any thread: the same as the Cancel button.
  void RequestCancel();

  // CDialogEvents
  void OnInitDialog() override;
  void OnCancel() override;
  void OnWake() override;

  // CNotifyTarget
  void SetDlgItemText(int id, const std::string& text) override;
  void SetRange32(int id, long low, long high) override;
  void SetPos(int id, long pos) override;
  long GetPos(int id) override;
  bool SendCommRecv(const std::uint8_t* data, int n) override;
  void SendPortFailed() override;
  bool CommitReceived() override;

  void OnCommRecv();
  void EndTransfer(int code);

  // The log-failure message, from whichever thread failed to log.
  void ShowLogFailure(const std::string& text);
  // Says, beyond the log, when committed data did not reach its data files;
  // true when it did (or nothing was committed).
  bool ReportStored(StoreResult result);

  CSerialPort m_serial;

 private:
  CProgressBar* Bar(int id);
  void WriteUserDef();

  CDialogWindow& m_window;
  CClock& m_clock;
  CFileSystem& m_fs;
  TransferArgs m_args;
  CHandOver m_handOver;
  CProgressBar m_progTotal;
  CProgressBar m_progFile;
  bool m_bEnded = false;
  std::thread::id m_dialogThread;
  std::atomic<bool> m_bCancelRequested{false};
};

}  // namespace vantor
