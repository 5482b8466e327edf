// How much the transfer window costs a run: a receive run of 1,000,000 bytes
// in 4,000-byte blocks over a pseudo-terminal, once with the Qt window shown
// (offscreen unless a platform is named) and once headless. The protocol's
// own pauses (50 ms before each PC write, 5 x 100 ms at the end, ...) are
// counted by the clock; the figure is the run's wall time over those pauses.
//
//   window_bench [runs]      (default 2 runs of each)
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "clock.h"
#include "com_line.h"
#include "headless_window.h"
#include "pty_pair.h"
#include "run_transfer.h"
#include "test_terminal.h"
#include "transfer_window_qt.h"

namespace fs = std::filesystem;

namespace {

constexpr int kBytes = 1000000;
constexpr int kBlockSize = 4000;

class CountingClock final : public vantor::CClock {
 public:
  void Sleep(int ms) override {
    m_totalMs += ms;
    m_real.Sleep(ms);
  }
  long long TotalMs() const { return m_totalMs; }

 private:
  vantor::CSystemClock m_real;
  std::atomic<long long> m_totalMs{0};
};

// Passes everything on and starts the terminal once the port is open.
class StartingWindow final : public vantor::CDialogWindow, private vantor::CDialogEvents {
 public:
  StartingWindow(vantor::CDialogWindow& window, std::function<void()> start)
      : m_window(window), m_start(std::move(start)) {}
  int RunModal(vantor::CDialogEvents& events) override {
    m_events = &events;
    return m_window.RunModal(*this);
  }
  void EndDialog(int code) override { m_window.EndDialog(code); }
  void Wake() override { m_window.Wake(); }
  void SetItemText(int id, const std::string& text) override { m_window.SetItemText(id, text); }
  void SetBar(int id, long low, long high, long pos) override { m_window.SetBar(id, low, high, pos); }
  void ShowLogFailure(const std::string& text) override { m_window.ShowLogFailure(text); }

 private:
  void OnInitDialog() override {
    m_events->OnInitDialog();
    m_start();
  }
  void OnCancel() override { m_events->OnCancel(); }
  void OnWake() override { m_events->OnWake(); }

  vantor::CDialogWindow& m_window;
  std::function<void()> m_start;
  vantor::CDialogEvents* m_events = nullptr;
};

std::string StockData() {
  std::string data;
  for (int i = 0; static_cast<int>(data.size()) < kBytes; ++i) {
    char record[64];
    std::snprintf(record, sizeof record, " %07d ITEM-%07d          000012\r\n", i, i);
    data += record;
  }
  data.resize(kBytes);
  return data;
}

struct Figures {
  int code = 0;
  double wallMs = 0;
  long long pausesMs = 0;
};

Figures RunOnce(vantor::CDialogWindow& window, const std::string& data) {
  char tmpl[] = "/tmp/vantor-bench-XXXXXX";
  const fs::path root = ::mkdtemp(tmpl);
  fs::create_directories(root / "recv");
  fs::create_directories(root / "send");
  const fs::path oldCwd = fs::current_path();
  fs::current_path(root);
  vtest::PtyPair pty;
  ::setenv("VANTOR_COM1", pty.SlavePath().c_str(), 1);
  vtest::TestTerminal hht(pty.MasterFd());
  std::thread terminal;
  StartingWindow starting(window, [&] {
    terminal = std::thread([&] { hht.SendFiles({{"STOCK.TXT", data}}, kBlockSize); });
  });
  vantor::TransferArgs args;
  args.recvDir = (root / "recv").string();
  args.sendDir = (root / "send").string();
  args.portNo = 1;
  args.speed = 115200;
  auto line = vantor::CreateComLine();
  CountingClock clock;
  const auto start = std::chrono::steady_clock::now();
  Figures f;
  f.code = vantor::RunTransfer(args, starting, *line, clock);
  f.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  f.pausesMs = clock.TotalMs();
  if (terminal.joinable()) terminal.join();
  fs::current_path(oldCwd);
  fs::remove_all(root);
  return f;
}

void Print(const char* what, const Figures& f) {
  const double ratio = f.wallMs / static_cast<double>(f.pausesMs);
  std::printf("%-16s result %d  wall %9.1f ms  pauses %6lld ms  ratio %.4f  (+%.2f %%)\n", what, f.code, f.wallMs,
              f.pausesMs, ratio, (ratio - 1.0) * 100.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const std::string data = StockData();
  std::printf("receive run: %d bytes in blocks of %d over a pseudo-terminal, %d run(s) each\n", kBytes, kBlockSize,
              runs);
  std::FILE* devNull = std::fopen("/dev/null", "w");
  int failures = 0;
  for (int i = 0; i < runs; ++i) {
    vantor::CTransferWindowQt window;
    const Figures qt = RunOnce(window, data);
    Print("Qt window", qt);
    vantor::CHeadlessWindow headless(devNull);
    const Figures none = RunOnce(headless, data);
    Print("headless", none);
    failures += (qt.code != 1) + (none.code != 1);
  }
  std::fclose(devNull);
  return failures == 0 ? 0 : 1;
}
