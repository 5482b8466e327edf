#pragma once
// The per-user settings store: string values (UTF-8) addressed by key inside
// the section "Handy Terminal" of the application "Kelvane". A read names the
// default returned when the key does not exist; a write creates or replaces
// the value. The group "Ports" beside it names the device of each COM port
// (the port settings dialog writes it, or the operator edits it). Windows
// reach the store only through this interface, so tests can hand them a
// store that records the order of writes. On Linux the store is QSettings' file
// (SettingsStore_qt.h), on Windows the current user's registry
// (SettingsStore_win32.h).

#include <string>

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string Read(const std::string& key, const std::string& defaultValue) const = 0;
  // False when the value could not be kept; the caller logs and goes on.
  virtual bool Write(const std::string& key, const std::string& value) = 0;
  // The device the group "Ports" names for COMn ("COM1" ...), trimmed; empty
  // when none.
  virtual std::string PortDevice(int portNo) const = 0;
  // Names the device of COMn in the group "Ports"; an empty device removes
  // the entry (the port then stands for the library's own device). False
  // when the change could not be kept.
  virtual bool WritePortDevice(int portNo, const std::string& device) = 0;
  // Where the operator finds the settings, for messages; may be empty.
  virtual std::string Location() const = 0;
};

// Writes a setting and leaves a line on standard error when the store
// refuses it.
void WriteSetting(SettingsStore& store, const std::string& key, const std::string& value);
// The same for the device of COMn.
void WritePortSetting(SettingsStore& store, int portNo, const std::string& device);
