#include "PortDevices.h"

std::string PortDevices::DefaultDeviceOf(int portNo) { return "/dev/ttyS" + std::to_string(portNo - 1); }

std::string PortDevices::DeviceOfName(const std::string& name) { return name; }
