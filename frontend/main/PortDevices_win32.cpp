#include "PortDevices.h"

std::string PortDevices::DefaultDeviceOf(int portNo) { return "\\\\.\\COM" + std::to_string(portNo); }
