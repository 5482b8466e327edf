#include "FirstInstance.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QPointer>

#include "frmMain.h"

namespace {

// The file a second start touches: beside the lock, of the same user.
QString RaiseFile(const std::string& lockName) { return QString::fromStdString(lockName) + QStringLiteral(".raise"); }

void ComeForward(QWidget& window) {
  if (window.isMinimized()) window.showNormal();
  window.raise();
  window.activateWindow();
}

}  // namespace

struct FirstInstance::Watch {
  QFileSystemWatcher watcher;
  QPointer<frmMain> window;
};

FirstInstance::FirstInstance(const std::string& lockName, frmMain& window) : m_watch(new Watch) {
  m_watch->window = &window;
  const QString path = RaiseFile(lockName);
  QFile file(path);
  // The running instance holds the lock: the file is its own.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
  file.close();
  m_watch->watcher.addPath(path);
  Watch* watch = m_watch;
  QObject::connect(&watch->watcher, &QFileSystemWatcher::fileChanged, [watch, path] {
    if (watch->window) ComeForward(*watch->window);
    // An editor-style replace of the file drops the watch: take it up again.
    if (!watch->watcher.files().contains(path)) watch->watcher.addPath(path);
  });
}

FirstInstance::~FirstInstance() { delete m_watch; }

bool FirstInstance::AskToComeForward(const std::string& lockName) {
  QFile file(RaiseFile(lockName));
  if (!file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  return file.write("\n", 1) == 1;
}
