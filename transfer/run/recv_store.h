#pragma once
// Storing one committed temporary file into its data file (recv_files.cpp),
// the step that the commit and recovery of recv_commit.cpp repeat for each
// entry of a commit record.

#include <string>

#include "commit_record.h"
#include "file_system.h"

namespace vantor {

// What became of one committed temporary file.
enum class FileStored {
  Stored,    // its records are in the data file, flushed; the temporary file may go
  SetAside,  // it can never be stored (the data file's name is taken by a directory or a device):
             // renamed to "<name>.Tmp.unsaved" and logged
  Kept,      // a call failed: the data file is as before this run (its cut back flushed), the
             // temporary file is where it was, and the record must stay for the next start
};

// Stores entry (which has a temporary file) into its data file, trying again
// a few times when a call fails.
FileStored StoreFile(CFileSystem& fs, const std::string& dir, const CommitEntry& entry, bool append);

// Renames a temporary file that can never be stored to "<name>.unsaved"
// (numbered when that exists). Returns the new name, or "" when it could not
// be renamed (or the names in the way could not be checked).
std::string SetAside(CFileSystem& fs, const std::string& dir, const std::string& tmpName);

}  // namespace vantor
