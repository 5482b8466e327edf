#pragma once
// Received-file processing. While data comes in, each file's data is appended
// to "<name>.Tmp" in the receive directory; only a successful receive turns
// those temporary files into data files: the data is cut into records of the
// first line's length (bytes before the first CR, plus 2), records whose first
// byte is "*" are dropped, and the rest is appended to the data file. Any other
// end of a run deletes the temporary files, so no partial data reaches a data
// file.
//
// recvDir is in the locale's encoding and ends in the separator.

#include <string>

#include "file_system.h"

namespace vantor {

void ParseRecvFiles(const std::string& recvDir, CFileSystem& fs = SystemFileSystem());
void DeleteTmpFiles(const std::string& recvDir, CFileSystem& fs = SystemFileSystem());

// True for a name ending in ".tmp", letter case ignored.
bool IsTmpName(const std::string& name);

}  // namespace vantor
