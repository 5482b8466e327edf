#pragma once
// The transfer entry behind RunVantor, with its seams open: tests and the
// command line hand in the window, the line and the clock.

#include <string>

#include "clock.h"
#include "com_line.h"
#include "dialog_window.h"
#include "file_system.h"
#include "transfer_args.h"

namespace vantor {

// 0 when the arguments are usable; else -13 (port number), -14 (speed), -11
// (receive directory empty, missing, not a directory or not writable) or -12
// (send directory empty, missing or not a directory), tested in that order.
int CheckArgs(const TransferArgs& args, CFileSystem& fs = SystemFileSystem());

// The directory with a final separator (an empty string stays empty).
std::string WithSeparator(const std::string& dir);

// Runs one transfer. One transfer runs at a time in a process: a call made
// while another runs returns -1 and touches nothing.
int RunTransfer(const TransferArgs& args, CDialogWindow& window, CComLine& line, CClock& clock,
                CFileSystem& fs = SystemFileSystem());

// Asks the running transfer, if any, to cancel; any thread.
void CancelCurrentTransfer();

}  // namespace vantor
