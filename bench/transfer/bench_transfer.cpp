// Benchmarks of the transfer library; they print figures, they do not judge.
//  1. A 1,000,000-byte receive run and send run over a pseudo-terminal (block
//     size 4000) against the pauses the protocol mandates: 50 ms before each
//     write of the PC and 5 x 100 ms before the end answers.
//  2. Processing a 100 MB temporary file into records, against cat copying it:
//     without a commit (no flushes), and committed and stored as a run does it
//     (flushed, replaced by rename, in both modes).
//  3. The CPU time of a run that waits 10 s for the terminal.
//  4. The time the commit adds before the first end answer, for 1 MB and 10 MB
//     received (the temporary files freshly written, not yet on the disk).
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "clock.h"
#include "com_line.h"
#include "headless_window.h"
#include "pty_pair.h"
#include "recv_files.h"
#include "run_transfer.h"
#include "test_terminal.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Dirs {
  fs::path root, recv, send;
  Dirs() {
    char tmpl[] = "/tmp/vantor-bench-XXXXXX";
    root = ::mkdtemp(tmpl);
    recv = root / "recv";
    send = root / "send";
    fs::create_directories(recv);
    fs::create_directories(send);
    fs::current_path(root);
  }
  ~Dirs() {
    fs::current_path("/");
    fs::remove_all(root);
  }
};

std::string Records(std::size_t bytes) {
  std::string s;
  for (int i = 0; s.size() < bytes; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%c%07d,ITEM%05d,%08d\r\n", i % 50 == 0 ? '*' : 'S', i, i % 99999, i * 13);
    s += line;
  }
  s.resize(bytes);
  return s;
}

