// hht-sim: the hand-held terminal's side of the transfer, on a pseudo-terminal
// or a serial device, for demos, end-to-end tests and checking a PC's port.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli_files.h"
#include "cli_options.h"
#include "posix_line.h"
#include "terminal.h"

namespace {

using namespace hht;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCancelled = 3;

// The link must not outlive the process, also when it is interrupted; the
// handler may only use async-signal-safe calls, hence a fixed buffer.
char gLinkPath[4096];

void RemoveLink() {
  if (gLinkPath[0] != '\0') ::unlink(gLinkPath);
  gLinkPath[0] = '\0';
}

extern "C" void OnSignal(int sig) {
  if (gLinkPath[0] != '\0') ::unlink(gLinkPath);
  ::_exit(128 + sig);
}

std::string MakeLink(const std::string& link, const std::string& target) {
  if (link.size() >= sizeof gLinkPath) return link + ": path too long";
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(link, ec);
  if (std::filesystem::exists(status)) {
    if (!std::filesystem::is_symlink(status)) return link + ": exists and is not a symbolic link";
    std::filesystem::remove(link, ec);  // left by an earlier run
  }
  std::filesystem::create_symlink(target, link, ec);
  if (ec) return link + ": " + ec.message();
  std::memcpy(gLinkPath, link.c_str(), link.size() + 1);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, OnSignal);
  return {};
}

void PrintSummary(const RunResult& r) {
  std::cout << "hht-sim: " << (r.ok ? "run succeeded" : "run failed") << ": " << r.message << "\n";
  std::cout << "summary: ending=" << EndingName(r.ending) << " frames=" << r.framesSent << " retries=" << r.retries
            << " openings=" << r.openings << " bytes=" << r.bytes << " corrupted=" << r.framesCorrupted
            << " accepted-corrupted=" << r.corruptedAccepted << " files=" << r.files.size()
            << " dropped=" << r.bytesDropped << " inserted=" << r.bytesInserted << " lost=" << r.answersLost
            << " end-answers=" << r.endAnswers << std::endl;
}

int ExitCode(const RunResult& r) {
  if (r.ok) return kExitOk;
  if (r.ending == Ending::Cancelled) return kExitCancelled;
  if (r.ending == Ending::BadInput) return kExitUsage;
  return kExitFailed;
}

OpenedLine OpenLine(const CliOptions& o) {
  if (!o.pty) return OpenSerialDevice(o.device, o.speed);
  OpenedLine line = CreatePseudoTerminal();
  if (!line.line) return line;
  if (!o.link.empty()) {
    const std::string err = MakeLink(o.link, line.slavePath);
    if (!err.empty()) return OpenedLine{nullptr, {}, err};
  }
  // First line of output, once the link is there too: the PC is pointed at it.
  std::cout << line.slavePath << std::endl;
  return line;
}

int Run(CliOptions& o) {
  std::vector<FileData> files;
  if (o.command == "send") {
    if (std::string err = ReadFolder(o.sendDir, files); !err.empty()) {
      std::cerr << "hht-sim: " << err << "\n";
      return kExitUsage;
    }
  }
  OpenedLine line = OpenLine(o);
  if (!line.line) {
    std::cerr << "hht-sim: " << line.error << "\n";
    return kExitUsage;
  }
  if (!o.quiet) o.run.log = [](std::string_view text) { std::cout << text << std::endl; };
  if (!o.quiet) std::cout << "waiting for the PC..." << std::endl;
  Terminal terminal(*line.line, o.run);
  RunResult result = o.command == "send" ? terminal.SendFiles(files) : terminal.FetchFiles(o.names);
  if (result.ok && o.command == "fetch") {
    if (std::string err = WriteFetched(o.outDir, result.files); !err.empty()) {
      result.ok = false;
      result.ending = Ending::BadInput;
      result.message = "fetched, but " + err;
      PrintSummary(result);
      return kExitFailed;
    }
  }
  PrintSummary(result);
  return ExitCode(result);
}

}  // namespace

int main(int argc, char** argv) {
  ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (parsed.options.help) {
    std::cout << HelpText();
    return kExitOk;
  }
  if (!parsed.error.empty()) {
    std::cerr << "hht-sim: " << parsed.error << "\n";
    return kExitUsage;
  }
  const int code = Run(parsed.options);
  RemoveLink();
  return code;
}
