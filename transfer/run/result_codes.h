#pragma once
// The system's result codes and the log line that each one leaves.

#include "vantor2.h"

namespace vantor {

// The text EndTransfer logs for a code, or nullptr for codes that log nothing.
const char* ResultLogText(int code);

// The accepted line speeds.
bool IsAcceptedSpeed(int speed);

}  // namespace vantor
