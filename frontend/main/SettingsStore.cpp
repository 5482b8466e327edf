#include "SettingsStore.h"

#include <cstdio>

void WriteSetting(SettingsStore& store, const std::string& key, const std::string& value) {
  if (!store.Write(key, value)) std::fprintf(stderr, "RTKelvane: the setting %s could not be stored\n", key.c_str());
}
