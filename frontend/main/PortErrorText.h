#pragma once
// The text of the message box after a transfer ended with -4: which COM port,
// the device it stands for, why the device could not be opened, and where the
// operator changes the device.

#include <QString>

struct PortErrorFacts {
  int portNo = 1;
  QString device;
  QString reason;                // empty: the device opened, but refused the line settings
  bool fromEnvironment = false;  // VANTOR_COMn named the device
  QString settingsFile;          // may be empty
};

QString PortErrorText(const PortErrorFacts& facts);
