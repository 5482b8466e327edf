#pragma once
// The text of the message box after a transfer ended with -4: which COM port,
// the device it stands for, why the device could not be opened, and where the
// operator changes the device. UTF-8.

#include <string>

struct PortErrorFacts {
  int portNo = 1;
  std::string device;
  std::string reason;            // empty: the device opened, but refused the line settings
  bool fromEnvironment = false;  // VANTOR_COMn named the device
  std::string settingsFile;      // may be empty
  bool inRegistry = false;       // the settings are a registry key, not a file
};

std::string PortErrorText(const PortErrorFacts& facts);

// Why device cannot be opened as a serial line, in the system's words (UTF-8);
// empty when it opens (PortReason_posix.cpp, PortReason_win32.cpp).
std::string PortOpenReason(const std::string& device);
