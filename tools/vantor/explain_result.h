#pragma once
// One line for standard error that says why a run did not succeed, printed
// before the result code: which directory and why for -11 and -12, which
// device and why for -4, the value given for -13 and -14. A script reads the
// code; the person at the console reads this line.

#include <string>

#include "run_transfer.h"

namespace vantor_cli {

// device is the device the run used for its COM port; deviceGiven says that
// the user named it (--device), so the line speaks of it and not of the COM
// port it stood in for. Empty for 1 and 2.
std::string ExplainResult(int code, const vantor::TransferArgs& args, const std::string& device, bool deviceGiven);

}  // namespace vantor_cli
