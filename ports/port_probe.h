#pragma once
// Why a device cannot serve as the COM port. A transfer that ends with -4
// tells only that the port could not be opened; the operator needs to know
// which device that was and what to change, so the caller opens the device
// once more, the way the library does, and reports what the system says.

#include <string>

namespace ports {

// Empty when the device opens as a serial line (a port that refused its
// settings then is the cause); otherwise one line such as "No such file or
// directory" or "Permission denied (the device belongs to the group dialout)".
std::string OpenProblem(const std::string& device);

}  // namespace ports
