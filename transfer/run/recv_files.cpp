// Storing one committed temporary file: its records go into its data file,
// as its entry in the commit record says (recv_commit.cpp tells the whole
// story).
#include "recv_files.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "comm_log.h"
#include "commit_record.h"
#include "recv_store.h"
#include "text_codec.h"

namespace vantor {
namespace {

// Length of the first line plus CR LF: bytes before the first CR, plus 2; -1
// with the reason in *error when the file could not be read (a failed read
// is no end of file: the data would be cut at the wrong length).
long RecordLength(CFile& in, SysError* error) {
  char buf[65536];
  long count = 0;
  for (;;) {
    std::size_t n = 0;
    if ((*error = in.Read(buf, sizeof buf, &n))) return -1;
    if (n == 0) return count + 2;
    if (const void* cr = std::memchr(buf, '\r', n)) return count + (static_cast<const char*>(cr) - buf) + 2;
    count += static_cast<long>(n);
    if (n < sizeof buf) return count + 2;
  }
}

// Copies the whole records of `in` that do not begin with "*" to `out`, in
// large chunks: the kept records of a chunk are moved together in place and
// written with one call. Returns the number of whole records read, or -1 with
// the reason in *error when reading or writing failed.
long CopyRecords(CFile& in, CFile& out, long recordLength, SysError* error) {
  const std::size_t rec = static_cast<std::size_t>(recordLength);
  // About 1 MB a chunk, but no more than the file needs (plus a record, so
  // that its end is seen in the first read).
  std::int64_t size = 0;
  const std::size_t wanted = !in.Size(&size) && size >= 0 ? static_cast<std::size_t>(size) / rec + 1 : SIZE_MAX;
  const std::size_t chunkRecords = std::max<std::size_t>(1, std::min((1u << 20) / rec, wanted));
  std::vector<char> buf(chunkRecords * rec);
  std::vector<char> tail;
  long records = 0;
  for (;;) {
    std::copy(tail.begin(), tail.end(), buf.begin());
    std::size_t got = 0;
    if ((*error = in.Read(buf.data() + tail.size(), buf.size() - tail.size(), &got))) return -1;
    const std::size_t filled = tail.size() + got;
    const std::size_t whole = filled / rec;
    tail.assign(buf.begin() + static_cast<std::ptrdiff_t>(whole * rec),
                buf.begin() + static_cast<std::ptrdiff_t>(filled));
    std::size_t kept = 0;
    for (std::size_t i = 0, runStart = 0; i <= whole; ++i) {
      if (i < whole && buf[i * rec] != '*') continue;
      const std::size_t runBytes = (i - runStart) * rec;
      if (kept != runStart * rec) std::memmove(buf.data() + kept, buf.data() + runStart * rec, runBytes);
      kept += runBytes;
      runStart = i + 1;
    }
    if ((*error = out.Write(buf.data(), kept))) return -1;
    records += static_cast<long>(whole);
    if (filled < buf.size()) return records;  // end of file; a final piece shorter than a record is dropped
  }
}

// Where the records go: the data file itself (append mode, cut back to its
// length before the run) or a file beside it that replaces it at the end.
class DataTarget {
 public:
  DataTarget(CFileSystem& fs, std::string dataPath, const CommitEntry& entry, bool append)
      : m_fs(fs), m_dataPath(std::move(dataPath)), m_entry(entry), m_append(append) {}

  SysError Open() {
    SysError err;
    // The data file is opened in either mode, so that a directory in its way
    // or a refused permission is found before anything is written.
    m_file = m_fs.Open(m_dataPath, OpenMode::Append, &err);
    if (!m_file) return err;
    if (m_append) {
      std::int64_t size = 0;
      if ((err = m_file->Size(&size))) return err;
      // Done once already and cut short: take back this run's records.
      const std::int64_t before = std::max<std::int64_t>(m_entry.before, 0);
      m_keep = std::min(size, before);
      if (size > before) err = m_file->Truncate(before);
      return err;
    }
    m_file = m_fs.Open(m_dataPath + ".Tmp.new", OpenMode::Replace, &err);
    return err;
  }
  CFile& File() { return *m_file; }
  SysError Finish() {
    if (SysError err = m_file->Flush()) return err;
    m_file.reset();
    if (m_append) return {};
    return m_fs.Rename(m_dataPath + ".Tmp.new", m_dataPath);
  }
  // Takes back what this run wrote. In append mode the cut back is flushed:
  // a data file that still held the records after a power cut, while the log
  // says they were not stored, would get them twice when they are stored
  // again. An error when that could not be made sure of.
  SysError Abandon() {
    SysError err;
    // When the data file's length was never learnt, nothing was written to it.
    std::int64_t size = 0;
    if (m_append && m_file && m_keep >= 0 && (m_file->Size(&size) || size != m_keep)) {
      if (!(err = m_file->Truncate(m_keep))) err = m_file->Flush();
    }
    m_file.reset();
    // A replacement left behind is rewritten by the next try and removed by
    // the next start's cleanup.
    if (!m_append) m_fs.Remove(m_dataPath + ".Tmp.new");
    return err;
  }

