#pragma once
// The default send and receive folders: "send" and "recv" in the user's home
// on Linux, C:\send and C:\recv on Windows. They are created at start when
// the settings name them (or name no folder yet) and they do not exist, so
// that the very first transfer finds them. A folder the operator chose is
// never created here: a missing one is a mistake to show (the transfer
// reports it), not to hide.
//
// Where a default cannot be created (C:\ refuses an ordinary user on many
// PCs), Windows falls back to the same names under the user's documents: the
// fallback is created and stored, and the operator is told. Linux has no
// fallback (the home folder is the user's own); the failure is logged.

#include <string>
#include <vector>

class SettingsStore;

namespace DefaultDirs {

// The defaults of the settings (DefaultDirs_posix.cpp, DefaultDirs_win32.cpp).
std::string SendDir();
std::string RecvDir();
// The folders used when a default cannot be created; empty for none.
std::string FallbackSendDir();
std::string FallbackRecvDir();

}  // namespace DefaultDirs

// Creates the missing default folders. Returns a message for the operator
// (UTF-8) per folder that could not be created; empty when all is well.
std::vector<std::string> CreateDefaultDirs(SettingsStore& store);
