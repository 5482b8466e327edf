// RunVantor as callers see it: in a program without a QApplication (the
// library makes one for the call and releases it), in a program that has one
// (the desktop program), and with no usable display (headless, in a child
// process, since a wrong choice there would end the process).
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <atomic>
#include <cstring>
#include <thread>

#include "pty_pair.h"
#include "run_dirs.h"
#include "test_terminal.h"
#include "vantor2.h"

extern char** environ;

namespace {

constexpr const char* kCaption = "MERIDEX - VANTOR2  [ VER 5.2.1 ]";

std::string Records(int count) {
  std::string data;
  for (int i = 0; i < count; ++i) data += "ITEM" + std::to_string(10000 + i) + "    0001\r\n";
  return data;
}

int Run(const vtest::RunDirs& dirs) { return RunVantor(dirs.m_recv.c_str(), dirs.m_send.c_str(), 1, 19200, 0, "abc"); }

// A whole receive run with the terminal starting once the port is open.
// While the terminal speaks, it notes whether an application object exists.
struct ReceiveRun {
  vtest::PtyPair pty;
  vtest::RunDirs dirs{pty.SlavePath()};
  vtest::TestTerminal hht{pty.MasterFd()};
  std::atomic<bool> terminalOk{false};
  std::atomic<bool> sawApplication{false};
  std::thread terminal;
  const std::string data = Records(100);

  void StartTerminal() {
    terminal = std::thread([this] {
      if (!dirs.WaitForPortOpen()) return;
      sawApplication = QCoreApplication::instance() != nullptr;
      terminalOk = hht.SendFiles({{"DATA.TXT", data}}, 500);
    });
  }
  ~ReceiveRun() {
    if (terminal.joinable()) terminal.join();
  }
};

// The child: one receive run through RunVantor, exit status 0 when it gave 1.
int ChildReceiveRun() {
  ReceiveRun run;
  run.StartTerminal();
  const int code = Run(run.dirs);
  run.terminal.join();
  std::fprintf(stdout, "result=%d application=%d\n", code, run.sawApplication ? 1 : 0);
  return code == 1 && run.terminalOk ? 0 : 1;
}

struct ChildResult {
  bool exitedNormally = false;
  int exitStatus = -1;
  std::string output;  // standard output and error together
};

// Runs this program as the child with the given variables removed or set.
ChildResult RunChild(const std::map<std::string, const char*>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (!changes.contains(entry.substr(0, entry.find('=')))) env.push_back(entry);
  }
  for (const auto& [name, value] : changes) {
    if (value != nullptr) env.push_back(name + "=" + value);
  }
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  char self[] = "/proc/self/exe";
  char mode[] = "--child-receive-run";
  char* argv[] = {self, mode, nullptr};
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, self, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  ChildResult result;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0) result.output.append(buf, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  if (rc != 0) return result;
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitedNormally = WIFEXITED(status);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  return result;
}

QWidget* TransferWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowTitle() == kCaption) return w;
  }
  return nullptr;
}

}  // namespace

class TestRunVantor : public QObject {
  Q_OBJECT

 private slots:
  void twoCallsInARowEachWithItsOwnApplication();
  void desktopProgramsApplicationShowsTheWindow();
  void noUsableDisplayRunsHeadless_data();
  void noUsableDisplayRunsHeadless();
};

void TestRunVantor::twoCallsInARowEachWithItsOwnApplication() {
  // This part of the test runs without an application object, as a
  // command-line program does; QT_QPA_PLATFORM=offscreen names the display.
  QVERIFY(QCoreApplication::instance() == nullptr);
  QVERIFY(qgetenv("QT_QPA_PLATFORM") == "offscreen");
  const char* localeBefore = std::setlocale(LC_ALL, nullptr);
  const std::string locale = localeBefore != nullptr ? localeBefore : "";
  for (int call = 1; call <= 2; ++call) {
    ReceiveRun run;
    run.StartTerminal();
    QCOMPARE(Run(run.dirs), 1);
    run.terminal.join();
    QVERIFY(run.terminalOk);
    QVERIFY2(run.sawApplication, "the window ran with an application object");
    QVERIFY2(QCoreApplication::instance() == nullptr, "released after the call");
    QCOMPARE(vtest::ReadFile(run.dirs.m_recv / "DATA.TXT"), run.data);
    QCOMPARE(std::string(std::setlocale(LC_ALL, nullptr)), locale);
  }
}

void TestRunVantor::desktopProgramsApplicationShowsTheWindow() {
  int argc = 1;
  char name[] = "desktop";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  vtest::PtyPair pty;
  vtest::RunDirs dirs(pty.SlavePath());
  vtest::TestTerminal hht(pty.MasterFd());
  std::string cancelRun;
  std::thread reader([&] { cancelRun = hht.Receive(5 * 1024, 20000); });
  // The program's own loop goes on during the transfer: its timer finds the
  // window and presses Escape on it.
  bool found = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* window = TransferWindow();
    if (window == nullptr || !window->isVisible()) return;
    poll.stop();
    found = true;
    QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
  });
  poll.start(10);
  const int code = Run(dirs);
  reader.join();
  QVERIFY(found);
  QCOMPARE(code, -2);
  QCOMPARE(cancelRun, std::string(5 * 1024, '\x18'));
  QCOMPARE(QCoreApplication::instance(), &app);  // the program's own, untouched
  QVERIFY(TransferWindow() == nullptr);          // nothing of the call is left
}

void TestRunVantor::noUsableDisplayRunsHeadless_data() {
  using Changes = std::map<std::string, const char*>;
  QTest::addColumn<Changes>("changes");
  QTest::newRow("no display at all") << Changes{
      {"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}};
  QTest::newRow("X display that does not answer")
      << Changes{{"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", ":87"}, {"WAYLAND_DISPLAY", nullptr}};
  QTest::newRow("xcb named without a display")
      << Changes{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}};
  QTest::newRow("Wayland socket that does not exist")
      << Changes{{"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", "vantor-none-0"}};
}

void TestRunVantor::noUsableDisplayRunsHeadless() {
  using Changes = std::map<std::string, const char*>;
  QFETCH(Changes, changes);
  const ChildResult child = RunChild(changes);
  QVERIFY2(child.exitedNormally, child.output.c_str());
  QVERIFY2(child.exitStatus == 0, child.output.c_str());
  QVERIFY2(child.output.find("result=1 application=0") != std::string::npos, child.output.c_str());
  // The headless window reported the run on standard error.
  QVERIFY2(child.output.find("HHT -> PC") != std::string::npos, child.output.c_str());
}

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--child-receive-run") == 0) return ChildReceiveRun();
  // No application object here: the library must make its own for the first
  // test; the desktop test makes one of its own.
  TestRunVantor test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_run_vantor.moc"
