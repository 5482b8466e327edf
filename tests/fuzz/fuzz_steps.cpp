// Fuzz target: every protocol step fed arbitrary frames. The input chooses the
// phase to start in (reached with real frames through ProcessFrame), the block
// size of the file received, the append flag, whether the commit of the
// received data at the end frame fails, and then a sequence of pieces as
// the watch thread would hand them over: a piece cut short by the read time-out,
// a whole frame of the current read length with a valid trailer, a piece with
// a valid trailer of any length, or a real frame of the terminal (which the
// line then delivers in pieces of the current read length). The line, the
// clock, the window, the directories and the log are fakes.
#include <string>
#include <vector>

#include "comm_log.h"
#include "fake_file_system.h"
#include "fakes.h"
#include "frame.h"
#include "fuzz_input.h"
#include "serial_port.h"
#include "serial_port_probe.h"
#include "test_terminal.h"

namespace {

using namespace vantor;
using vtest::TestTerminal;

constexpr int kMaxPieces = 48;
const std::string kSendName = "A.TXT";

// Names a header may carry: plain ones, hostile ones and the library's own files.
const char* const kNames[] = {"A.TXT", "B.TXT",        "STOCK.TXT", "\xB0\xA1.TXT", "../A.TXT",
                              "",      "COMMLIST.LST", "A.TXT.Tmp", "A:B",          "C.TXT.Tmp.unsaved"};

// The file the terminal may fetch: lines of 38 letters and CR LF.
const std::string& SendFile() {
  static const std::string kData = [] {
    std::string line;
    for (int i = 0; i < 38; ++i) line.push_back(static_cast<char>('a' + i % 26));
    line += "\r\n";
    std::string all;
    while (all.size() < 12000) all += line;
    return all;
  }();
  return kData;
}

class StepRun {
 public:
  explicit StepRun(vfuzz::FuzzInput& in) : m_in(in) {
    m_fs.MakeDir("recv");
    m_fs.MakeDir("send");
    m_sendData = SendFile().substr(0, in.U16() % 12000);
    m_fs.Put("send/" + kSendName, m_sendData);
    SetLogFileSystem(&m_fs);
    m_port.m_hWndNotify = &m_view;
    m_port.m_strRecvDir = "recv/";
    m_port.m_strSendDir = "send/";
  }
  ~StepRun() { SetLogFileSystem(nullptr); }

  void Run() {
    const std::uint8_t setup = m_in.Byte();
    m_port.m_bAppend = setup >> 2 & 1;
    if ((setup & 8) != 0) m_view.commit = [] { return false; };  // a commit of the received data that fails
    const int blockSize = 1 + static_cast<int>(m_in.U16() % kMaxBlockSize);
    if (!ReachPhase(1 + (setup & 3), blockSize)) return;
    for (int pieces = 0; pieces < kMaxPieces && !m_in.Empty() && !m_ended;) pieces += Op();
    CheckFiles();
  }

 private:
  int ReadLen() const { return m_probe.m_nReadLen.load(); }

  // Runs the step of the current phase on one piece, as the dialog does, and
  // checks what every step promises.
  void Deliver(const std::string& piece) {
    const std::size_t before = m_line.writes.size();
    m_port.StoreReceived(reinterpret_cast<const std::uint8_t*>(piece.data()), static_cast<int>(piece.size()));
    const int go = m_port.ProcessFrame();
    for (std::size_t i = before; i < m_line.writes.size(); ++i) {
      const std::string& w = m_line.writes[i];
      FUZZ_CHECK(!w.empty() && w.size() < static_cast<std::size_t>(kBufSize));
      // Answers and acknowledgements begin with STX, data frames with STX, ETB or FS.
      const std::uint8_t lead = static_cast<std::uint8_t>(w[0]);
      FUZZ_CHECK(lead == STX || lead == ETB || lead == FS);
    }
    if (go == 0) {
      const int r = m_port.Result();
      FUZZ_CHECK(r == 1 || r == 2 || r == -1);
      m_ended = true;
      return;
    }
    FUZZ_CHECK(m_probe.m_nRetry >= 0 && m_probe.m_nRetry <= kRetryLimit);
    // The phase's frame length, or while the rest of a header or end frame
    // that the terminal sent again is read, the bytes still missing from it.
    const int len = ReadLen();
    FUZZ_CHECK(len >= 1);
    switch (m_probe.m_nState) {
      case PHASE_ENQ:
      case PHASE_SEND: FUZZ_CHECK(len <= kHeaderLen); break;
      case PHASE_SOH:
      case PHASE_RECV: FUZZ_CHECK(len <= std::max(kHeaderLen, kMaxBlockSize + kDataOverhead)); break;
      default: FUZZ_CHECK(false);
    }
    FUZZ_CHECK(len < kBufSize);
  }

  // The line delivers a byte stream in pieces of the current read length.
  int DeliverStream(std::string bytes) {
    int pieces = 0;
    while (!bytes.empty() && !m_ended && pieces < 16) {
      const std::size_t n = std::min(bytes.size(), static_cast<std::size_t>(ReadLen()));
      Deliver(bytes.substr(0, n));
      bytes.erase(0, n);
      ++pieces;
    }
    return pieces;
  }

