#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "serial_devices.h"

namespace ports {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFamilies[] = {"ttyS", "ttyUSB", "ttyACM"};

// The family's position and the device's number, or -1 when name is none of
// ours ("ttyS1a", "ttySTM0" and "ttyUSB" alone are not).
std::pair<int, long> Classify(const std::string& name) {
  for (int family = 0; family < 3; ++family) {
    const std::string prefix = kFamilies[family];
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) continue;
    if (digits.size() > 6) continue;
    return {family, std::stol(digits)};
  }
  return {-1, 0};
}

// A ttyS device has hardware behind it when the kernel knows its UART type
// (0 is "unknown": no chip answered at that address).
bool HasUart(const DeviceRoots& roots, const std::string& name) {
  std::ifstream type(roots.sysClassTty + "/" + name + "/type");
  long value = 0;
  return static_cast<bool>(type >> value) && value != 0;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const fs::path resolved = fs::canonical(path, ec);
  return ec ? std::string() : resolved.string();
}

}  // namespace

bool DevicePresent(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool SameDevice(const std::string& a, const std::string& b) {
  const std::string ca = Canonical(a);
  return !ca.empty() && ca == Canonical(b);
}

std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots) {
  struct Found {
    int family;
    long number;
    SerialDevice device;
  };
  std::vector<Found> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(roots.dev, ec)) {
    const std::string name = entry.path().filename().string();
    const auto [family, number] = Classify(name);
    if (family < 0 || entry.is_directory(ec)) continue;
    if (family == 0 && !HasUart(roots, name)) continue;
    found.push_back({family, number, {entry.path().string(), {}}});
  }
  std::sort(found.begin(), found.end(), [](const Found& x, const Found& y) {
    return x.family != y.family ? x.family < y.family : x.number < y.number;
  });

  std::vector<SerialDevice> devices;
  for (Found& f : found) devices.push_back(std::move(f.device));
  for (const fs::directory_entry& link : fs::directory_iterator(roots.dev + "/serial/by-id", ec)) {
    const std::string target = Canonical(link.path().string());
    for (SerialDevice& d : devices) {
      if (!target.empty() && target == Canonical(d.path)) d.byId.push_back(link.path().string());
    }
  }
  for (SerialDevice& d : devices) std::sort(d.byId.begin(), d.byId.end());
  return devices;
}

}  // namespace ports
