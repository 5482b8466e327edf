// What the protocol steps show in the transfer window.
#include "control_ids.h"
#include "serial_port.h"

namespace vantor {

void CSerialPort::SetStatus(const std::string& text) { m_hWndNotify->SetDlgItemText(IDC_STATUS, text); }

void CSerialPort::AddProgress(long len) {
  const auto advance = [&](int bar, int countText, long size) {
    const long pos = m_hWndNotify->GetPos(bar) + len;
    m_hWndNotify->SetPos(bar, pos);
    m_hWndNotify->SetDlgItemText(countText, std::to_string(pos) + "/" + std::to_string(size));
  };
  advance(IDC_PROGRESS_TOTAL, IDC_TOTAL_COUNT, m_nTotalSize);
  advance(IDC_PROGRESS_FILE, IDC_FILE_COUNT, m_nFileSize);
}

}  // namespace vantor
