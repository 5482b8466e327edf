#include "Fakes.h"

#include <QCoreApplication>

std::string MemoryStore::Read(const std::string& key, const std::string& defaultValue) const {
  const auto found = values.constFind(Q(key));
  return found == values.constEnd() ? defaultValue : U8(*found);
}

bool MemoryStore::Write(const std::string& key, const std::string& value) {
  if (refuseWrites) return false;
  values.insert(Q(key), Q(value));
  writes.append({Q(key), Q(value)});
  return true;
}

bool MemoryStore::WritePortDevice(int portNo, const std::string& device) {
  if (refuseWrites) return false;
  if (device.empty()) {
    portDevices.remove(portNo);
  } else {
    portDevices.insert(portNo, Q(device));
  }
  portDeviceWrites.append({portNo, Q(device)});
  return true;
}

LocalDateTime ToLocal(const QDateTime& when) {
  const QDate date = when.date();
  const QTime time = when.time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
}

LocalDateTime FakeClock::Now() const { return ToLocal(now); }

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
