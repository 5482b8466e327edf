#pragma once
// The serial devices of this machine that a terminal's cradle may sit on:
// /dev/ttyS* with a UART behind them (the kernel creates ttyS0..ttyS3 whether
// or not the hardware exists), /dev/ttyUSB* (USB serial adapters) and
// /dev/ttyACM* (USB modems and cradles of the CDC class), each with the names
// udev gives it under /dev/serial/by-id, which stay the same across plugging.

#include <string>
#include <vector>

namespace ports {

struct SerialDevice {
  std::string path;               // "/dev/ttyUSB0"
  std::vector<std::string> byId;  // "/dev/serial/by-id/usb-...", sorted
};

// Where the devices and the kernel's view of them lie; tests point these at
// a tree of their own.
struct DeviceRoots {
  std::string dev = "/dev";
  std::string sysClassTty = "/sys/class/tty";
};

// In a stable order: ttyS, ttyUSB, ttyACM, each by number.
std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots = {});

// True when both paths name the same file once links are followed.
bool SameDevice(const std::string& a, const std::string& b);

// False when the device does not exist (a COM port whose device is missing;
// on Windows also a COM name that opens as no serial line); a device in use
// by another program is present.
bool DevicePresent(const std::string& path);

}  // namespace ports
