#pragma once
// The settings store in the current user's registry, where Windows keeps the
// classic per-user settings addressed by application and section: one key
// per application and section, HKCU\Software\VB and VBA Program
// Settings\Kelvane\Handy Terminal, one string value per setting. The device
// of each COM port is the value COM1 ... COM4 of the key Ports beside it.

#include "SettingsStore.h"

class RegistryStore final : public SettingsStore {
 public:
  // root: the key under HKEY_CURRENT_USER that holds the application's
  // sections; tests give one of their own.
  explicit RegistryStore(std::wstring root = kDefaultRoot);

  std::string Read(const std::string& key, const std::string& defaultValue) const override;
  bool Write(const std::string& key, const std::string& value) override;
  std::string PortDevice(int portNo) const override;
  bool WritePortDevice(int portNo, const std::string& device) override;
  std::string Location() const override;

  static constexpr const wchar_t* kDefaultRoot = L"Software\\VB and VBA Program Settings\\Kelvane";

 private:
  std::wstring m_root;
};
