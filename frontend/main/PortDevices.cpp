#include "PortDevices.h"

#include "SettingsStore.h"

PortDevices::PortDevices() {
  for (int n = 1; n <= kPorts; ++n) m_fromEnvironment[n] = !qEnvironmentVariable(VariableOf(n).constData()).isEmpty();
}

QByteArray PortDevices::VariableOf(int portNo) { return "VANTOR_COM" + QByteArray::number(portNo); }

bool PortDevices::FromEnvironment(int portNo) const {
  return portNo >= 1 && portNo <= kPorts && m_fromEnvironment[portNo];
}

void PortDevices::Apply(const SettingsStore& store) const {
  for (int n = 1; n <= kPorts; ++n) {
    if (m_fromEnvironment[n]) continue;
    const QString device = store.PortDevice(n);
    if (device.isEmpty()) {
      qunsetenv(VariableOf(n).constData());
    } else {
      qputenv(VariableOf(n).constData(), device.toLocal8Bit());
    }
  }
}

QString PortDevices::DeviceOf(int portNo) {
  const QString named = qEnvironmentVariable(VariableOf(portNo).constData());
  return named.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(portNo - 1) : named;
}
