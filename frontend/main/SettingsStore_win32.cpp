#include <windows.h>

#include "NumericText.h"
#include "SettingsStore_win32.h"
#include "VarDefine.h"
#include "WideText.h"

namespace {

// A string value of HKCU\subkey; no value when the key or the value is
// missing or is not a string.
bool ReadString(const std::wstring& subkey, const std::string& name, std::string* value) {
  const std::wstring wideName = Wide(name);
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  text.resize(wcsnlen(text.c_str(), text.size()));
  *value = Utf8(text);
  return true;
}

}  // namespace

RegistryStore::RegistryStore(std::wstring root) : m_root(std::move(root)) {}

std::string RegistryStore::Read(const std::string& key, const std::string& defaultValue) const {
  std::string value;
  return ReadString(m_root + L"\\" + Wide(VarDefine::kSettingsSection), key, &value) ? value : defaultValue;
}

bool RegistryStore::Write(const std::string& key, const std::string& value) {
  HKEY section = nullptr;
  const std::wstring subkey = m_root + L"\\" + Wide(VarDefine::kSettingsSection);
  if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &section, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const std::wstring text = Wide(value);
  const LSTATUS status =
      RegSetValueExW(section, Wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(section);
  return status == ERROR_SUCCESS;
}

std::string RegistryStore::PortDevice(int portNo) const {
  std::string device;
  if (!ReadString(m_root + L"\\" + Wide(VarDefine::kPortsSection), "COM" + std::to_string(portNo), &device)) return {};
  return NumericText::Trim(device);
}

bool RegistryStore::WritePortDevice(int portNo, const std::string& device) {
  const std::wstring subkey = m_root + L"\\" + Wide(VarDefine::kPortsSection);
  const std::wstring name = L"COM" + std::to_wstring(portNo);
  if (device.empty()) {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str());
    // Nothing to remove is as good as removed.
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  const std::wstring text = Wide(device);
  return RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::string RegistryStore::Location() const {
  return "HKEY_CURRENT_USER\\" + Utf8(m_root) + "\\" + VarDefine::kPortsSection;
}
