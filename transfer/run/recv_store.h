#pragma once
// What storing received data and its commit share (recv_files.cpp and
// recv_commit.cpp); not for use elsewhere.

#include <string>
#include <vector>

#include "commit_record.h"
#include "file_system.h"

namespace vantor {

// The names of the regular files ending in ".tmp" (any case) in dir.
std::vector<std::string> TmpFiles(CFileSystem& fs, const std::string& dir);

// Stores every entry of the record whose temporary file is still there, and
// returns the temporary files it is done with (stored or set aside), which the
// caller removes once the data files are on the disk.
std::vector<std::string> StoreEntries(CFileSystem& fs, const std::string& dir, const CommitRecord& record);

// Completes the commit record in dir: stores its entries, removes the
// temporary files and then the record. False when there is no record.
bool CompleteCommitRecord(CFileSystem& fs, const std::string& dir);

// Renames a temporary file whose data cannot be stored to "<name>.unsaved"
// (numbered when that exists) and returns the new name; the old name when even
// that failed.
std::string SetAside(CFileSystem& fs, const std::string& dir, const std::string& tmpName);

}  // namespace vantor
