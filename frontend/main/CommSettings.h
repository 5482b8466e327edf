#pragma once
// The code tables of the port and the line speed. The settings store keeps a
// code ("1" to "4") for each; these tables turn a code into the port number
// and the speed in effect and into the words of the status text. A code that
// is not exactly 1, 2, 3 or 4 falls to the last row: COM1 and 19200 bit/s.
// Texts are UTF-8.

#include <cstdint>
#include <string>

class SettingsStore;

namespace CommSettings {

struct PortEntry {
  std::int16_t portNo;
  const char* text;  // "COM1 -" ...
};

struct SpeedEntry {
  std::int32_t baudRate;
  const char* text;  // "19200," ...
};

PortEntry PortFromCode(double code);
SpeedEntry SpeedFromCode(double code);

// The text of the status bar's first panel for a port and speed in effect:
// "통신설정 : COM3 - 19200, N, 8, 1".
std::string StatusText(const PortEntry& port, const SpeedEntry& speed);

// The text the status panel shows before the settings are read.
inline constexpr char kStatusBeforeLoad[] = "통신설정 : ";

struct InEffect {
  std::int16_t portNo;
  std::int32_t baudRate;
  std::string statusText;
};

// What FP_SetPortNo puts in effect: the stored codes (defaults "1" and "2"),
// trimmed and read as numbers, through the two tables.
InEffect ReadInEffect(const SettingsStore& store);

}  // namespace CommSettings
