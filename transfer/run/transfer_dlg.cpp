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
}

CTransferDlg::CTransferDlg(CDialogWindow& window, CComLine& line, CClock& clock, TransferParams params)
    : m_serial(line, clock),
      m_window(window),
      m_clock(clock),
      m_params(std::move(params)),
      m_handOver([this] { m_window.Wake(); }) {}

CTransferDlg::~CTransferDlg() {
  m_handOver.Close();
  m_serial.ClosePort();
  m_serial.JoinWatchThread();
}

int CTransferDlg::DoModal() {
  m_dialogThread = std::this_thread::get_id();
  SetLogFailureHandler([this](const std::string& text) { ShowLogFailure(text); });
  int code = m_window.RunModal(*this);
  if (!m_bEnded) {
    // The loop ended without a result (the application is quitting): end the
    // run as a cancel so that the port is closed and no partial data is kept.
    EndTransfer(VANTOR_USER_CANCEL);
    code = VANTOR_USER_CANCEL;
  }
  m_handOver.Close();
  m_serial.JoinWatchThread();
  SetLogFailureHandler(nullptr);
  m_dialogThread = g_noThread;
  return code;
}

void CTransferDlg::RequestCancel() {
  m_bCancelRequested = true;
  m_window.Wake();
}

void CTransferDlg::OnInitDialog() {
  std::remove(kLogPath);
  std::remove((m_params.m_strRecvDir + "COMMLIST.LST").c_str());
  // Temporary files of a run that never ended (crash, power loss) would
  // otherwise be merged into the data files by the next successful run.
  DeleteTmpFiles(m_params.m_strRecvDir);
  m_serial.m_hWndNotify = this;
  m_serial.m_strRecvDir = m_params.m_strRecvDir;
  m_serial.m_strSendDir = m_params.m_strSendDir;
  m_serial.m_bAppend = m_params.m_nAppendMode;
  WriteUserDef();
  if (!m_serial.OpenPort(m_params.m_strPort, m_params.m_nSpeed)) {
    WriteLog("Port Open Error...");
    // The reason names the device, so that the operator sees which one to
    // change (a USB cradle is rarely the default device).
    WriteLog(m_params.m_strPort + ": " + LocalToCp949Lossy(m_serial.m_strOpenError));
    std::fprintf(stderr, "Vantor2: %s: %s\n", m_params.m_strPort.c_str(), m_serial.m_strOpenError.c_str());
    EndTransfer(VANTOR_PORT_ERROR);
  } else {
    WriteLog("Port Open");
  }
  WriteLog("SendDir = [" + LocalToCp949Lossy(m_params.m_strSendDir) + "]\r\nRecvDir = [" +
           LocalToCp949Lossy(m_params.m_strRecvDir) + "]");
}

void CTransferDlg::WriteUserDef() {
  if (m_params.m_strUserData.empty()) return;
  std::FILE* f = std::fopen((m_params.m_strSendDir + "USERDEF.INI").c_str(), "wb+");
  if (f == nullptr) return;
  std::fwrite(m_params.m_strUserData.data(), 1, m_params.m_strUserData.size(), f);
  std::fclose(f);
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
  if (s.m_recvBuf[0] == CAN) {
    SetDlgItemText(IDC_STATUS, Texts().deviceCancel);
    WriteLog("Device Transfer Cancel...");
    EndTransfer(VANTOR_DEVICE_CANCEL);
    return;
  }
  switch (s.m_nState) {
    case PHASE_ENQ:
      if (!s.ProcessEnq()) EndTransfer(s.m_nResult);
      break;
    case PHASE_SOH:
      if (!s.ProcessSoh()) EndTransfer(s.m_nResult);
      SetDlgItemText(IDC_FILE_NAME, s.m_strFileName);
      SetRange32(IDC_PROGRESS_TOTAL, 0, s.m_nTotalSize);
      SetRange32(IDC_PROGRESS_FILE, 0, s.m_nFileSize);
      SetPos(IDC_PROGRESS_FILE, 0);
      break;
    case PHASE_SEND:
      if (!s.ProcessSendBlock()) EndTransfer(s.m_nResult);
      break;
    case PHASE_RECV:
      if (!s.ProcessRecvBlock()) EndTransfer(s.m_nResult);
      break;
    default:
      break;
  }
}

void CTransferDlg::EndTransfer(int code) {
  if (m_bEnded) return;
  m_bEnded = true;
  if (const char* text = ResultLogText(code)) WriteLog(text);
  m_serial.ClosePort();
  // A run that ends with 2 after the terminal also sent data (it sent first and
  // fetched afterwards) has received complete files: they are kept as for 1.
  const bool received = code == VANTOR_RECEIVED || (code == VANTOR_SENT && !m_serial.m_announced.empty());
  if (received) {
    if (!m_params.m_nAppendMode) {
      for (const std::string& path : m_serial.m_announced) std::remove(path.c_str());
    }
    ParseRecvFiles(m_params.m_strRecvDir);
  } else {
    DeleteTmpFiles(m_params.m_strRecvDir);
  }
  m_window.EndDialog(code);
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
