#include "SettingsStore.h"

#include <cstdio>

void WriteSetting(SettingsStore& store, const std::string& key, const std::string& value) {
  if (!store.Write(key, value)) std::fprintf(stderr, "RTKelvane: the setting %s could not be stored\n", key.c_str());
}

void WritePortSetting(SettingsStore& store, int portNo, const std::string& device) {
  if (!store.WritePortDevice(portNo, device)) {
    std::fprintf(stderr, "RTKelvane: the device of COM%d could not be stored\n", portNo);
  }
}
