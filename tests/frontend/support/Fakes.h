#pragma once
// Fakes for the outside world of the program: a settings store in memory that
// records every write, message boxes answered at once, a clock the test sets,
// and volumes the test lays out in a temporary folder.

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QStringList>

#include "Clock.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "VolumeSource.h"

class MemoryStore final : public SettingsStore {
 public:
  std::string Read(const std::string& key, const std::string& defaultValue) const override;
  bool Write(const std::string& key, const std::string& value) override;
  std::string PortDevice(int portNo) const override { return U8(portDevices.value(portNo)); }
  bool WritePortDevice(int portNo, const std::string& device) override;
  std::string Location() const override { return "/home/shop/.config/Kelvane/Kelvane.conf"; }

  QMap<QString, QString> values;
  QMap<int, QString> portDevices;               // group "Ports"
  QList<QPair<QString, QString>> writes;        // in the order they came
  QList<QPair<int, QString>> portDeviceWrites;  // "" removes the entry
  bool refuseWrites = false;
};

class ScriptedMessages final : public MessageBoxes {
 public:
  QMessageBox::StandardButton Show(QWidget* parent, const MessageRequest& request) override;

  QList<MessageRequest> shown;
  QList<QMessageBox::StandardButton> answers;  // taken in turn
  QMessageBox::StandardButton defaultAnswer = QMessageBox::Ok;
  // Runs while a box is "open", for checks of the state at that moment.
  std::function<void(const MessageRequest&)> whileShown;
};

class FakeClock final : public Clock {
 public:
  explicit FakeClock(const QDateTime& start) : now(start) {}
  LocalDateTime Now() const override;
  // Advances the time by ms and lets the window system handle what is due.
  void RunEventsFor(int ms) override;

  QDateTime now;
  int passes = 0;
  std::function<void(FakeClock&)> onPass;  // may move the time elsewhere
};

class FakeVolumes final : public VolumeSource {
 public:
  QList<Volume> Volumes() const override { return volumes; }
  std::optional<QString> AccessError(const QString& dir) const override;

  QList<Volume> volumes;
  QSet<QString> notReady;  // roots that report an error
};

inline constexpr char kNotReadyText[] = "No medium found";

// A Qt date and time as the program's clock gives it.
LocalDateTime ToLocal(const QDateTime& when);
