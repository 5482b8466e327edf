// The commit of received data and its recovery: the commit record is written
// durably before the terminal is told its data arrived, and whoever finds it
// (the run itself, or the next run after a crash) completes it.
#include <algorithm>

#include "comm_log.h"
#include "commit_record.h"
#include "recv_files.h"
#include "recv_store.h"
#include "text_codec.h"

namespace vantor {
namespace {

constexpr std::int64_t kMaxRecordSize = 64 << 20;

SysError WriteDurably(CFileSystem& fs, const std::string& path, const std::string& text) {
  SysError err;
  std::unique_ptr<CFile> f = fs.Open(path, OpenMode::Replace, &err);
  if (!f) return err;
  if ((err = f->Write(text.data(), text.size()))) return err;
  return f->Flush();
}

// The record's text, or nullopt when there is none that can be read.
std::optional<std::string> ReadRecordText(CFileSystem& fs, const std::string& path) {
  std::unique_ptr<CFile> f = fs.Open(path, OpenMode::Read);
  std::int64_t size = 0;
  if (!f || f->Size(&size) || size > kMaxRecordSize) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  if (f->Read(text.data(), text.size(), &got)) return std::nullopt;
  text.resize(got);
  return text;
}

std::string ShownNames(const CommitRecord& record) {
  std::string shown;
  for (const CommitEntry& e : record.entries)
    shown += (shown.empty() ? "[" : ", [") + LocalToCp949Lossy(e.DataName()) + "]";
  return shown;
}

// Completes the record in dir; false when there is none.
bool CompleteRecord(CFileSystem& fs, const std::string& dir, std::string* shown) {
  const std::string recordPath = dir + kCommitRecordName;
  if (!fs.Exists(recordPath)) return false;
  std::optional<CommitRecord> record;
  if (std::optional<std::string> text = ReadRecordText(fs, recordPath)) record = ParseCommitRecord(*text);
  if (!record) {
    // Which temporary files were committed is unknown: all of them are kept.
    WriteLog("Commit Record Error [" + LocalToCp949Lossy(recordPath) + "]: unreadable, temporary files kept");
    for (const std::string& name : TmpFiles(fs, dir)) {
      WriteLog("Data kept in " + LocalToCp949Lossy(SetAside(fs, dir, name)));
    }
  } else {
    if (shown != nullptr) *shown = ShownNames(*record);
    std::vector<std::string> done = StoreEntries(fs, dir, *record);
    // A temporary file that could not even be read stays the user's.
    for (const CommitEntry& e : record->entries) {
      if (e.hasTmp && fs.Exists(dir + e.tmpName) && std::find(done.begin(), done.end(), e.tmpName) == done.end()) {
        WriteLog("Data kept in " + LocalToCp949Lossy(SetAside(fs, dir, e.tmpName)));
      }
    }
    // The data files and their names reach the disk before the temporary
    // files, and last the record, are removed.
    fs.FlushDirectory(dir);
    for (const std::string& name : done) {
      if (fs.Exists(dir + name)) fs.Remove(dir + name);
    }
  }
  fs.FlushDirectory(dir);
  fs.Remove(recordPath);
  fs.FlushDirectory(dir);
  return true;
}

}  // namespace

bool CommitRecvFiles(const std::string& recvDir, const std::vector<std::string>& dataNames, bool append,
                     CFileSystem& fs) {
  CommitRecord record;
  record.append = append;
  SysError err;
  std::string failed;
  for (const std::string& name : dataNames) {
    CommitEntry e{name + ".Tmp", false, -1};
    const std::string tmpPath = recvDir + e.tmpName;
    if (fs.Status(tmpPath).kind == FileKind::Regular) {
      e.hasTmp = true;
      std::unique_ptr<CFile> tmp = fs.Open(tmpPath, OpenMode::Append, &err);
      if (tmp) err = tmp->Flush();
      if (err) failed = tmpPath;
    }
    if (append) {
      const FileStatus data = fs.Status(recvDir + name);
      if (data.kind == FileKind::Regular) e.before = data.size;
    }
    if (!failed.empty()) break;
    record.entries.push_back(std::move(e));
  }
  if (record.entries.empty() && failed.empty()) return true;  // nothing was received
  const std::string newPath = recvDir + kCommitRecordNewName;
  const std::string recordPath = recvDir + kCommitRecordName;
  if (failed.empty()) {
    failed = recordPath;
    if (!(err = fs.FlushDirectory(recvDir)) && !(err = WriteDurably(fs, newPath, FormatCommitRecord(record))) &&
        !(err = fs.Rename(newPath, recordPath)) && !(err = fs.FlushDirectory(recvDir))) {
      return true;
    }
  }
  WriteLog("Commit Error [" + LocalToCp949Lossy(failed) + "]: " + err.message);
  fs.Remove(newPath);
  fs.Remove(recordPath);
  return false;
}

bool CompleteCommitRecord(CFileSystem& fs, const std::string& dir) { return CompleteRecord(fs, dir, nullptr); }

void RecoverRecvFiles(const std::string& recvDir, CFileSystem& fs) {
  if (!fs.Exists(recvDir + kCommitRecordName)) return;
  WriteLog("Recovery: storing the data of a run that ended before it was stored");
  std::string shown;
  CompleteRecord(fs, recvDir, &shown);
  WriteLog("Recovery: completed " + (shown.empty() ? std::string("nothing") : shown));
}

void DeleteTmpFiles(const std::string& recvDir, CFileSystem& fs) {
  std::vector<std::string> spared;
  if (std::optional<std::string> text = ReadRecordText(fs, recvDir + kCommitRecordName)) {
    if (std::optional<CommitRecord> record = ParseCommitRecord(*text)) {
      for (const CommitEntry& e : record->entries) spared.push_back(e.tmpName);
    }
  }
  for (const std::string& name : TmpFiles(fs, recvDir)) {
    if (std::find(spared.begin(), spared.end(), name) == spared.end()) fs.Remove(recvDir + name);
  }
  // A record that never reached its place names nothing.
  if (fs.Exists(recvDir + kCommitRecordNewName)) fs.Remove(recvDir + kCommitRecordNewName);
}

}  // namespace vantor
