#pragma once
// The device behind each COM port for a transfer started from the desktop.
// The library opens COMn on the device named by the environment variable
// VANTOR_COMn, else on its own default (/dev/ttyS<n-1> on Linux, \\.\COMn on
// Windows). A user who starts RTKelvane from the menu cannot set that
// variable, and a USB cradle is never /dev/ttyS0; so before each transfer the
// program names the devices of the group "Ports" of its settings in its own
// environment. A variable the program's environment brought at start still
// wins.

#include <array>
#include <string>

class SettingsStore;

class PortDevices {
 public:
  static constexpr int kPorts = 4;

  // Notes which VANTOR_COMn the environment brought.
  PortDevices();

  // Sets VANTOR_COMn from the settings for every port the environment did
  // not name, and clears the ones whose setting has gone since.
  void Apply(const SettingsStore& store) const;
  // True when the environment at start named the device of COMn.
  bool FromEnvironment(int portNo) const;

  // The device the library opens for COMn, as things stand now.
  static std::string DeviceOf(int portNo);
  static std::string VariableOf(int portNo);
  // The library's own device for COMn when no variable names one
  // (PortDevices_posix.cpp, PortDevices_win32.cpp).
  static std::string DefaultDeviceOf(int portNo);
  // The device a name the operator typed stands for: on Windows a bare
  // "COMn" (any case) is \\.\COMn, the only name under which the line opens
  // COM10 and above; any other name stays as it is.
  static std::string DeviceOfName(const std::string& name);

 private:
  std::array<bool, kPorts + 1> m_fromEnvironment{};
};
