#pragma once
// Which device "COMn" stands for on this platform: the device named by the
// environment variable VANTOR_COMn when it is set and not empty, else the
// platform's own (/dev/ttyS<n-1> on POSIX systems, \\.\COMn on Windows).
// Empty when the name is not COM1..COM9.

#include <string>

namespace vantor {

std::string DeviceForPort(const std::string& portName);

// The platform's own device of COM1..COM9, without the variable
// (com_line_posix.cpp, com_line_win32.cpp).
std::string NativeDeviceForPort(const std::string& portName);

}  // namespace vantor
