#include "PortDevicePicker.h"

#include <algorithm>

#include "NumericText.h"
#include "PortDevices.h"
#include "SettingsStore.h"

namespace PortDevicePicker {
namespace {

bool ValidPort(int portNo) { return portNo >= 1 && portNo <= PortChoices::kItemsPerList; }

// The device a stored or typed name stands for: blank and the port's own
// device are the default (empty).
std::string Normalised(int portNo, const std::string& name) {
  const std::string device = PortDevices::DeviceOfName(NumericText::Trim(name));
  return device == PortDevices::DefaultDeviceOf(portNo) ? std::string() : device;
}

// "ttyUSB0" of "/dev/ttyUSB0".
std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

Choice DetectedChoice(const ports::SerialDevice& found) {
  if (found.byId.empty()) return {found.path, found.path};
  return {found.byId.front(), found.byId.front() + " (" + BaseName(found.path) + ")"};
}

void AddUnlisted(std::vector<Choice>& choices, const std::string& device) {
  if (device.empty()) return;
  const bool listed = std::any_of(choices.begin(), choices.end(), [&](const Choice& c) { return c.device == device; });
  if (!listed) choices.push_back({device, device});
}

}  // namespace

std::string EnvironmentNote(int portNo) {
  return "환경 변수 " + PortDevices::VariableOf(portNo) + " 이 정한 장치 (설정보다 우선)";
}

Picker::Picker(const SettingsStore& store, const PortDevices& ports, std::vector<ports::SerialDevice> detected)
    : m_detected(std::move(detected)) {
  for (int n = 1; n <= kPorts; ++n) {
    Port& port = m_ports[n];
    port.fromEnvironment = ports.FromEnvironment(n);
    if (port.fromEnvironment) port.environmentDevice = PortDevices::DeviceOf(n);
    port.stored = Normalised(n, store.PortDevice(n));
    port.chosen = port.stored;
  }
}

std::vector<Choice> Picker::ChoicesOf(int portNo) const {
  const std::string ownDevice = PortDevices::DefaultDeviceOf(portNo);
  std::vector<Choice> choices{{std::string(), ownDevice + kDefaultMark}};
  for (const ports::SerialDevice& found : m_detected) {
    // The port's own device is already the first entry.
    if (found.path == ownDevice) continue;
    choices.push_back(DetectedChoice(found));
  }
  AddUnlisted(choices, m_ports[portNo].stored);
  AddUnlisted(choices, m_ports[portNo].chosen);
  return choices;
}

View Picker::ViewOf(int position) const {
  const int portNo = position + 1;
  View view;
  if (!ValidPort(portNo)) return view;
  const Port& port = m_ports[portNo];
  if (port.fromEnvironment) {
    view.choices = {{port.environmentDevice, port.environmentDevice}};
    view.selected = 0;
    view.note = EnvironmentNote(portNo);
    return view;
  }
  view.choices = ChoicesOf(portNo);
  view.enabled = true;
  const auto chosen =
      std::find_if(view.choices.begin(), view.choices.end(), [&](const Choice& c) { return c.device == port.chosen; });
  view.selected = static_cast<int>(chosen - view.choices.begin());
  return view;
}

void Picker::Choose(int position, const std::string& boxText) {
  const int portNo = position + 1;
  if (!ValidPort(portNo) || m_ports[portNo].fromEnvironment) return;
  const std::vector<Choice> choices = ChoicesOf(portNo);
  const auto listed = std::find_if(choices.begin(), choices.end(), [&](const Choice& c) { return c.text == boxText; });
  m_ports[portNo].chosen = listed != choices.end() ? listed->device : Normalised(portNo, boxText);
}

std::string Picker::ChosenDevice(int portNo) const { return ValidPort(portNo) ? m_ports[portNo].chosen : ""; }

void Picker::Store(SettingsStore& store) const {
  for (int n = 1; n <= kPorts; ++n) {
    const Port& port = m_ports[n];
    if (port.fromEnvironment || port.chosen == port.stored) continue;
    WritePortSetting(store, n, port.chosen);
  }
}

}  // namespace PortDevicePicker
