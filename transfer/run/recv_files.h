#pragma once
// Received-file processing. While data comes in, each file's data is appended
// to "<name>.Tmp" in the receive directory. Just before the PC gives the
// terminal its first end answer, CommitRecvFiles makes the temporary files
// durable and writes the commit record (commit_record.h); from then on the
// data is the PC's to keep. Storing turns each temporary file into its data
// file: the data is cut into records of the first line's length (bytes before
// the first CR, plus 2), records whose first byte is "*" are dropped, and the
// rest replaces the data file (written beside it and renamed over it) or is
// appended to it (after cutting it back to its length before the run). Storing
// can be cut at any instant and redone with the same result; a run that ends
// otherwise deletes the temporary files, so no partial data reaches a data file.
// recv_commit.cpp tells how the steps keep that promise when calls fail.
//
// recvDir is in the locale's encoding and ends in the separator.

#include <string>
#include <vector>

#include "file_system.h"

namespace vantor {

// Flushes the temporary files of the data files named (plain names in
// recvDir) and writes the commit record, flushed and renamed into place, with
// the directory flushed. False when a step failed: then nothing is committed
// and no record is left.
bool CommitRecvFiles(const std::string& recvDir, const std::vector<std::string>& dataNames, bool append,
                     CFileSystem& fs = SystemFileSystem());

// What became of committed data.
enum class StoreResult {
  NothingCommitted,  // no record: nothing waited to be stored
  Stored,            // every committed record is in its data file, and the record is gone
  SetAside,          // as Stored, except data that can never be stored, which lies in
                     // "<name>.Tmp.unsaved" (the log says which and why)
  Kept,              // a call failed: the record and the data not yet stored stay where they
                     // are, and the next start stores them (the log says why)
};

// Stores the received data between the log's "Parsing Start!" and "Parsing
// End!": completes the commit record when there is one; without one, appends
// the records of every temporary file in the directory to its data file.
StoreResult ParseRecvFiles(const std::string& recvDir, CFileSystem& fs = SystemFileSystem());

// At the start of a run: completes the commit record that a run cut short
// (a crash, a power cut, a call that failed) left, and logs which files it
// completed. While a record stays (Kept), no new run can commit: the data
// waits, never overwritten or merged with new data.
StoreResult RecoverRecvFiles(const std::string& recvDir, CFileSystem& fs = SystemFileSystem());

// Deletes the temporary files of a run that did not succeed, or that a run cut
// short left behind, sparing those a commit record names (all of them when a
// record cannot be read). A file that cannot be deleted is logged; the SOH
// step refuses to receive into it.
void DeleteTmpFiles(const std::string& recvDir, CFileSystem& fs = SystemFileSystem());

// True for a name ending in ".tmp", letter case ignored.
bool IsTmpName(const std::string& name);

}  // namespace vantor
