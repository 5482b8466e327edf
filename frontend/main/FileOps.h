#pragma once
// The few file system calls of the program's rules, one file per platform
// (FileOps_posix.cpp, FileOps_win32.cpp). Paths are UTF-8 in the platform's
// form: levels separated by Separator().

#include <string>

namespace FileOps {

// '/' on Linux, '\\' on Windows.
char Separator();
// An entry (file or directory) the rules may see: hidden and system entries
// are not seen on Windows.
bool EntryExists(const std::string& path);
// A file (not a directory) that the rules may see.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// True when new files can be made in the directory path.
bool CanWriteIn(const std::string& path);
// Creates one directory; false when it cannot (its parent missing, a file in
// the way, no permission).
bool MakeDir(const std::string& path);
// Renames a file; never replaces an existing target (false then).
bool RenameNoReplace(const std::string& from, const std::string& to);
// The path in dir of the entry named name, compared without regard to case
// (a terminal may send "stock.txt"); dir + separator + name when none.
std::string FindNoCase(const std::string& dir, const std::string& name);
// The system's text of the last failed call above, for messages.
std::string LastError();

}  // namespace FileOps
