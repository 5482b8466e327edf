#include "PortErrorText.h"
#include "port_probe.h"

// The locale's encoding is UTF-8 (SystemText.h).
std::string PortOpenReason(const std::string& device) { return ports::OpenProblem(device); }