std::future<int> StartRun(const Dirs& d, vtest::PtyPair& pty, std::FILE* status) {
  ::setenv("VANTOR_COM1", pty.SlavePath().c_str(), 1);
  vantor::TransferArgs args{d.recv.string(), d.send.string(), 1, 115200, 0, ""};
  auto result = std::async(std::launch::async, [args, status] {
    vantor::CHeadlessWindow window(status);
    auto line = vantor::CreateComLine();
    vantor::CSystemClock clock;
    return vantor::RunTransfer(args, window, *line, clock);
  });
  // Wait until the line is open.
  for (int i = 0; i < 1000; ++i) {
    std::ifstream log(d.root / "Log/comm.log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    if (text.find("SendDir = [") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return result;
}

// Sends the end frame and returns when the fifth end answer has arrived.
Clock::time_point EndRun(vtest::TestTerminal& hht, bool* ok) {
  hht.Send(vtest::TestTerminal::Eot());
  const std::string answers = hht.Receive(50, 5000);
  *ok = *ok && answers.size() == 50;
  return Clock::now();
}

void BenchRuns(std::FILE* status) {
  const std::string data = Records(1000000);
  const int blockSize = 4000;
  const int blocks = static_cast<int>((data.size() + blockSize - 1) / blockSize);
  {
    Dirs d;
    vtest::PtyPair pty;
    vtest::TestTerminal hht(pty.MasterFd());
    auto result = StartRun(d, pty, status);
    const auto t0 = Clock::now();
    bool ok = hht.OpenRun('1', "STOCK.TXT:", static_cast<long>(data.size())) &&
              hht.SendOneFile({"STOCK.TXT", data}, blockSize);
    const double elapsed = Seconds(EndRun(hht, &ok) - t0);
    const int code = result.get();
    // ENQ answer, SOH answer, one acknowledgement per block and for the FS frame, five end answers.
    const int writes = 2 + blocks + 1 + 5;
    const double mandated = writes * 0.050 + 5 * 0.100;
    std::printf("receive run: 1000000 bytes, block size %d, result %d%s\n", blockSize, code,
                ok ? "" : " (TERMINAL FAILED)");
    std::printf("  elapsed %.3f s, mandated pauses %.3f s (%d writes), ratio %.4f (%.2f %% over)\n", elapsed, mandated,
                writes, elapsed / mandated, (elapsed / mandated - 1) * 100);
  }
  {
    Dirs d;
    std::ofstream(d.send / "MASTER.TXT", std::ios::binary) << data;
    vtest::PtyPair pty;
    vtest::TestTerminal hht(pty.MasterFd());
    auto result = StartRun(d, pty, status);
    const auto t0 = Clock::now();
    std::string got;
    bool ok = hht.OpenRun('2', "MASTER.TXT:", 0) && hht.FetchOneFile("MASTER.TXT", &got) && got == data;
    const double elapsed = Seconds(EndRun(hht, &ok) - t0);
    const int code = result.get();
    // ENQ answer, SOH answer, one data frame per block request (the last one
    // an ETB frame here), five end answers; the end-of-file request gets none.
    const int writes = 2 + blocks + 5;
    const double mandated = writes * 0.050 + 5 * 0.100;
    std::printf("send run: 1000000 bytes, block size 4000, result %d%s\n", code, ok ? "" : " (DATA DIFFERS)");
    std::printf("  elapsed %.3f s, mandated pauses %.3f s (%d writes), ratio %.4f (%.2f %% over)\n", elapsed, mandated,
                writes, elapsed / mandated, (elapsed / mandated - 1) * 100);
  }
}

void BenchProcessing() {
  Dirs d;
  const std::size_t size = 100u * 1000 * 1000;
  {
    std::ofstream out(d.recv / "BIG.TXT.Tmp", std::ios::binary);
    const std::string chunk = Records(1000000 - 1000000 % 36);
    for (std::size_t n = 0; n < size; n += chunk.size()) out << chunk;
  }
  const double bytes = static_cast<double>(fs::file_size(d.recv / "BIG.TXT.Tmp"));
  ::sync();
  auto t0 = Clock::now();
  const std::string cmd = "cat '" + (d.recv / "BIG.TXT.Tmp").string() + "' > '" + (d.root / "copy").string() + "'";
  if (std::system(cmd.c_str()) != 0) std::printf("cat failed\n");
  const double catS = Seconds(Clock::now() - t0);
  fs::remove(d.root / "copy");
  // The same copy made durable, as storing makes its data files.
  t0 = Clock::now();
  const std::string syncCmd = cmd + " && sync '" + (d.root / "copy").string() + "'";
  if (std::system(syncCmd.c_str()) != 0) std::printf("cat and sync failed\n");
  const double catSyncS = Seconds(Clock::now() - t0);
  fs::remove(d.root / "copy");
  const std::string dir = d.recv.string() + "/";
  fs::copy_file(d.recv / "BIG.TXT.Tmp", d.root / "BIG.keep");
  t0 = Clock::now();
  vantor::ParseRecvFiles(dir);
  const double parseS = Seconds(Clock::now() - t0);
  std::printf("processing a %.0f MB temporary file: %.1f MB/s; cat copying it: %.1f MB/s; ratio %.2f\n", bytes / 1e6,
              bytes / 1e6 / parseS, bytes / 1e6 / catS, catS / parseS);
  for (const bool append : {false, true}) {
    fs::remove(d.recv / "BIG.TXT");
    fs::copy_file(d.root / "BIG.keep", d.recv / "BIG.TXT.Tmp");
    ::sync();
    t0 = Clock::now();
    vantor::CommitRecvFiles(dir, {"BIG.TXT"}, append);
    vantor::ParseRecvFiles(dir);
    const double storeS = Seconds(Clock::now() - t0);
    std::printf(
        "committed and stored (%s mode, with its flushes): %.1f MB/s; ratio to cat %.2f, to cat and sync %.2f\n",
        append ? "append" : "replace", bytes / 1e6 / storeS, catS / storeS, catSyncS / storeS);
  }
}

void BenchCommit() {
  for (const std::size_t mb : {1u, 10u}) {
    Dirs d;
    {
      std::ofstream out(d.recv / "STOCK.TXT.Tmp", std::ios::binary);
      out << Records(mb * 1000 * 1000);
    }
    const auto t0 = Clock::now();
    vantor::CommitRecvFiles(d.recv.string() + "/", {"STOCK.TXT"}, false);
    std::printf("commit before the first end answer, %zu MB received: %.1f ms\n", mb,
                Seconds(Clock::now() - t0) * 1000);
  }
}

void BenchIdle(std::FILE* status) {
  Dirs d;
  vtest::PtyPair pty;
  auto result = StartRun(d, pty, status);
  const double cpu0 = CpuSeconds();
  std::this_thread::sleep_for(std::chrono::seconds(10));
  const double cpu = CpuSeconds() - cpu0;
  vantor::CancelCurrentTransfer();
  result.get();
  std::printf("waiting 10 s for the terminal: %.4f s of CPU\n", cpu);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  std::FILE* status = std::fopen("/dev/null", "w");
  if (only.empty() || only == "runs") BenchRuns(status);
  if (only.empty() || only == "parse") BenchProcessing();
  if (only.empty() || only == "idle") BenchIdle(status);
  if (only.empty() || only == "commit") BenchCommit();
  std::fclose(status);
  return 0;
}
