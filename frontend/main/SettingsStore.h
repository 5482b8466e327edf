#pragma once
// The per-user settings store: string values addressed by key inside the
// section "Handy Terminal" of the application "Kelvane". A read names the
// default returned when the key does not exist; a write creates or replaces
// the value. The group "Ports" beside it names the device of each COM port;
// the program only reads it (the operator edits the file). Windows reach the
// store only through this interface, so tests can hand them a store that
// records the order of writes.

#include <QString>
#include <memory>

class QSettings;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual QString Read(const QString& key, const QString& defaultValue) const = 0;
  // False when the value could not be kept; the caller logs and goes on.
  virtual bool Write(const QString& key, const QString& value) = 0;
  // The device the group "Ports" names for COMn ("COM1" ...); empty when none.
  virtual QString PortDevice(int portNo) const = 0;
  // Where the operator finds the settings, for messages; may be empty.
  virtual QString Location() const = 0;
};

// The store kept by QSettings for the current user (on Linux an INI file
// under the user's configuration directory).
class QSettingsStore final : public SettingsStore {
 public:
  QSettingsStore();
  ~QSettingsStore() override;
  QString Read(const QString& key, const QString& defaultValue) const override;
  bool Write(const QString& key, const QString& value) override;
  QString PortDevice(int portNo) const override;
  QString Location() const override;

 private:
  std::unique_ptr<QSettings> m_settings;
};

// Writes a setting and leaves a log line when the store refuses it.
void WriteSetting(SettingsStore& store, const QString& key, const QString& value);
