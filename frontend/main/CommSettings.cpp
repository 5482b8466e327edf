#include "CommSettings.h"

#include "NumericText.h"
#include "SettingsStore.h"
#include "VarDefine.h"

namespace CommSettings {

PortEntry PortFromCode(double code) {
  if (code == 2) return {2, "COM2 -"};
  if (code == 3) return {3, "COM3 -"};
  if (code == 4) return {4, "COM4 -"};
  return {1, "COM1 -"};  // code 1 and every value outside the table
}

SpeedEntry SpeedFromCode(double code) {
  if (code == 1) return {9600, "9600,"};
  if (code == 3) return {38400, "38400,"};
  if (code == 4) return {115200, "115200,"};
  return {19200, "19200,"};  // code 2 and every value outside the table
}

std::string StatusText(const PortEntry& port, const SpeedEntry& speed) {
  // The line format is fixed for the whole system and never stored.
  return std::string("통신설정 : ") + port.text + ' ' + speed.text + ' ' + "N, 8, 1";
}

InEffect ReadInEffect(const SettingsStore& store) {
  const double portValue =
      NumericText::LeadingNumber(NumericText::Trim(store.Read(VarDefine::kKeyPortNo, VarDefine::kDefaultPortCode)));
  const double speedValue =
      NumericText::LeadingNumber(NumericText::Trim(store.Read(VarDefine::kKeySpeed, VarDefine::kDefaultSpeedCode)));
  const PortEntry port = PortFromCode(portValue);
  const SpeedEntry speed = SpeedFromCode(speedValue);
  return {port.portNo, speed.baudRate, StatusText(port, speed)};
}

}  // namespace CommSettings
