// The command line: the same runs through the vantor program, its result line,
// exit status, usage errors and the cancel by signal.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "frame.h"
#include "run_fixture.h"
#include "vantor_process.h"

namespace vtest {
namespace {

using namespace vantor;

class VantorCli : public RunFixture {
 protected:
  std::vector<std::string> Args() { return {"--recv-dir", m_recv.string(), "--send-dir", m_send.string()}; }
  // Waits until the program has the line open.
  void AwaitOpen() {
    for (int i = 0; i < 500 && Log().find("SendDir = [") == std::string::npos; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  static std::string LastLine(const std::string& out) {
    std::string s = out;
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s.substr(s.rfind('\n') == std::string::npos ? 0 : s.rfind('\n') + 1);
  }
};

TEST_F(VantorCli, ReceiveRunPrintsOneAndExitsZero) {
  Vantor v(Args(), m_root);
  AwaitOpen();
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", "A1\r\nA2\r\n"}}, 100));
  const Outcome o = v.Wait();
  EXPECT_EQ(o.exitStatus, 0);
  EXPECT_EQ(LastLine(o.out), "1");
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "A1\r\nA2\r\n");
  // One line per status change when standard error is not a terminal.
  EXPECT_NE(o.err.find("HHT -> PC로 전송중...  STOCK.TXT\n"), std::string::npos) << o.err;
}

TEST_F(VantorCli, SendRunPrintsTwo) {
  WriteFile(m_send / "M.TXT", "MASTER\r\n");
  std::vector<std::string> args = Args();
  args.insert(args.end(), {"--speed", "115200", "--user-data", "abc"});
  Vantor v(args, m_root);
  AwaitOpen();
  std::map<std::string, std::string> got;
  ASSERT_TRUE(m_hht.FetchFiles({"M.TXT"}, &got));
  const Outcome o = v.Wait();
  EXPECT_EQ(o.exitStatus, 0);
  EXPECT_EQ(LastLine(o.out), "2");
  EXPECT_EQ(got["M.TXT"], "MASTER\r\n");
  EXPECT_EQ(ReadFile(m_send / "USERDEF.INI"), "abc");
}

TEST_F(VantorCli, SignalIsTheCancelCommand) {
  for (int sig : {SIGINT, SIGTERM}) {
    Vantor v(Args(), m_root);
    AwaitOpen();
    v.Signal(sig);
    EXPECT_EQ(m_hht.Receive(5 * 1024, 10000), std::string(5 * 1024, static_cast<char>(CAN)));
    const Outcome o = v.Wait();
    EXPECT_EQ(o.exitStatus, 2) << sig;
    EXPECT_EQ(LastLine(o.out), "-2");
    std::filesystem::remove(m_cwd / "Log/comm.log");
  }
}

TEST_F(VantorCli, ResultCodesBecomeExitStatuses) {
  struct Row {
    std::vector<std::string> extra;
    int status;
    std::string line;
  };
  const Row rows[] = {
      {{"--port", "5"}, 13, "-13"},
      {{"--speed", "4800"}, 14, "-14"},
      {{"--port", "2"}, 4, "-4"},  // VANTOR_COM2 is not set: /dev/ttyS1 is no usable line here
  };
  ::setenv("VANTOR_COM2", (m_root / "absent").c_str(), 1);
  for (const Row& r : rows) {
    std::vector<std::string> args = Args();
    args.insert(args.end(), r.extra.begin(), r.extra.end());
    const Outcome o = Vantor(args, m_root).Wait();
    EXPECT_EQ(o.exitStatus, r.status) << r.line;
    EXPECT_EQ(LastLine(o.out), r.line);
  }
  ::unsetenv("VANTOR_COM2");
  const Outcome noDir =
      Vantor({"--recv-dir", (m_root / "absent").string(), "--send-dir", m_send.string()}, m_root).Wait();
  EXPECT_EQ(noDir.exitStatus, 11);
  const Outcome noSend = Vantor({"--recv-dir", m_recv.string(), "--send-dir", ""}, m_root).Wait();
  EXPECT_EQ(noSend.exitStatus, 12);
}

// Every result but 1 and 2 is explained in one line, the last on standard
// error: which directory and why, which device and why, the value refused.
TEST_F(VantorCli, ResultsOtherThanSuccessAreExplainedOnStandardError) {
  WriteFile(m_root / "a-file", "x");
  const std::string absent = (m_root / "absent").string();
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string explanation;
  };
  const std::string recv = m_recv.string(), send = m_send.string();
  const Row rows[] = {
      {{"--recv-dir", absent, "--send-dir", send},
       11,
       "vantor: receive directory \"" + absent + "\": No such file or directory"},
      {{"--recv-dir", (m_root / "a-file").string(), "--send-dir", send},
       11,
       "vantor: receive directory \"" + (m_root / "a-file").string() + "\": not a directory"},
      {{"--recv-dir", recv, "--send-dir", ""}, 12, "vantor: send directory \"\": no directory given"},
      {{"--recv-dir", recv, "--send-dir", absent},
       12,
       "vantor: send directory \"" + absent + "\": No such file or directory"},
      {{"--recv-dir", recv, "--send-dir", send, "--port", "5"}, 13, "vantor: port 5 is outside 1..4"},
      {{"--recv-dir", recv, "--send-dir", send, "--speed", "4800"},
       14,
       "vantor: speed 4800 is not accepted (9600 14400 19200 38400 56000 57600 115200 128000 256000)"},
      {{"--recv-dir", recv, "--send-dir", send, "--port", "2"},
       4,
       "vantor: COM2 is " + absent + ", which cannot be used: No such file or directory"},
      {{"--recv-dir", recv, "--send-dir", send, "--port", "3"},
       4,
       "vantor: COM3 is /dev/null, which cannot be used: not a serial line (Inappropriate ioctl for device)"},
  };
  ::setenv("VANTOR_COM2", absent.c_str(), 1);
  ::setenv("VANTOR_COM3", "/dev/null", 1);
  for (const Row& r : rows) {
    const Outcome o = Vantor(r.args, m_root).Wait();
    EXPECT_EQ(o.exitStatus, r.status) << r.explanation;
    EXPECT_EQ(LastLine(o.err), r.explanation) << o.err;
    EXPECT_EQ(LastLine(o.out), std::to_string(-r.status));
  }
  ::unsetenv("VANTOR_COM2");
  ::unsetenv("VANTOR_COM3");
}

TEST_F(VantorCli, SuccessIsNotExplained) {
  Vantor v(Args(), m_root);
  AwaitOpen();
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", "A1\r\n"}}, 100));
  const Outcome o = v.Wait();
  EXPECT_EQ(LastLine(o.out), "1");
  EXPECT_EQ(o.err.find("vantor: "), std::string::npos) << o.err;
}

// --device names the line directly; it beats VANTOR_COM1.
TEST_F(VantorCli, DeviceOptionRunsOnThatDevice) {
  ::setenv("VANTOR_COM1", (m_root / "absent").c_str(), 1);
  std::vector<std::string> args = Args();
  args.insert(args.end(), {"--device", m_pty.SlavePath()});
  Vantor v(args, m_root);
  AwaitOpen();
  ASSERT_TRUE(m_hht.SendFiles({{"STOCK.TXT", "D1\r\n"}}, 100));
  const Outcome o = v.Wait();
  EXPECT_EQ(o.exitStatus, 0) << o.err;
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "D1\r\n");
}

TEST_F(VantorCli, AMissingDeviceEndsAtOnceAndIsNamed) {
  const std::string absent = (m_root / "usb-cradle").string();
  std::vector<std::string> args = Args();
  args.insert(args.end(), {"--device", absent});
  const auto t0 = std::chrono::steady_clock::now();
  const Outcome o = Vantor(args, m_root).Wait();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  EXPECT_EQ(o.exitStatus, 4);
  EXPECT_EQ(LastLine(o.out), "-4");
  // One line, naming the device given, not the COM port it stood in for.
  EXPECT_EQ(o.err, "vantor: " + absent + " cannot be used: No such file or directory\n");
  // The log names the device in an entry of its own after "Port Open Error...".
  EXPECT_NE(Log().find("Port Open Error...\r\nCOM1: " + absent + ": No such file or directory\r\n"), std::string::npos)
      << Log();
}

TEST_F(VantorCli, DeviceAndPortExcludeEachOther) {
  for (const std::vector<std::string>& extra :
       std::vector<std::vector<std::string>>{{"--device", m_pty.SlavePath(), "--port", "2"}, {"--device", ""}}) {
    std::vector<std::string> args = Args();
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome o = Vantor(args, m_root).Wait();
    EXPECT_EQ(o.exitStatus, 64);
    EXPECT_NE(o.err.find("usage: vantor"), std::string::npos);
  }
}

// The COM ports whose device is no serial device found (here: a
// pseudo-terminal and a missing file) still show where they point.
TEST_F(VantorCli, ListPortsShowsWhereEachComPortPoints) {
  ::setenv("VANTOR_COM2", (m_root / "absent").c_str(), 1);
  const Outcome o = Vantor({"--list-ports"}, m_root).Wait();
  ::unsetenv("VANTOR_COM2");
  EXPECT_EQ(o.exitStatus, 0);
  EXPECT_NE(o.out.find("COM1 -> " + m_pty.SlavePath() + "\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("COM2 -> " + (m_root / "absent").string() + " (missing)\n"), std::string::npos) << o.out;
  EXPECT_EQ(o.err, "");
}

TEST_F(VantorCli, BadUsageExitsSixtyFourAndHelpExplains) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"--recv-dir", "x"}, {"--bogus"}, {"--recv-dir", "a", "--send-dir", "b", "--port", "one"}}) {
    const Outcome o = Vantor(args, m_root).Wait();
    EXPECT_EQ(o.exitStatus, 64);
    EXPECT_NE(o.err.find("usage: vantor"), std::string::npos);
  }
  const Outcome help = Vantor({"--help"}, m_root).Wait();
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("VANTOR_COMn"), std::string::npos);
  EXPECT_NE(help.out.find("-14"), std::string::npos);
  EXPECT_NE(help.out.find("--device PATH"), std::string::npos);
  EXPECT_NE(help.out.find("--list-ports"), std::string::npos);
}

}  // namespace
}  // namespace vtest
