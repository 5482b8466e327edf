#pragma once
// vantor --list-ports: the serial devices present, one a line, each with the
// COM ports that stand for it and its by-id names; then the COM ports whose
// device is not among them (a pseudo-terminal, a device that is missing).

#include <cstdio>

#include "serial_devices.h"

namespace vantor_cli {

void PrintPortList(std::FILE* out, const ports::DeviceRoots& roots = {});

}  // namespace vantor_cli
