// Received data from the end frame to the data files.
//
// Principles of operation. The terminal erases its data once it has the PC's
// first end answer, so that answer is a promise: from then on the data must
// reach its data files exactly once, whatever happens to the PC. Before it,
// nothing may reach them that a later run would store again (the terminal,
// which heard no answer, sends the data again).
//
// 1. Commit (CommitRecvFiles, right before the first end answer): the run's
//    temporary files are flushed, their names made durable, and the commit
//    record (commit_record.h) is written as "<record>.new" and flushed, its
//    name made durable. From that instant the commit holds: a complete
//    "<record>.new" counts as the record, so the rename to the record's own
//    name that follows need not be durable (Windows cannot promise that for a
//    rename). A commit that fails removes the ".new", or empties it when it
//    cannot be removed; an empty record commits nothing.
// 2. Storing (StoreFile for each entry): each temporary file's records go into
//    its data file, flushed (replace mode: written beside it and renamed over
//    it; append mode: cut back first to the length the record gives). Doing
//    it again gives the same result, so storing can be cut at any instant.
// 3. Completion: once every data file and its name are durable, the temporary
//    files and then the record are removed.
// 4. Recovery (RecoverRecvFiles, at the start of every run) does steps 2 and 3
//    for a record a run left behind.
//
// A call that fails is an error, never a "no": when the code cannot know
// (a status check, a listing or a read that failed), it keeps the record and
// the data, says so in the log, and the next start finishes the job; a new
// run commits nothing while a record waits, so no new data is ever merged into
// a leftover. Data is set aside ("<name>.Tmp.unsaved") only when it can never
// be stored: its data file's name is taken by a directory or a device, or the
// record itself is damaged. Nothing that holds the only copy of acknowledged
// data is ever deleted.
#include <algorithm>

#include "comm_log.h"
#include "commit_record.h"
#include "korean_texts.h"
#include "recv_files.h"
#include "recv_store.h"
#include "text_codec.h"