  bool ReachPhase(int phase, int blockSize) {
    if (phase == PHASE_ENQ) return true;
    const char direction = phase == PHASE_SEND ? '2' : '1';
    Deliver(TestTerminal::Enq(direction, "0000000000", kSendName + ":B.TXT:"));
    FUZZ_CHECK(m_probe.m_nState == PHASE_SOH);
    if (phase == PHASE_SOH) return true;
    if (phase == PHASE_SEND) {
      Deliver(TestTerminal::Soh('2', kSendBlockSize, 0, kSendName));
    } else {
      Deliver(TestTerminal::Soh('1', blockSize, 0, PickName()));
      if (m_probe.m_nState != PHASE_RECV) return false;  // a refused name
      FUZZ_CHECK(ReadLen() == blockSize + kDataOverhead);
    }
    FUZZ_CHECK(m_probe.m_nState == phase);
    return true;
  }

  std::string PickName() { return kNames[m_in.Pick(sizeof kNames / sizeof kNames[0])]; }

  std::uint8_t PickLead(unsigned sel) {
    static const std::uint8_t kLeads[] = {ENQ, SOH, EOT, STX, ETB, FS, CAN, 0};
    const std::uint8_t lead = kLeads[sel & 7];
    return lead != 0 ? lead : m_in.Byte();
  }

  // Bytes from the input, filled up with `fill` when the input runs out.
  std::string Take(std::size_t n, char fill) {
    std::string s = m_in.Bytes(n);
    s.resize(n, fill);
    return s;
  }

  static std::string Sealed(std::string f) {
    if (f.size() >= 3) SealFrame({reinterpret_cast<std::uint8_t*>(f.data()), f.size()});
    return f;
  }

  // One operation of the script; returns the number of pieces delivered.
  int Op() {
    const std::uint8_t ctl = m_in.Byte();
    const int readLen = ReadLen();
    std::string piece;
    switch (ctl & 3) {
      case 0:  // cut short (or whole) by the read time-out, any bytes
        piece = Take(1 + m_in.U16() % static_cast<unsigned>(readLen), '\0');
        break;
      case 1:  // a whole frame of the read length with a valid trailer
        piece = Take(static_cast<std::size_t>(readLen), ' ');
        piece[0] = static_cast<char>(PickLead(ctl >> 2));
        if (readLen > 1 && (ctl & 0x20) != 0) piece[1] = static_cast<char>(ACK);
        piece = Sealed(piece);
        break;
      case 2:  // a piece of any length up to the read length with a valid trailer
        piece = Take(1 + m_in.U16() % static_cast<unsigned>(readLen), ' ');
        piece[0] = static_cast<char>(PickLead(ctl >> 2));
        piece = Sealed(piece);
        break;
      default: m_last = TerminalFrame(ctl >> 2); return DeliverStream(m_last);
    }
    m_last = piece;
    Deliver(piece);
    return 1;
  }

  // A frame as the terminal builds it, or the last piece again. (Each choice
  // is its own statement: the input is read in a fixed order.)
  std::string TerminalFrame(unsigned sel) {
    const unsigned number = m_in.U16();
    switch (sel % 8) {
      case 0: {
        const char direction = m_in.Byte() & 1 ? '2' : '1';
        std::string list = PickName() + ":";
        list += PickName() + ":";
        return TestTerminal::Enq(direction, "0000001000", list);
      }
      case 1: {
        const long size = m_in.U16();
        return TestTerminal::Soh('1', 1 + static_cast<int>(number % kMaxBlockSize), size, PickName());
      }
      case 2: return TestTerminal::Soh('2', kSendBlockSize, 0, PickName());
      case 3: return TestTerminal::Eot();
      case 4:
      case 5: {
        static const unsigned char kLeads[] = {STX, ETB, FS};
        const int blockSize = std::max(1, ReadLen() - kDataOverhead);
        const std::string data = Take(m_in.U16() % static_cast<unsigned>(blockSize + 1), 'x');
        return TestTerminal::Data(kLeads[m_in.Pick(3)], number % 100000, data, blockSize);
      }
      case 6: return TestTerminal::Request(number % 100000, m_in.Byte() & 1 ? FS : ' ');
      default: return m_last;
    }
  }

  // The steps touch nothing outside the two directories and the log, and never
  // change the files they send.
  void CheckFiles() {
    for (const std::string& call : m_fs.calls) {
      const std::string paths = call.substr(call.find(' ') + 1);
      // A rename names two paths; any other call one, which may itself hold " -> ".
      const std::size_t arrow = call.rfind("Rename ", 0) == 0 ? paths.find(" -> ") : std::string::npos;
      CheckPath(paths.substr(0, arrow));
      if (arrow != std::string::npos) CheckPath(paths.substr(arrow + 4));
    }
    FUZZ_CHECK(m_fs.Get("send/" + kSendName) == m_sendData);
    for (const std::string& name : m_fs.Names(".")) FUZZ_CHECK(name == "recv" || name == "send" || name == "Log");
    FUZZ_CHECK(m_fs.Names("/").empty());
  }

  static void CheckPath(const std::string& path) {
    if (path == kLogDir || path == kLogPath) return;
    FUZZ_CHECK(path.rfind("recv/", 0) == 0 || path.rfind("send/", 0) == 0);
    const std::string name = path.substr(5);
    FUZZ_CHECK(name.empty() || IsPlainName(name));
  }

  vfuzz::FuzzInput& m_in;
  vtest::FakeFileSystem m_fs;
  vtest::FakeLine m_line;
  vtest::FakeClock m_clock;
  vtest::RecordingNotify m_view;
  CSerialPort m_port{m_line, m_clock, m_fs};
  vtest::SerialPortProbe m_probe{m_port};
  std::string m_sendData;
  std::string m_last;
  bool m_ended = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vfuzz::FuzzInput in(data, size);
  StepRun run(in);
  run.Run();
  return 0;
}
