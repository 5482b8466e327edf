#pragma once
// A settings store in memory for the tests of the program's rules (no
// toolkit): it keeps the values and the group "Ports", records every write in
// order, and can refuse writes.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "SettingsStore.h"

class RecordingStore final : public SettingsStore {
 public:
  std::string Read(const std::string& key, const std::string& defaultValue) const override {
    const auto found = values.find(key);
    return found == values.end() ? defaultValue : found->second;
  }
  bool Write(const std::string& key, const std::string& value) override {
    if (refuseWrites) return false;
    values[key] = value;
    writes.emplace_back(key, value);
    return true;
  }
  std::string PortDevice(int portNo) const override {
    const auto found = portDevices.find(portNo);
    return found == portDevices.end() ? std::string() : found->second;
  }
  bool WritePortDevice(int portNo, const std::string& device) override {
    if (refuseWrites) return false;
    if (device.empty()) {
      portDevices.erase(portNo);
    } else {
      portDevices[portNo] = device;
    }
    portDeviceWrites.emplace_back(portNo, device);
    return true;
  }
  std::string Location() const override { return location; }

  std::map<std::string, std::string> values;
  std::map<int, std::string> portDevices;
  std::vector<std::pair<std::string, std::string>> writes;
  std::vector<std::pair<int, std::string>> portDeviceWrites;  // "" removes
  std::string location;
  bool refuseWrites = false;
};
