#pragma once
// The commit record of a receive run: a small file in the receive directory,
// written as "<name>.new" (flushed, its name made durable) and then renamed
// into place just before the PC gives the terminal its first end answer, after
// which the terminal erases its data. A whole ".new" counts as the record. It names every data file the run received,
// whether its temporary file
// ("<name>.Tmp") holds data, the mode, and in append mode the data file's length
// before this run, so that storing the data can be cut at any instant and
// redone with the same result.
//
// The record's names are longer than the terminal's 30-byte name field, so no
// file the terminal sends can ever be taken for it. Its text:
//
//   VANTOR2-COMMIT 1
//   MODE APPEND            (or REPLACE)
//   FILES 2
//   1 1234 9:A.TXT.Tmp     has data, length before (-1: none), temporary file
//   0 -1 9:B.TXT.Tmp       (the length prefix keeps any byte of a name intact)
//   END

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"

namespace vantor {

inline constexpr const char* kCommitRecordName = "VANTOR2-RECEIVE-COMMIT-RECORD.LST";
inline constexpr const char* kCommitRecordNewName = "VANTOR2-RECEIVE-COMMIT-RECORD.LST.new";

struct CommitEntry {
  std::string tmpName;       // a plain name in the receive directory, ending in ".tmp" (any case)
  bool hasTmp = false;       // the temporary file held received data at the commit
  std::int64_t before = -1;  // append mode: the data file's length before the run; -1 when it did not exist
  // The data file: the temporary file's name without its ".Tmp".
  std::string DataName() const { return tmpName.substr(0, tmpName.size() - 4); }
  bool operator==(const CommitEntry&) const = default;
};

struct CommitRecord {
  bool append = false;
  std::vector<CommitEntry> entries;
  bool operator==(const CommitRecord&) const = default;
};

std::string FormatCommitRecord(const CommitRecord& record);
// nullopt for anything that is not a whole, well-formed record with plain
// names, so that a damaged record can never name a file outside the directory.
std::optional<CommitRecord> ParseCommitRecord(std::string_view text);

// A commit record as found in a receive directory.
struct FoundRecord {
  enum Kind {
    None,        // none: nothing is committed (an empty record is a commit taken back)
    Found,       // a whole record
    Unreadable,  // a call failed: what it says cannot be known now
    Damaged,     // read, but not a record: which files it named cannot be known ever
  } kind = None;
  std::string path;  // the record, or its ".new" when only that one is whole
  CommitRecord record;
  SysError err;
};

// The record of dir (ending in the separator): under its own name first; a
// whole ".new" when there is none (a commit whose rename did not reach the
// disk). A ".new" that is not whole never held, and counts as none.
FoundRecord ReadCommitRecord(CFileSystem& fs, const std::string& dir);

}  // namespace vantor
