#include "DefaultDirs.h"
#include "Environment.h"

namespace DefaultDirs {

std::string SendDir() { return Environment::Get("HOME") + "/send"; }
std::string RecvDir() { return Environment::Get("HOME") + "/recv"; }
std::string FallbackSendDir() { return {}; }
std::string FallbackRecvDir() { return {}; }

}  // namespace DefaultDirs
