#pragma once
// The settings store kept by QSettings for the current user: on Linux an INI
// file under the user's configuration directory (~/.config/Kelvane/Kelvane.conf),
// the section "Handy Terminal" and the group "Ports" in it.

#include <memory>

#include "SettingsStore.h"

class QSettings;

class QSettingsStore final : public SettingsStore {
 public:
  QSettingsStore();
  ~QSettingsStore() override;
  std::string Read(const std::string& key, const std::string& defaultValue) const override;
  bool Write(const std::string& key, const std::string& value) override;
  std::string PortDevice(int portNo) const override;
  bool WritePortDevice(int portNo, const std::string& device) override;
  std::string Location() const override;

 private:
  std::unique_ptr<QSettings> m_settings;
};
