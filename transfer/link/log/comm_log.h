#pragma once
// The communication log "Log/comm.log", relative to the current directory.
//
// Every part of the library appends entries through WriteLog: the text as given
// (code page 949, any bytes but NUL) and CR LF. The file is opened and closed
// for every entry, so the dialog's thread and the watch thread can both write
// it without a lock: each entry is one append. The transfer dialog deletes the
// file when it starts, so it always holds the latest transfer only.

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "file_system.h"

namespace vantor {

inline constexpr const char* kLogDir = "Log";
inline constexpr const char* kLogPath = "Log/comm.log";

void WriteLog(std::string_view text);
void WriteTimeStamp();

// "The time is Mon Mar 29 07:15:35.42 2004\n\n" for 42 ms past that second
// (local time, C-locale names; milliseconds without leading zeros).
std::string FormatTimeStamp(std::time_t seconds, unsigned milliseconds);

// Who tells the operator that an entry could not be written. It is called on
// the thread that failed and returns when the operator has seen the message.
// Without a handler the message goes to standard error.
using LogFailureHandler = std::function<void(const std::string& cp949Text)>;
void SetLogFailureHandler(LogFailureHandler handler);

// The file system the log is written through: the system's unless a test (or
// a run with a file system of its own) sets another; nullptr restores it.
void SetLogFileSystem(CFileSystem* fs);
CFileSystem& LogFileSystem();

}  // namespace vantor
