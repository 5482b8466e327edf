#include "Fakes.h"

#include <QCoreApplication>

QString MemoryStore::Read(const QString& key, const QString& defaultValue) const {
  return values.value(key, defaultValue);
}

bool MemoryStore::Write(const QString& key, const QString& value) {
  if (refuseWrites) return false;
  values.insert(key, value);
  writes.append({key, value});
  return true;
}

QMessageBox::StandardButton ScriptedMessages::Show(QWidget*, const MessageRequest& request) {
  shown.append(request);
  if (whileShown) whileShown(request);
  return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

void FakeClock::RunEventsFor(int ms) {
  ++passes;
  now = now.addMSecs(ms);
  QCoreApplication::processEvents();
  if (onPass) onPass(*this);
}

std::optional<QString> FakeVolumes::AccessError(const QString& dir) const {
  if (notReady.contains(dir)) return QString::fromLatin1(kNotReadyText);
  return std::nullopt;
}
