#pragma once
// The port settings dialog on Windows: the operator chooses the COM port and
// the line speed from two drop-down lists. It opens on the stored codes and OK
// stores both (PortChoices); Cancel and the close box store nothing. Neither
// button answers Enter or Esc.

#include <windows.h>

class SettingsStore;

// Shows the dialog modally over owner; true when OK closed it.
bool ShowPortSetting(HWND owner, SettingsStore& settings);
