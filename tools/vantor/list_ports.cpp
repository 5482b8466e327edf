#include "list_ports.h"

#include <string>
#include <vector>

#include "com_device.h"

namespace vantor_cli {
namespace {

constexpr int kPorts = 4;

std::string ComName(int n) { return "COM" + std::to_string(n); }

}  // namespace

void PrintPortList(std::FILE* out, const ports::DeviceRoots& roots) {
  const std::vector<ports::SerialDevice> devices = ports::ListSerialDevices(roots);
  bool listed[kPorts + 1] = {};
  if (devices.empty()) std::fputs("no serial devices found\n", out);
  for (const ports::SerialDevice& device : devices) {
    std::string coms;
    for (int n = 1; n <= kPorts; ++n) {
      if (!ports::SameDevice(vantor::DeviceForPort(ComName(n)), device.path)) continue;
      coms += (coms.empty() ? "" : ",") + ComName(n);
      listed[n] = true;
    }
    std::string line = device.path + "  " + (coms.empty() ? "-" : coms);
    for (const std::string& alias : device.byId) line += "  " + alias;
    std::fprintf(out, "%s\n", line.c_str());
  }
  for (int n = 1; n <= kPorts; ++n) {
    if (listed[n]) continue;
    const std::string device = vantor::DeviceForPort(ComName(n));
    const char* note = ports::DevicePresent(device) ? "" : " (missing)";
    std::fprintf(out, "%s -> %s%s\n", ComName(n).c_str(), device.c_str(), note);
  }
}

}  // namespace vantor_cli
