#include "transfer_dlg.h"

#include <cstdio>
#include <thread>

#include "comm_log.h"
#include "control_ids.h"
#include "korean_texts.h"
#include "recv_files.h"
#include "result_codes.h"
#include "text_codec.h"

namespace vantor {
namespace {
std::thread::id g_noThread;

void NoteFileRetry(const std::string& text) { WriteLog(text); }

}  // namespace

CTransferDlg::CTransferDlg(CDialogWindow& window, CComLine& line, CClock& clock, TransferArgs args, CFileSystem& fs)
    : m_serial(line, clock, fs),
      m_window(window),
      m_clock(clock),
      m_fs(fs),
      m_args(std::move(args)),
      m_handOver([this] { m_window.Wake(); }) {}

CTransferDlg::~CTransferDlg() {
  m_handOver.Close();
  m_serial.ClosePort();
  m_serial.JoinWatchThread();
}

int CTransferDlg::DoModal() {
  m_dialogThread = std::this_thread::get_id();
  SetLogFailureHandler([this](const std::string& text) { ShowLogFailure(text); });
  SetLogFileSystem(&m_fs);
  SetFileRetryNote(&NoteFileRetry);
  int code = m_window.RunModal(*this);
  if (!m_bEnded) {
    // The loop ended without a result (the application is quitting): end the
    // run as a cancel so that the port is closed and no partial data is kept.
    EndTransfer(VANTOR_USER_CANCEL);
    code = VANTOR_USER_CANCEL;
  }
  m_handOver.Close();
  m_serial.JoinWatchThread();
  SetFileRetryNote(nullptr);
  SetLogFailureHandler(nullptr);
  SetLogFileSystem(nullptr);
  m_dialogThread = g_noThread;
  return code;
}

void CTransferDlg::RequestCancel() {
  m_bCancelRequested = true;
  m_window.Wake();
}

void CTransferDlg::OnInitDialog() {
  LogFileSystem().Remove(kLogPath);
  m_fs.Remove(m_args.recvDir + "COMMLIST.LST");
  // Data that a run cut short (a crash, a power cut) had committed is stored
  // first; temporary files of a run that never committed would otherwise be
  // merged into the data files by the next successful run.
  ReportStored(RecoverRecvFiles(m_args.recvDir, m_fs));
  DeleteTmpFiles(m_args.recvDir, m_fs);
  m_serial.m_hWndNotify = this;
  m_serial.m_strRecvDir = m_args.recvDir;
  m_serial.m_strSendDir = m_args.sendDir;
  m_serial.m_bAppend = m_args.appendMode;
  WriteUserDef();
  const std::string port = "COM" + std::to_string(m_args.portNo);
  if (!m_serial.OpenPort(port, m_args.speed)) {
    WriteLog("Port Open Error...");
    // The reason names the device, so that the operator sees which one to
    // change (a USB cradle is rarely the default device). The caller tells
    // the operator in its own terms (the program's message, the command
    // line's one line on standard error), from the result code.
    WriteLog(port + ": " + LocalToCp949Lossy(m_serial.OpenError()));
    EndTransfer(VANTOR_PORT_ERROR);
  } else {
    WriteLog("Port Open");
  }
  WriteLog("SendDir = [" + LocalToCp949Lossy(m_args.sendDir) + "]\r\nRecvDir = [" + LocalToCp949Lossy(m_args.recvDir) +
           "]");
}

void CTransferDlg::WriteUserDef() {
  if (m_args.userData.empty()) return;
  std::unique_ptr<CFile> f = m_fs.Open(m_args.sendDir + "USERDEF.INI", OpenMode::Replace);
  if (f) f->Write(m_args.userData.data(), m_args.userData.size());
}

void CTransferDlg::OnCancel() {
  if (m_bEnded) return;
  SetDlgItemText(IDC_STATUS, Texts().userCancel);
  m_serial.SendCancelRun();
  m_clock.Sleep(1000);
  EndTransfer(VANTOR_USER_CANCEL);
}

void CTransferDlg::OnWake() {
  m_handOver.Drain();
  if (m_bCancelRequested.exchange(false)) OnCancel();
}

void CTransferDlg::OnCommRecv() {
  if (m_bEnded) return;
  CSerialPort& s = m_serial;
  if (s.FirstReceivedByte() == CAN) {
    SetDlgItemText(IDC_STATUS, Texts().deviceCancel);
    WriteLog("Device Transfer Cancel...");
    EndTransfer(VANTOR_DEVICE_CANCEL);
    return;
  }
  const int phase = s.Phase();
  if (!s.ProcessFrame()) EndTransfer(s.Result());
  if (phase == PHASE_SOH) {
    // A file header was answered (or refused): show the file and its size.
    SetDlgItemText(IDC_FILE_NAME, s.FileName());
    SetRange32(IDC_PROGRESS_TOTAL, 0, s.TotalSize());
    SetRange32(IDC_PROGRESS_FILE, 0, s.FileSize());
    SetPos(IDC_PROGRESS_FILE, 0);
    // A file starts: its count from nothing, so that the new name never
    // shows beside the previous file's count.
    if (s.Phase() == PHASE_SEND || s.Phase() == PHASE_RECV) {
      SetDlgItemText(IDC_FILE_COUNT, "0/" + std::to_string(s.FileSize()));
    }
  }
}

void CTransferDlg::EndTransfer(int code) {
  if (m_bEnded) return;
  m_bEnded = true;
  if (const char* text = ResultLogText(code)) WriteLog(text);
  m_serial.ClosePort();
  // A run that ends with 2 after the terminal also sent data (it sent first and
  // fetched afterwards) has received complete files: they are kept as for 1.
  const bool received = code == VANTOR_RECEIVED || (code == VANTOR_SENT && !m_serial.Announced().empty());
  if (received && !ReportStored(ParseRecvFiles(m_args.recvDir, m_fs))) {
    // The terminal has its answer, but its data is not in the data files
    // yet: that is no success.
    code = VANTOR_ERROR;
    WriteLog(ResultLogText(code));
  } else if (!received) {
    DeleteTmpFiles(m_args.recvDir, m_fs);
  }
  m_window.EndDialog(code);
}

bool CTransferDlg::ReportStored(StoreResult result) {
  std::string text;
  if (result == StoreResult::SetAside) {
    text = "Received data that can never be stored was kept as *.Tmp.unsaved in " + m_args.recvDir;
  } else if (result == StoreResult::Kept) {
    text = "Received data is kept in " + m_args.recvDir + " and stored at the next start";
  } else {
    return true;
  }
  // Someone has to act on it: said on standard error and in a message too,
  // not only in the log (which says why).
  text += " (see " + std::string(kLogPath) + ")";
  std::fprintf(stderr, "Vantor2: %s\n", text.c_str());
  m_window.ShowLogFailure(LocalToCp949Lossy(text));
  return false;
}

void CTransferDlg::ShowLogFailure(const std::string& text) {
  if (std::this_thread::get_id() == m_dialogThread) {
    m_window.ShowLogFailure(text);
    return;
  }
  if (!m_handOver.Send([&] { m_window.ShowLogFailure(text); })) {
    std::fprintf(stderr, "%s (%s)\n", Cp949ToLocalLossy(text).c_str(), kLogPath);
  }
}

bool CTransferDlg::CommitReceived() {
  std::vector<std::string> names;
  for (const std::string& path : m_serial.Announced()) names.push_back(path.substr(m_args.recvDir.size()));
  return CommitRecvFiles(m_args.recvDir, names, m_args.appendMode != 0, m_fs);
}

bool CTransferDlg::SendCommRecv(const std::uint8_t* data, int n) {
  return m_handOver.Send([&] {
    if (m_bEnded) return;
    m_serial.StoreReceived(data, n);
    OnCommRecv();
  });
}

void CTransferDlg::SendPortFailed() {
  m_handOver.Send([&] {
    if (m_bEnded) return;
    WriteLog("Port Hang Up");
    EndTransfer(VANTOR_ERROR);
  });
}

CProgressBar* CTransferDlg::Bar(int id) {
  if (id == IDC_PROGRESS_TOTAL) return &m_progTotal;
  if (id == IDC_PROGRESS_FILE) return &m_progFile;
  return nullptr;
}

void CTransferDlg::SetDlgItemText(int id, const std::string& text) { m_window.SetItemText(id, text); }

void CTransferDlg::SetRange32(int id, long low, long high) {
  if (CProgressBar* bar = Bar(id)) {
    bar->SetRange(low, high);
    m_window.SetBar(id, bar->low, bar->high, bar->pos);
  }
}

void CTransferDlg::SetPos(int id, long pos) {
  if (CProgressBar* bar = Bar(id)) {
    bar->SetPos(pos);
    m_window.SetBar(id, bar->low, bar->high, bar->pos);
  }
}

long CTransferDlg::GetPos(int id) {
  const CProgressBar* bar = Bar(id);
  return bar != nullptr ? bar->pos : 0;
}

}  // namespace vantor
