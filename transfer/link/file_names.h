#pragma once
// Turning a file name from the terminal (code page 949) into a path on disk.

#include <optional>
#include <string>

namespace vantor {

// dir + the name in the locale's encoding, when the name is plain (not empty,
// not "." or "..", no "/", "\" or ":"), means the same file on every platform
// (IsPortableName) and converts exactly; else nullopt, so that nothing is ever
// read or written outside the directory, and a terminal gets the same answer
// from a PC on either platform.
std::optional<std::string> PathInDir(const std::string& dir, const std::string& cp949Name);

// False for a name that Windows would not store as given, so that it could
// reach another file than the one named: a name ending in "." or " " (Windows
// drops them: "X.Tmp." is "X.Tmp"), one with a character Windows refuses
// (<>:"|?* and control characters), a device name (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, with or without an extension: "NUL.TXT" is the null
// device), and a name of the form of an 8.3 alias ("VANTOR~1.LST"), which
// could be the short name of the library's own files.
bool IsPortableName(const std::string& name);

// True for a name (as on disk) that the receive directory keeps for its own
// files, so that no file from the terminal may take it: a temporary file
// ("*.tmp"), the file a data file is replaced with ("*.tmp.new"), the lists
// COMMLIST.LST and COMMINFO.INI; letter case ignored. A data file of such a
// name would be taken for a leftover and deleted at the next start, or would
// overwrite or be overwritten by another file of the run.
bool IsReservedRecvName(const std::string& localName);

}  // namespace vantor
