#include "PortDevices.h"

#include "Environment.h"
#include "SettingsStore.h"

PortDevices::PortDevices() {
  for (int n = 1; n <= kPorts; ++n) m_fromEnvironment[n] = !Environment::Get(VariableOf(n)).empty();
}

std::string PortDevices::VariableOf(int portNo) { return "VANTOR_COM" + std::to_string(portNo); }

bool PortDevices::FromEnvironment(int portNo) const {
  return portNo >= 1 && portNo <= kPorts && m_fromEnvironment[portNo];
}

void PortDevices::Apply(const SettingsStore& store) const {
  for (int n = 1; n <= kPorts; ++n) {
    if (m_fromEnvironment[n]) continue;
    const std::string device = store.PortDevice(n);
    if (device.empty()) {
      Environment::Unset(VariableOf(n));
    } else {
      Environment::Set(VariableOf(n), DeviceOfName(device));
    }
  }
}

std::string PortDevices::DeviceOf(int portNo) {
  const std::string named = Environment::Get(VariableOf(portNo));
  return named.empty() ? DefaultDeviceOf(portNo) : named;
}
