#include "cli_options.h"

#include <getopt.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "posix_line.h"
#include "result_codes.h"

namespace hht {

namespace {

enum OptionId {
  kHelp = 'h',
  kPty = 1000,
  kLink,
  kDevice,
  kSpeed,
  kBlockSize,
  kOut,
  kNoise,
  kAnswerNoise,
  kCancelAt,
  kDrop,
  kInsert,
  kLose,
  kDropAt,
  kInsertAt,
  kLoseAt,
  kSeed,
  kTimeout,
  kTries,
  kWait,
  kQuiet,
};

const option kLongOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"pty", no_argument, nullptr, kPty},
    {"link", required_argument, nullptr, kLink},
    {"device", required_argument, nullptr, kDevice},
    {"speed", required_argument, nullptr, kSpeed},
    {"block-size", required_argument, nullptr, kBlockSize},
    {"out", required_argument, nullptr, kOut},
    {"noise", required_argument, nullptr, kNoise},
    {"answer-noise", required_argument, nullptr, kAnswerNoise},
    {"cancel-at", required_argument, nullptr, kCancelAt},
    {"drop", required_argument, nullptr, kDrop},
    {"insert", required_argument, nullptr, kInsert},
    {"lose", required_argument, nullptr, kLose},
    {"drop-at", required_argument, nullptr, kDropAt},
    {"insert-at", required_argument, nullptr, kInsertAt},
    {"lose-at", required_argument, nullptr, kLoseAt},
    {"seed", required_argument, nullptr, kSeed},
    {"timeout", required_argument, nullptr, kTimeout},
    {"tries", required_argument, nullptr, kTries},
    {"wait", required_argument, nullptr, kWait},
    {"quiet", no_argument, nullptr, kQuiet},
    {nullptr, 0, nullptr, 0},
};

template <typename T>
bool ParseWhole(const char* text, T& value, T lo, T hi) {
  const char* end = text + std::strlen(text);
  const auto [ptr, ec] = std::from_chars(text, end, value);
  return ec == std::errc() && ptr == end && ptr != text && value >= lo && value <= hi;
}

bool ParseRate(const char* text, double& value) { return ParseWhole(text, value, 0.0, 1.0); }

// A list of frame numbers, "3" or "1,2,7"; the numbers are added to `set`.
bool ParseFrames(const char* text, std::set<long>& set) {
  const std::string all(text);
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = all.find(',', at);
    const std::string item = all.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    long n = 0;
    if (!ParseWhole(item.c_str(), n, 1L, 1'000'000L)) return false;
    set.insert(n);
    if (comma == std::string::npos) return true;
    at = comma + 1;
  }
}

