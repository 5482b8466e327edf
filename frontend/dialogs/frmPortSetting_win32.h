#pragma once
// The port settings dialog on Windows: the operator chooses the COM port and
// the line speed from two drop-down lists. It opens on the stored codes and OK
// stores both (PortChoices); Cancel and the close box store nothing. Neither
// button answers Enter or Esc. Below the frame the device picker shows the
// device the selected COM port stands for and offers the system's COM
// devices for it; OK keeps a changed one in the key Ports (PortDevicePicker).

#include <windows.h>

#include <vector>

#include "serial_devices.h"

class PortDevices;
class SettingsStore;

// Shows the dialog modally over owner; true when OK closed it. ports tells
// which devices the environment named at start; the picker offers the COM
// devices the system has as the dialog opens.
bool ShowPortSetting(HWND owner, SettingsStore& settings, const PortDevices& ports);
// The same with the devices to offer given (tests give their own).
bool ShowPortSetting(HWND owner, SettingsStore& settings, const PortDevices& ports,
                     std::vector<ports::SerialDevice> detected);
