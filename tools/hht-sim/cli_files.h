#pragma once
// The simulator's local files: the folder it sends, the folder it fetches into.

#include <string>
#include <vector>

#include "terminal.h"

namespace hht {

// Reads every regular file of dir, sorted by name. Returns an error text.
std::string ReadFolder(const std::string& dir, std::vector<FileData>& files);

// Writes the fetched files into dir (created if missing), each through a
// temporary file that is renamed into place, so that a failed write leaves no
// half file under the real name. Returns an error text.
std::string WriteFetched(const std::string& dir, const std::vector<FileData>& files);

}  // namespace hht