// Applies one option; returns an error text or nothing.
std::string Apply(int id, const char* arg, CliOptions& o, long& waitSeconds) {
  long ms = 0;
  switch (id) {
    case kHelp: o.help = true; return {};
    case kPty: o.pty = true; return {};
    case kLink: o.link = arg; return {};
    case kDevice: o.device = arg; return {};
    case kOut: o.outDir = arg; return {};
    case kQuiet: o.quiet = true; return {};
    case kSpeed:
      return ParseWhole(arg, o.speed, 1, 4'000'000) && vantor::IsAcceptedSpeed(o.speed)
                 ? ""
                 : std::string("--speed wants one of ") + kSpeeds;
    case kBlockSize: return ParseWhole(arg, o.run.blockSize, 1, 9999) ? "" : "--block-size wants 1 to 9999";
    case kNoise: return ParseRate(arg, o.run.noiseRate) ? "" : "--noise wants a rate from 0 to 1";
    case kAnswerNoise: return ParseRate(arg, o.run.answerNoiseRate) ? "" : "--answer-noise wants a rate from 0 to 1";
    case kCancelAt: return ParseWhole(arg, o.run.cancelAtBlock, 1L, 99999L) ? "" : "--cancel-at wants a block number";
    case kDrop: return ParseRate(arg, o.run.faults.dropRate) ? "" : "--drop wants a rate from 0 to 1";
    case kInsert: return ParseRate(arg, o.run.faults.insertRate) ? "" : "--insert wants a rate from 0 to 1";
    case kLose: return ParseRate(arg, o.run.faults.loseRate) ? "" : "--lose wants a rate from 0 to 1";
    case kDropAt: return ParseFrames(arg, o.run.faults.dropAt) ? "" : "--drop-at wants frame numbers: N[,N...]";
    case kInsertAt: return ParseFrames(arg, o.run.faults.insertAt) ? "" : "--insert-at wants frame numbers: N[,N...]";
    case kLoseAt: return ParseFrames(arg, o.run.faults.loseAt) ? "" : "--lose-at wants frame numbers: N[,N...]";
    case kSeed: return ParseWhole(arg, o.run.seed, std::uint64_t{0}, UINT64_MAX) ? "" : "--seed wants a whole number";
    case kTimeout:
      if (!ParseWhole(arg, ms, 1L, 3'600'000L)) return "--timeout wants milliseconds";
      o.run.answerTimeout = Millis(ms);
      return {};
    case kTries: return ParseWhole(arg, o.run.maxTries, 1, 1000) ? "" : "--tries wants 1 to 1000";
    case kWait: return ParseWhole(arg, waitSeconds, 1L, 86'400L) ? "" : "--wait wants seconds";
    default: return "unknown option (see --help)";
  }
}

std::string CheckShape(const CliOptions& o) {
  if (o.pty == !o.device.empty()) return "give either --pty or --device PATH";
  if (!o.link.empty() && !o.pty) return "--link goes with --pty";
  if (o.command == "send") {
    if (o.sendDir.empty() || !o.names.empty()) return "send wants one folder: send DIR";
    if (!o.outDir.empty()) return "--out goes with fetch";
    return {};
  }
  if (o.command == "fetch") {
    if (o.outDir.empty()) return "fetch wants --out DIR";
    if (o.names.empty()) return "fetch wants the names of the files to fetch";
    return {};
  }
  return o.command.empty() ? "no command: send or fetch (see --help)" : "unknown command \"" + o.command + "\"";
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
  ParsedCommandLine out;
  CliOptions& o = out.options;
  long waitSeconds = 0;
  ::optind = 1;
  ::opterr = 0;
  for (int id; (id = ::getopt_long(argc, argv, "h", kLongOptions, nullptr)) != -1;) {
    if (id == '?') {
      out.error = std::string("unknown option or missing value: ") + argv[::optind - 1];
      return out;
    }
    out.error = Apply(id, ::optarg, o, waitSeconds);
    if (!out.error.empty()) return out;
  }
  if (o.help) return out;
  std::vector<std::string> rest(argv + ::optind, argv + argc);
  if (!rest.empty()) {
    o.command = rest.front();
    rest.erase(rest.begin());
  }
  if (o.command == "send" && rest.size() == 1) {
    o.sendDir = rest.front();
  } else {
    o.names = rest;
  }
  if (o.device.empty()) {
    o.run.byteTimeMs = 0.0;
  } else {
    o.run.byteTimeMs = 10000.0 / o.speed;  // 8N1: ten bits a byte
  }
  if (waitSeconds > 0) {
    const double interval = static_cast<double>(o.run.repeatInterval.count()) / 1000.0;
    o.run.maxOpenings = static_cast<int>(std::ceil(static_cast<double>(waitSeconds) / interval));
  }
  out.error = CheckShape(o);
  return out;
}

const char* HelpText() {
  return R"(hht-sim: plays the hand-held terminal against the PC's transfer program.

Usage: hht-sim --pty [--link PATH] [options] send DIR [--block-size N]
  or:  hht-sim --pty [--link PATH] [options] fetch --out DIR NAME...
  or:  hht-sim --device DEV [--speed BPS] [options] send DIR | fetch --out DIR NAME...

Commands:
  send DIR        deliver every regular file of DIR to the PC (direction 1);
                  the PC stores them in its receive directory
  fetch NAME...   fetch the named files from the PC's send directory
                  (direction 2) and write them into --out DIR

The line:
  --pty           create a pseudo-terminal and play the terminal on it; the
                  first line printed is the path of its slave side, which the
                  PC opens as its COM port (e.g. VANTOR_COM1=/dev/pts/3)
  --link PATH     also make PATH a symbolic link to the slave (removed at exit)
  --device DEV    use a serial device instead (raw, 8N1, XON/XOFF)
  --speed BPS     its speed: 9600, 14400, 19200 (default), 38400, 56000,
                  57600, 115200, 128000 or 256000

The run:
  --block-size N  data bytes per frame when sending, 1 to 9999 (default 4000)
  --out DIR       where fetched files are written (created if missing);
                  files are written only when the whole run succeeded
  --timeout MS    wait for an answer, beyond its time on the line (default 3000)
  --tries N       sends of one frame before the run fails (default 10)
  --wait SECONDS  give up when the PC has not answered the opening request for
                  this long (default: wait, repeating it every 2 s)
  --quiet         print only the summary

Testing the PC:
  --noise RATE         flip one bit in a sent byte with this probability
                       (0 to 1); never into XON or XOFF
  --answer-noise RATE  the same for received bytes before they are checked,
                       which loses acknowledgements
  --cancel-at N        at the N-th data block of the run (counted over all
                       files: data frames when sending, block requests when
                       fetching) send a run of CAN bytes instead and stop
  --drop RATE          lose a sent byte with this probability (0 to 1)
  --insert RATE        add an extra byte after a sent byte with this
                       probability; never XON, XOFF or CAN, never after the
                       last byte of a frame
  --lose RATE          lose a whole answer of the PC with this probability:
                       the terminal ignores it and sends its frame again (a
                       lost copy of the end answer: it reads the next copy)
  --drop-at N[,N...]   lose one byte of these frames of the run, numbered from
                       1 (the opening request) in the order they are written,
                       repeats not counted; only the first try is spoilt
  --insert-at N[,N...] add one byte to these frames, the same way
  --lose-at N[,N...]   lose the first answer to these frames
  --seed S             seed of the noise and the faults (default 1); a seed
                       repeats a run

Names are UTF-8 here and code page 949 on the line; a name must fit in 30
bytes there and hold no ':'.

Output: progress lines, then a summary line
  summary: ending=E frames=N retries=N openings=N bytes=N corrupted=N accepted-corrupted=N files=N
           dropped=N inserted=N lost=N
(on one line) where corrupted counts frames the noise or a lost or added byte
changed, accepted-corrupted those the PC took all the same (the check
character cannot see every flip), dropped and inserted the bytes lost and
added, lost the answers lost.

Exit status: 0 the run succeeded; 1 it failed; 2 bad command line, files or
line; 3 cancelled with --cancel-at, as asked.
)";
}

}  // namespace hht
