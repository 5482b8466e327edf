#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "TerminationSignal.h"

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void Handler(int) {
  const char byte = 1;
  // Only async-signal-safe calls here; a full pipe already holds a request.
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignal::OnSignal);
  struct sigaction action {};
  action.sa_handler = Handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kSignals) ::sigaction(sig, &action, nullptr);
}

TerminationSignal::~TerminationSignal() {
  for (int sig : kSignals) ::signal(sig, SIG_DFL);
  delete m_notifier;
  for (int& fd : g_pipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void TerminationSignal::OnSignal() {
  char buffer[16];
  while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
  }
  m_requested = true;
  // exit, not quit: quit would ask every window to close, and the main
  // window answers that with the exit question.
  QCoreApplication::exit(0);
}
