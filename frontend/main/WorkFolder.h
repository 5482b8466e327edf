#pragma once
// The folder the program works in. The transfer library writes its log,
// Log/comm.log (Log\comm.log), under the current directory; a program started
// from the menu would otherwise write it into whatever folder it was started
// in (the home folder, or an unwritable Program Files folder on Windows,
// where every log entry that fails brings a message box). So the program
// makes a folder of its own per user and works there: on Linux
// $XDG_STATE_HOME/Kelvane (~/.local/state/Kelvane), on Windows
// %LOCALAPPDATA%\Kelvane (WorkFolder_posix.cpp, WorkFolder_win32.cpp).

#include <string>

// The folder (UTF-8); empty when the system names no place for it.
std::string WorkFolder();

// Creates the folder when it is missing and makes it the current directory.
// False (and the current directory unchanged) when that fails.
bool EnterWorkFolder();