namespace vantor {
namespace {

constexpr int kRemoveTries = 3;

std::string Shown(const std::string& path) {
  std::string shown = "[";
  shown += LocalToCp949Lossy(path);
  shown += "]";
  return shown;
}

// Makes the names of dir durable where only a directory flush does that.
SysError SyncNames(CFileSystem& fs, const std::string& dir) {
  if (fs.NamesFollowFileFlushes()) return {};
  return fs.FlushDirectory(dir);
}

SysError WriteDurably(CFileSystem& fs, const std::string& path, const std::string& text) {
  SysError err;
  std::unique_ptr<CFile> f = fs.Open(path, OpenMode::Replace, &err);
  if (!f) return err;
  if ((err = f->Write(text.data(), text.size()))) return err;
  return f->Flush();
}

// Removes path (trying again a few times); true when it is gone.
bool RemoveFile(CFileSystem& fs, const std::string& path) {
  for (int i = 0; i < kRemoveTries; ++i) {
    const SysError err = fs.Remove(path);
    if (!err) return true;
    const FileKind there = fs.Exists(path).kind;
    if (there == FileKind::None) return true;
  }
  return false;
}

// Takes back a commit that failed: nothing of it may be stored later.
void VoidCommit(CFileSystem& fs, const std::string& dir) {
  for (const char* name : {kCommitRecordNewName, kCommitRecordName}) {
    const std::string path = dir + name;
    if (fs.Exists(path).kind == FileKind::None || RemoveFile(fs, path)) continue;
    // An empty record commits nothing.
    SysError err;
    std::unique_ptr<CFile> f = fs.Open(path, OpenMode::Replace, &err);
    if (f && !(err = f->Flush())) continue;
    WriteLog("Commit Error " + Shown(path) + ": cannot be removed (" + err.message +
             "); the next start stores what it names");
  }
}

// The names of the regular files ending in ".tmp" (any case) in dir; false
// when the listing, or a status check in it, failed.
bool TmpFiles(CFileSystem& fs, const std::string& dir, std::vector<std::string>* names) {
  std::vector<std::string> all;
  names->clear();
  if (SysError err = fs.ListDirectory(dir, &all)) {
    WriteLog("Directory List Error " + Shown(dir) + ": " + err.message);
    return false;
  }
  for (const std::string& name : all) {
    if (!IsTmpName(name)) continue;
    const FileKind kind = fs.Status(dir + name).kind;
    if (kind == FileKind::Unknown) return false;
    if (kind == FileKind::Regular) names->push_back(name);
  }
  return true;
}

// A damaged record: which temporary files were committed is unknown, so all
// of them are kept aside. Kept when any of it could not be done.
StoreResult SetAsideAll(CFileSystem& fs, const std::string& dir, const FoundRecord& found) {
  WriteLog("Commit Record Error " + Shown(found.path) + ": unreadable, temporary files kept");
  std::vector<std::string> tmps;
  if (!TmpFiles(fs, dir, &tmps)) return StoreResult::Kept;
  for (const std::string& name : tmps) {
    const std::string kept = SetAside(fs, dir, name);
    if (kept.empty()) return StoreResult::Kept;
    WriteLog("Data kept in " + LocalToCp949Lossy(kept));
  }
  const SysError synced = SyncNames(fs, dir);
  const bool removed = !synced && RemoveFile(fs, found.path);
  return removed ? StoreResult::SetAside : StoreResult::Kept;
}

// Step 2 for every entry; false when any of them must wait for the next start.
bool StoreEntries(CFileSystem& fs, const std::string& dir, const CommitRecord& record, bool* setAside,
                  std::vector<std::string>* done) {
  bool all = true;
  for (const CommitEntry& entry : record.entries) {
    const std::string dataPath = dir + entry.DataName();
    if (!entry.hasTmp) {
      // The terminal sent the file without data: in replace mode it replaces
      // the data file with nothing, as it always has.
      if (record.append) continue;
      const FileKind kind = fs.Status(dataPath).kind;
      if (kind == FileKind::Unknown || (kind == FileKind::Regular && !RemoveFile(fs, dataPath))) all = false;
      continue;
    }
    // A temporary file that is gone was stored before the run was cut short.
    const FileKind there = fs.Exists(dir + entry.tmpName).kind;
    if (there == FileKind::None) continue;
    if (there == FileKind::Unknown) {
      all = false;
      continue;
    }
    if (entry.DataName().empty()) {  // ".Tmp": no data file can be named after it
      WriteLog("File name = [" + LocalToCp949Lossy(entry.tmpName) + "], skipped: no data file name");
      done->push_back(entry.tmpName);
      continue;
    }
    switch (StoreFile(fs, dir, entry, record.append)) {
      case FileStored::Stored: done->push_back(entry.tmpName); break;
      case FileStored::SetAside: *setAside = true; break;
      case FileStored::Kept: all = false; break;
    }
  }
  return all;
}

// Steps 2 and 3 for the record in dir.
StoreResult CompleteRecord(CFileSystem& fs, const std::string& dir, std::string* shown) {
  const FoundRecord found = ReadCommitRecord(fs, dir);
  switch (found.kind) {
    case FoundRecord::None: return StoreResult::NothingCommitted;
    case FoundRecord::Unreadable:
      WriteLog("Commit Record Error " + Shown(found.path) + ": " + found.err.message + ", kept for the next start");
      return StoreResult::Kept;
    case FoundRecord::Damaged: return SetAsideAll(fs, dir, found);
    case FoundRecord::Found: break;
  }
  if (shown != nullptr) {
    for (const CommitEntry& e : found.record.entries)
      *shown += (shown->empty() ? "[" : ", [") + LocalToCp949Lossy(e.DataName()) + "]";
  }
  bool setAside = false;
  std::vector<std::string> done;
  const bool all = StoreEntries(fs, dir, found.record, &setAside, &done);
  // The data files and their names reach the disk before anything that the
  // record protects is removed.
  const SysError synced = all ? SyncNames(fs, dir) : SysError{};
  if (!all || synced) {
    if (synced) WriteLog("Directory Flush Error " + Shown(dir) + ": " + synced.message);
    WriteLog("Commit Record " + Shown(found.path) + ": kept; the data not yet stored is stored at the next start");
    return StoreResult::Kept;
  }
  // A stored temporary file that stays is a leftover the next start removes.
  for (const std::string& name : done) RemoveFile(fs, dir + name);
  if (!RemoveFile(fs, found.path)) {
    WriteLog("Commit Record " + Shown(found.path) + ": cannot be removed; stored again (the same) at the next start");
    return StoreResult::Kept;
  }
  if (found.path != dir + kCommitRecordNewName) RemoveFile(fs, dir + kCommitRecordNewName);
  SyncNames(fs, dir);  // tidying only: a record that comes back is stored again with the same result
  return setAside ? StoreResult::SetAside : StoreResult::Stored;
}

// Step 1. False when the commit did not hold; then nothing of it is left.
bool Commit(CFileSystem& fs, const std::string& dir, CommitRecord record) {
  const std::string newPath = dir + kCommitRecordNewName;
  const std::string recordPath = dir + kCommitRecordName;
  SysError err;
  const FoundRecord earlier = ReadCommitRecord(fs, dir);
  if (earlier.kind != FoundRecord::None) {
    // Its data waits for the next start: a new record would hide it.
    WriteLog("Commit Error " + Shown(earlier.path) + ": data of an earlier run is not stored yet");
    return false;
  }
  auto fail = [&](const std::string& path, const SysError& why) {
    WriteLog("Commit Error " + Shown(path) + ": " + why.message);
    VoidCommit(fs, dir);
    return false;
  };
  for (CommitEntry& e : record.entries) {
    const std::string tmpPath = dir + e.tmpName;
    const FileStatus tmp = fs.Status(tmpPath);
    if (tmp.kind == FileKind::Regular) {
      e.hasTmp = true;
      std::unique_ptr<CFile> f = fs.Open(tmpPath, OpenMode::Append, &err);
      if (f) err = f->Flush();
    } else if (tmp.kind == FileKind::Unknown) {
      err = tmp.error;  // it may hold data: "no data" would lose it
    }
    if (!err && record.append) {
      const FileStatus data = fs.Status(dir + e.DataName());
      if (data.kind == FileKind::Regular) e.before = data.size;
      if (data.kind == FileKind::Unknown) err = data.error;
    }
    if (err) {
      return fail(tmp.kind == FileKind::Regular || tmp.kind == FileKind::Unknown ? tmpPath : dir + e.DataName(), err);
    }
  }
  // In append mode a file announced without data changes nothing.
  record.entries.erase(std::remove_if(record.entries.begin(), record.entries.end(),
                                      [&](const CommitEntry& e) { return !e.hasTmp && record.append; }),
                       record.entries.end());
  if (record.entries.empty()) return true;
  // The durability order, one step at a time: the temporary files' names,
  // then the record beside its place, whole and flushed, then its name. From
  // there on the commit holds.
  if ((err = SyncNames(fs, dir))) return fail(dir, err);
  if ((err = WriteDurably(fs, newPath, FormatCommitRecord(record)))) return fail(newPath, err);
  if ((err = SyncNames(fs, dir))) return fail(newPath, err);
  // The record under its own name: tidying, as the whole ".new" counts as the
  // record wherever this rename does not reach the disk.
  const SysError renamed = fs.Rename(newPath, recordPath);
  if (!renamed) SyncNames(fs, dir);
  return true;
}

// No run committed: every temporary file's records are appended to its data
// file, through a record as a run's are. A data file's length is taken just
// before its own temporary files are committed: two temporary files of one
// data file ("A.Tmp" and "A.tmp") go in two records, so that neither cuts
// back the other's records.
StoreResult StoreUncommitted(CFileSystem& fs, const std::string& dir) {
  std::vector<std::string> tmps;
  TmpFiles(fs, dir, &tmps);
  StoreResult result = StoreResult::NothingCommitted;
  while (!tmps.empty()) {
    CommitRecord batch;
    batch.append = true;
    std::vector<std::string> later;
    for (const std::string& name : tmps) {
      const CommitEntry e{name, false, -1};
      const bool sameData = std::any_of(batch.entries.begin(), batch.entries.end(),
                                        [&](const CommitEntry& b) { return b.DataName() == e.DataName(); });
      if (sameData) {
        later.push_back(name);
      } else {
        batch.entries.push_back(e);
      }
    }
    if (!Commit(fs, dir, std::move(batch))) return StoreResult::Kept;
    const StoreResult r = CompleteRecord(fs, dir, nullptr);
    if (r == StoreResult::Kept) return r;
    if (r == StoreResult::SetAside || result == StoreResult::NothingCommitted) result = r;
    tmps = std::move(later);
  }
  return result;
}

}  // namespace

bool CommitRecvFiles(const std::string& recvDir, const std::vector<std::string>& dataNames, bool append,
                     CFileSystem& fs) {
  if (dataNames.empty()) return true;  // nothing was received (a send run)
  CommitRecord record;
  record.append = append;
  for (const std::string& name : dataNames) record.entries.push_back({name + ".Tmp", false, -1});
  return Commit(fs, recvDir, std::move(record));
}

StoreResult ParseRecvFiles(const std::string& recvDir, CFileSystem& fs) {
  WriteLog(Texts().parseStart);
  StoreResult result = CompleteRecord(fs, recvDir, nullptr);
  if (result == StoreResult::NothingCommitted) result = StoreUncommitted(fs, recvDir);
  WriteLog(Texts().parseEnd);
  return result;
}

StoreResult RecoverRecvFiles(const std::string& recvDir, CFileSystem& fs) {
  const FoundRecord found = ReadCommitRecord(fs, recvDir);
  if (found.kind == FoundRecord::None) return StoreResult::NothingCommitted;
  WriteLog("Recovery: storing the data of a run that ended before it was stored");
  std::string shown;
  const StoreResult result = CompleteRecord(fs, recvDir, &shown);
  if (result == StoreResult::Kept) {
    WriteLog("Recovery: not completed " + (shown.empty() ? std::string("[record]") : shown) +
             ", the data is kept and no new data is received until it is stored");
  } else {
    WriteLog("Recovery: completed " + (shown.empty() ? std::string("nothing") : shown));
  }
  return result;
}

void DeleteTmpFiles(const std::string& recvDir, CFileSystem& fs) {
  const FoundRecord found = ReadCommitRecord(fs, recvDir);
  if (found.kind == FoundRecord::Unreadable || found.kind == FoundRecord::Damaged) {
    // Which temporary files hold promised data cannot be known: none is removed.
    return;
  }
  std::vector<std::string> spared;
  for (const CommitEntry& e : found.record.entries) spared.push_back(e.tmpName);
  std::vector<std::string> all;
  if (SysError err = fs.ListDirectory(recvDir, &all)) {
    WriteLog("Directory List Error " + Shown(recvDir) + ": " + err.message);
    return;
  }
  for (const std::string& name : all) {
    // "<name>.Tmp.new" is a replacement that storing left behind.
    const bool replacement = name.size() > 4 && name.ends_with(".new") && IsTmpName(name.substr(0, name.size() - 4));
    if (!IsTmpName(name) && !replacement) continue;
    if (std::find(spared.begin(), spared.end(), name) != spared.end()) continue;
    if (fs.Status(recvDir + name).kind != FileKind::Regular) continue;
    if (!RemoveFile(fs, recvDir + name)) {
      WriteLog("Leftover File " + Shown(recvDir + name) + ": cannot be removed; no data is received into it");
    }
  }
  // A record that never became whole names nothing.
  if (found.kind == FoundRecord::None && fs.Exists(recvDir + kCommitRecordNewName).kind != FileKind::None) {
    fs.Remove(recvDir + kCommitRecordNewName);
  }
  if (found.kind == FoundRecord::None && fs.Exists(recvDir + kCommitRecordName).kind != FileKind::None) {
    fs.Remove(recvDir + kCommitRecordName);  // empty: a commit taken back
  }
}

}  // namespace vantor
