#pragma once
// Turning a file name from the terminal (code page 949) into a path on disk.

#include <optional>
#include <string>

namespace vantor {

// dir + the name in the locale's encoding, when the name is plain (not empty,
// not "." or "..", no "/", "\" or ":") and converts exactly; else nullopt, so
// that nothing is ever read or written outside the directory.
std::optional<std::string> PathInDir(const std::string& dir, const std::string& cp949Name);

// True for a name (as on disk) that the receive directory keeps for its own
// files, so that no file from the terminal may take it: a temporary file
// ("*.tmp"), the file a data file is replaced with ("*.tmp.new"), the lists
// COMMLIST.LST and COMMINFO.INI; letter case ignored. A data file of such a
// name would be taken for a leftover and deleted at the next start, or would
// overwrite or be overwritten by another file of the run.
bool IsReservedRecvName(const std::string& localName);

}  // namespace vantor
