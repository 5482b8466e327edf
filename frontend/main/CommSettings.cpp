#include "CommSettings.h"

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

QString StatusText(const PortEntry& port, const SpeedEntry& speed) {
  // The line format is fixed for the whole system and never stored.
  return QStringLiteral("통신설정 : ") + QLatin1String(port.text) + u' ' + QLatin1String(speed.text) + u' ' +
         QStringLiteral("N, 8, 1");
}

}  // namespace CommSettings
