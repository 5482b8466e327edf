// answer-latency: how long the PC takes to answer, per frame, measured on the
// terminal's side of a pseudo-terminal. It plays a receive run (the terminal
// sends one file of N blocks) against the PC program given as the command,
// and prints the median and 99th percentile of the time from the last byte
// of each data frame to the whole acknowledgement, and of the same less the
// protocol's own 50 ms pause before every answer: the time the PC adds.
//
//   answer-latency --link PATH [--blocks N] -- COMMAND [ARG...]
// PATH becomes a link to the pseudo-terminal's slave (Wine's COM1 link, or
// what VANTOR_COM1 names for the Linux vantor); the command's output is
// discarded.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame.h"
#include "pty_pair.h"
#include "test_terminal.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kWritePauseMs = 50.0;  // CSerialPort's pause before every write

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
  return v[i];
}

}  // namespace

int main(int argc, char** argv) {
  std::string link;
  int blocks = 200;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--link" && i + 1 < argc) {
      link = argv[++i];
    } else if (arg == "--blocks" && i + 1 < argc) {
      blocks = std::atoi(argv[++i]);
    } else if (arg == "--") {
      ++i;
      break;
    }
  }
  if (link.empty() || i >= argc || blocks < 1) {
    std::fprintf(stderr, "usage: answer-latency --link PATH [--blocks N] -- COMMAND [ARG...]\n");
    return 64;
  }
  vtest::PtyPair pty;
  ::unlink(link.c_str());
  if (::symlink(pty.SlavePath().c_str(), link.c_str()) != 0) return 1;
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execvp(argv[i], argv + i);
    std::_Exit(127);
  }
  vtest::TestTerminal hht(pty.MasterFd());
  const int blockSize = 1000;
  std::string data;
  while (data.size() < static_cast<std::size_t>(blockSize) * blocks) data += "R00001,ITEM0001,00001\r\n";
  data.resize(static_cast<std::size_t>(blockSize) * blocks);
  bool ok = false;
  // The PC may take a while to start (Wine): repeat the opening request.
  for (int tries = 0; tries < 30 && !ok; ++tries) {
    ok = hht.OpenRun('1', vtest::TestTerminal::NameList({{"LAT.TXT", data}}), static_cast<long>(data.size()));
  }
  std::vector<double> ms;
  if (ok) {
    hht.Send(vtest::TestTerminal::Soh('1', blockSize, static_cast<long>(data.size()), "LAT.TXT"));
    ok = vtest::IsPositiveAnswer(hht.Receive(vantor::kAnswerLen));
  }
  for (long n = 1; ok && n <= blocks; ++n) {
    const std::string frame = vtest::TestTerminal::Data(
        vantor::STX, n, data.substr(static_cast<std::size_t>(n - 1) * blockSize, blockSize), blockSize);
    hht.Send(frame);
    const auto sent = Clock::now();
    ok = hht.Receive(vantor::kShortLen) == vantor::BuildBlockFrame(n + 1, vantor::STX);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
  }
  if (ok) {
    hht.Send(vtest::TestTerminal::Data(vantor::FS, blocks + 1, "", blockSize));
    ok = hht.Receive(vantor::kShortLen) == vantor::BuildBlockFrame(blocks + 2, vantor::FS) && hht.EndRun();
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::unlink(link.c_str());
  if (!ok || ms.empty()) {
    std::fprintf(stderr, "answer-latency: the run failed after %zu answers\n", ms.size());
    return 1;
  }
  std::vector<double> added;
  for (double m : ms) added.push_back(m - kWritePauseMs);
  std::printf(
      "answers %zu: median %.2f ms, p99 %.2f ms; added by the PC beyond the 50 ms pause: median %.2f ms, "
      "p99 %.2f ms\n",
      ms.size(), Percentile(ms, 0.5), Percentile(ms, 0.99), Percentile(added, 0.5), Percentile(added, 0.99));
  return 0;
}