 private:
  CFileSystem& m_fs;
  std::string m_dataPath;
  CommitEntry m_entry;
  bool m_append;
  std::unique_ptr<CFile> m_file;
  std::int64_t m_keep = -1;  // append mode: the length to cut back to; -1 until known
};

// Why one try to store a file failed.
struct StoreError {
  const char* what = nullptr;  // "File Open Error" or "File Write Error"; nullptr: stored
  std::string path;
  SysError err;
  bool cutBackUnsure = false;  // append mode: the data file may still hold some of the records
};

// One try: the records of the temporary file into the data file.
StoreError StoreOnce(CFileSystem& fs, const std::string& dir, const CommitEntry& entry, bool append) {
  const std::string tmpPath = dir + entry.tmpName;
  const std::string dataPath = dir + entry.DataName();
  StoreError failed;
  std::unique_ptr<CFile> in = fs.Open(tmpPath, OpenMode::Read, &failed.err);
  if (!in) return {"File Open Error", tmpPath, failed.err, false};
  DataTarget out(fs, dataPath, entry, append);
  if (SysError err = out.Open()) {
    const bool unsure = static_cast<bool>(out.Abandon());
    return {"File Open Error", dataPath, err, unsure};
  }
  SysError err;
  const long recordLength = RecordLength(*in, &err);
  long records = -1;
  if (recordLength >= 0) {
    WriteLog("File name = [" + LocalToCp949Lossy(entry.tmpName) + "], Record Length = [" +
             std::to_string(recordLength) + "]");
    if (!(err = in->Seek(0))) records = CopyRecords(*in, out.File(), recordLength, &err);
  }
  if (records >= 0) err = out.Finish();
  if (records < 0 || err) {
    const bool unsure = static_cast<bool>(out.Abandon());
    return {"File Write Error", dataPath, err, unsure};
  }
  WriteLog("FileName = [" + LocalToCp949Lossy(dataPath) + "], Num of Delete = [" + std::to_string(records) + "]");
  return {};
}

// Tries within one run: a call that failed once (a file held for a moment, a
// flaky stick) often goes through the next time.
constexpr int kStoreTries = 3;

}  // namespace

FileStored StoreFile(CFileSystem& fs, const std::string& dir, const CommitEntry& entry, bool append) {
  StoreError failed;
  for (int i = 0; i < kStoreTries; ++i) {
    failed = StoreOnce(fs, dir, entry, append);
    if (failed.what == nullptr) return FileStored::Stored;
  }
  const std::string where = std::string("[") + LocalToCp949Lossy(failed.path) + "]: " + failed.err.message;
  // Only a name taken by something that is not a file is a lasting reason:
  // a full disk, a refused permission or an I/O error may be gone at the next
  // start, which tries again.
  const FileKind in = fs.Status(dir + entry.DataName()).kind;
  if (!failed.cutBackUnsure && (in == FileKind::Directory || in == FileKind::Other)) {
    const std::string kept = SetAside(fs, dir, entry.tmpName);
    if (!kept.empty()) {
      WriteLog(std::string(failed.what) + " " + where + ", data kept in " + LocalToCp949Lossy(kept));
      return FileStored::SetAside;
    }
  }
  WriteLog(std::string(failed.what) + " " + where + ", data kept in " + LocalToCp949Lossy(entry.tmpName) +
           " and stored at the next start");
  return FileStored::Kept;
}

std::string SetAside(CFileSystem& fs, const std::string& dir, const std::string& tmpName) {
  std::string name = tmpName + ".unsaved";
  for (int i = 1;; ++i) {
    const FileKind there = fs.Exists(dir + name).kind;
    if (there == FileKind::None) break;
    // A name that cannot be checked could be an earlier run's data.
    if (there == FileKind::Unknown || i > 1000) return "";
    name = tmpName + ".unsaved." + std::to_string(i);
  }
  const SysError failed = fs.Rename(dir + tmpName, dir + name);
  return failed ? "" : name;
}

bool IsTmpName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".tmp";
}

}  // namespace vantor
