// Runs killed with SIGKILL: at each step of the commit and of storing the data
// (a child process runs that part of the library and kills itself at the
// step), and the vantor program killed right after its first end answer. The
// next run always finds every data file as it was or with all of the run's
// records exactly once, and the latter whenever the terminal was answered.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "commit_record.h"
#include "frame.h"
#include "hooked_file_system.h"
#include "recv_files.h"
#include "run_fixture.h"
#include "temp_dir.h"
#include "vantor_process.h"

namespace vtest {
namespace {

using namespace vantor;

class KilledWhileStoring : public ::testing::TestWithParam<bool> {
 protected:
  bool Append() const { return GetParam(); }
  std::string Dir() const { return m_cwd.Path("r/"); }
  void SetUpRun() {
    std::filesystem::remove_all(Dir());
    std::filesystem::create_directories(Dir());
    WriteFile(Dir() + "A.TXT", "OLD1\r\n");
    WriteFile(Dir() + "A.TXT.Tmp", "N1\r\nN2\r\n*X\r\n");
    WriteFile(Dir() + "B.TXT.Tmp", "B1\r\n");
  }
  // The end of a run in a child process that kills itself before its k-th
  // step; returns true when the child had committed (the terminal would have
  // been answered) before it died.
  bool RunEndKilledAt(int k) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return false;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(pipeFds[0]);
      int step = 0;
      HookedFileSystem fs(SystemFileSystem(), [&](const char*, const std::string& path) {
        if (path.find("Log/") == std::string::npos && ++step == k) ::raise(SIGKILL);
      });
      if (CommitRecvFiles(Dir(), {"A.TXT", "B.TXT"}, Append(), fs)) {
        [[maybe_unused]] auto n = ::write(pipeFds[1], "c", 1);
        ParseRecvFiles(Dir(), fs);
      }
      ::_exit(0);
    }
    ::close(pipeFds[1]);
    char c = 0;
    const bool committed = ::read(pipeFds[0], &c, 1) == 1;
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    m_killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return committed;
  }
  std::string NewA() const { return Append() ? "OLD1\r\nN1\r\nN2\r\n" : "N1\r\nN2\r\n"; }

  TempCwd m_cwd;
  bool m_killed = false;
};

TEST_P(KilledWhileStoring, AtEveryStepTheNextRunStoresAllOrNothing) {
  int steps = 0;
  for (int k = 1;; ++k) {
    SCOPED_TRACE("killed before step " + std::to_string(k));
    SetUpRun();
    const bool committed = RunEndKilledAt(k);
    if (!m_killed) {
      steps = k - 1;
      EXPECT_TRUE(committed);
    }
    // The next run's start.
    RecoverRecvFiles(Dir());
    DeleteTmpFiles(Dir());
    const std::string a = ReadFile(Dir() + "A.TXT");
    const std::string b = ReadFile(Dir() + "B.TXT");
    if (committed) {
      EXPECT_EQ(a, NewA());
      EXPECT_EQ(b, "B1\r\n");
    } else {
      EXPECT_TRUE((a == "OLD1\r\n" && !Exists(Dir() + "B.TXT")) || (a == NewA() && b == "B1\r\n")) << a << "|" << b;
    }
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(Dir())) {
      ++files;
      EXPECT_TRUE(e.path().filename() == "A.TXT" || e.path().filename() == "B.TXT") << e.path();
    }
    EXPECT_LE(files, 2u);
    if (!m_killed) break;
  }
  EXPECT_GT(steps, 10);
}

INSTANTIATE_TEST_SUITE_P(Modes, KilledWhileStoring, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "Append" : "Replace"; });

class KilledAfterTheEndAnswer : public RunFixture {};

TEST_F(KilledAfterTheEndAnswer, TheNextRunStoresWhatTheTerminalWasPromised) {
  WriteFile(m_recv / "STOCK.TXT", "OLD\r\n");
  std::filesystem::create_directories(m_root / "out1");
  Vantor first({"--recv-dir", m_recv.string(), "--send-dir", m_send.string(), "--append"}, m_root / "out1");
  for (int i = 0; i < 500 && Log().find("SendDir = [") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(m_hht.OpenRun('1', "STOCK.TXT:", 12));
  ASSERT_TRUE(m_hht.SendOneFile({"STOCK.TXT", "A1\r\nA2\r\n*3\r\n"}, 100));
  m_hht.Send(TestTerminal::Eot());
  // The first end answer is the promise; the program dies at once after it,
  // before it stores anything.
  ASSERT_EQ(m_hht.Receive(kShortLen), BuildEndAnswer());
  first.Signal(SIGKILL);
  EXPECT_EQ(first.Wait().exitStatus, 1000 + SIGKILL);
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "OLD\r\n");
  EXPECT_TRUE(Exists(m_recv / kCommitRecordName));
  m_hht.Drain(300);

  // The next run stores it before it does anything else; it is then cancelled.
  std::filesystem::remove(m_cwd / "Log/comm.log");
  std::filesystem::create_directories(m_root / "out2");
  Vantor second({"--recv-dir", m_recv.string(), "--send-dir", m_send.string(), "--append"}, m_root / "out2");
  for (int i = 0; i < 500 && Log().find("SendDir = [") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "OLD\r\nA1\r\nA2\r\n");
  EXPECT_FALSE(Exists(m_recv / kCommitRecordName));
  EXPECT_FALSE(Exists(m_recv / "STOCK.TXT.Tmp"));
  EXPECT_NE(Log().find("Recovery: completed [STOCK.TXT]"), std::string::npos) << Log();
  second.Signal(SIGINT);
  EXPECT_EQ(second.Wait().exitStatus, 2);
  EXPECT_EQ(ReadFile(m_recv / "STOCK.TXT"), "OLD\r\nA1\r\nA2\r\n");
}

}  // namespace
}  // namespace vtest
