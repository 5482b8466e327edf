#include "headless_window.h"

#include <chrono>

#include "console.h"
#include "control_ids.h"
#include "korean_texts.h"
#include "text_codec.h"

namespace vantor {
namespace {

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string BarText(const CProgressBar& bar, int width) {
  const long span = bar.high - bar.low;
  const int filled = span > 0 ? static_cast<int>((bar.pos - bar.low) * width / span) : 0;
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(width - filled), '.') + "]";
}

}  // namespace

CHeadlessWindow::CHeadlessWindow(std::FILE* out) : m_out(out), m_live(IsTerminal(out)) {
  m_texts[IDC_STATUS] = Texts().waiting;
}

int CHeadlessWindow::RunModal(CDialogEvents& events) {
  events.OnInitDialog();
  std::unique_lock lock(m_mutex);
  while (!m_ended) {
    m_cv.wait(lock, [&] { return m_wake || m_ended; });
    if (m_ended) break;
    m_wake = false;
    lock.unlock();
    events.OnWake();
    lock.lock();
  }
  if (m_live) {
    m_lastDrawMs = 0;  // the final state, whatever the redraw rate
    Redraw();
  }
  if (m_lineOpen) std::fputc('\n', m_out);
  std::fflush(m_out);
  return m_code;
}

void CHeadlessWindow::EndDialog(int code) {
  std::lock_guard lock(m_mutex);
  m_ended = true;
  m_code = code;
  m_cv.notify_all();
}

void CHeadlessWindow::Wake() {
  std::lock_guard lock(m_mutex);
  m_wake = true;
  m_cv.notify_all();
}

std::string CHeadlessWindow::Text(int id) const {
  auto it = m_texts.find(id);
  return it == m_texts.end() ? std::string() : Cp949ToLocalLossy(it->second);
}

void CHeadlessWindow::SetItemText(int id, const std::string& text) {
  std::string& slot = m_texts[id];
  if (slot == text) return;
  slot = text;
  if (m_live) {
    Redraw();
  } else if (id == IDC_STATUS || (id == IDC_FILE_NAME && !text.empty())) {
    std::string line = Text(IDC_STATUS);
    if (!m_texts[IDC_FILE_NAME].empty()) line += "  " + Text(IDC_FILE_NAME);
    std::fprintf(m_out, "%s\n", line.c_str());
    std::fflush(m_out);
  }
}

void CHeadlessWindow::SetBar(int id, long low, long high, long pos) {
  CProgressBar& bar = id == IDC_PROGRESS_TOTAL ? m_total : m_file;
  bar.low = low;
  bar.high = high;
  bar.pos = pos;
  if (m_live) Redraw();
}

void CHeadlessWindow::Redraw() {
  // A terminal is redrawn at most 20 times a second; the protocol does not wait
  // for the screen.
  const long long now = NowMs();
  if (m_lastDrawMs != 0 && now - m_lastDrawMs < 50) return;
  m_lastDrawMs = now;
  std::string line = "\r\x1b[K" + Text(IDC_STATUS) + " " + Text(IDC_FILE_NAME) + " " + BarText(m_file, 20) + " " +
                     Text(IDC_FILE_COUNT) + " total " + BarText(m_total, 20) + " " + Text(IDC_TOTAL_COUNT);
  std::fputs(line.c_str(), m_out);
  std::fflush(m_out);
  m_lineOpen = true;
}

void CHeadlessWindow::ShowLogFailure(const std::string& text) {
  if (m_lineOpen) std::fputc('\n', m_out);
  m_lineOpen = false;
  std::fprintf(m_out, "%s\n", Cp949ToLocalLossy(text).c_str());
  std::fflush(m_out);
}

}  // namespace vantor
