#include "fakes.h"

#include <algorithm>

namespace vtest {

vantor::ComError FakeLine::Open(const std::string& portName, int speed) {
  openedPort = portName;
  openedSpeed = speed;
  if (failOpen) return {2, "no such device"};
  return {};
}

void FakeLine::Close() {
  std::lock_guard lock(m_mutex);
  closed = true;
  m_cv.notify_all();
}

vantor::CComLine::Event FakeLine::WaitEvent() {
  std::unique_lock lock(m_mutex);
  m_cv.wait(lock, [&] { return closed || m_wake || !m_input.empty(); });
  if (closed || m_wake) {
    m_wake = false;
    return Event::Woken;
  }
  return Event::RxChar;
}

int FakeLine::QueuedInput() {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_input.size());
}

int FakeLine::Read(std::uint8_t* buf, int count, int timeoutMs) {
  std::lock_guard lock(m_mutex);
  readTimeouts.push_back(timeoutMs);
  const std::size_t n = std::min(m_input.size(), static_cast<std::size_t>(count));
  std::copy_n(m_input.begin(), n, buf);
  m_input.erase(0, n);
  return static_cast<int>(n);
}

void FakeLine::PurgeInput() {
  std::lock_guard lock(m_mutex);
  ++purges;
  m_input.clear();
}

void FakeLine::Arrive(const std::string& bytes) {
  std::lock_guard lock(m_mutex);
  m_input += bytes;
  m_cv.notify_all();
}

void FakeLine::Wake() {
  std::lock_guard lock(m_mutex);
  m_wake = true;
  m_cv.notify_all();
}

int FakeLine::Write(const std::uint8_t* buf, int len, int) {
  writes.emplace_back(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(len));
  return writeResult < 0 ? len : writeResult;
}

void RecordingNotify::SetDlgItemText(int id, const std::string& t) {
  text[id] = t;
  history[id].push_back(t);
}

void RecordingNotify::SetRange32(int id, long low, long high) { range[id] = {low, high}; }

void RecordingNotify::SetPos(int id, long p) { pos[id] = p; }

int ScriptWindow::RunModal(vantor::CDialogEvents& events) {
  events.OnInitDialog();
  for (std::size_t i = 0; i < steps.size() && !ended; ++i) steps[i](events);
  return code;
}

void ScriptWindow::EndDialog(int c) {
  ended = true;
  code = c;
}

}  // namespace vtest
