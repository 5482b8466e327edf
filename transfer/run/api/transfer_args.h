#pragma once
// The values of one transfer, as RunVantor receives them. The library copies
// them; the caller's strings are only read.

#include <string>

namespace vantor {

struct TransferArgs {
  std::string recvDir;  // locale encoding; a final "/" is added when missing
  std::string sendDir;
  int portNo = 0;        // 1..4: "COM1".."COM4"
  int speed = 0;         // bits per second
  int appendMode = 0;    // 1: received records are appended to the data files
  std::string userData;  // written to USERDEF.INI in the send directory
};

}  // namespace vantor
