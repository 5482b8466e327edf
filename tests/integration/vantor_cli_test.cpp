// The command line: the same runs through the vantor program, its result line,
// exit status, usage errors and the cancel by signal.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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
  const Outcome noDir = Vantor({"--recv-dir", (m_root / "absent").string(), "--send-dir", m_send.string()}, m_root).Wait();
  EXPECT_EQ(noDir.exitStatus, 11);
  const Outcome noSend = Vantor({"--recv-dir", m_recv.string(), "--send-dir", ""}, m_root).Wait();
  EXPECT_EQ(noSend.exitStatus, 12);
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
}

}  // namespace
}  // namespace vtest
