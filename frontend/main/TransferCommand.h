#pragma once
// The transfer command's rules: the six arguments of RunVantor and the
// messages of the library's argument errors. The windows call the library and
// show the message; these functions decide what is passed and what is said.

#include <string>

#include "transfer_args.h"

namespace TransferCommand {

// recvDir and sendDir are the text boxes' texts (UTF-8), unchanged; they go
// to the library in the system's 8-bit encoding. The port and speed are
// those in effect (gPortNo, gBaudRate); the user data is always "abc".
vantor::TransferArgs MakeArgs(const std::string& recvDir, const std::string& sendDir, bool append);

// The message for -11 to -14 (UTF-8); nullptr for every other result, which
// the library's own window has reported.
const char* ResultMessage(int result);

}  // namespace TransferCommand
