// Storing received data: the records of each temporary file go into its data
// file, as the commit record says.
#include "recv_files.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "comm_log.h"
#include "commit_record.h"
#include "korean_texts.h"
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

void LogKept(const char* what, const std::string& path, const SysError& err, const std::string& kept) {
  WriteLog(std::string(what) + " [" + LocalToCp949Lossy(path) + "]: " + err.message + ", data kept in " +
           LocalToCp949Lossy(kept));
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
      if (size > before) err = m_file->Truncate(before);
      m_keep = std::min(size, before);
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
  void Abandon() {
    // Only what this run wrote is taken back: when the data file's length was
    // never learnt, nothing was written to it either.
    if (m_append && m_file && m_keep >= 0) m_file->Truncate(m_keep);
    m_file.reset();
    if (!m_append) m_fs.Remove(m_dataPath + ".Tmp.new");
  }

 private:
  CFileSystem& m_fs;
  std::string m_dataPath;
  CommitEntry m_entry;
  bool m_append;
  std::unique_ptr<CFile> m_file;
  std::int64_t m_keep = -1;  // append mode: the length to cut back to; -1 until known
};

// Stores one entry. Returns true when its temporary file is done with (stored,
// or set aside), false when it stays where it is (even setting it aside
// failed), so that nobody removes it.
bool StoreOne(CFileSystem& fs, const std::string& dir, const CommitEntry& entry, bool append) {
  const std::string& tmpName = entry.tmpName;
  const std::string tmpPath = dir + tmpName;
  const std::string dataPath = dir + entry.DataName();
  SysError err;
  std::unique_ptr<CFile> in = fs.Open(tmpPath, OpenMode::Read, &err);
  if (!in) {
    WriteLog("File Open Error [" + LocalToCp949Lossy(tmpPath) + "]: " + err.message);
    return false;
  }
  DataTarget out(fs, dataPath, entry, append);
  if ((err = out.Open())) {
    out.Abandon();
    in.reset();
    const std::string kept = SetAside(fs, dir, tmpName);
    LogKept("File Open Error", dataPath, err, kept);
    return kept != tmpName;
  }
  const long recordLength = RecordLength(*in, &err);
  long records = -1;
  if (recordLength >= 0) {
    WriteLog("File name = [" + LocalToCp949Lossy(tmpName) + "], Record Length = [" + std::to_string(recordLength) +
             "]");
    if (!(err = in->Seek(0))) records = CopyRecords(*in, out.File(), recordLength, &err);
  }
  if (records >= 0) err = out.Finish();
  if (records < 0 || err) {
    // Disk full or similar: take back what was written and keep the data.
    out.Abandon();
    in.reset();
    const std::string kept = SetAside(fs, dir, tmpName);
    LogKept("File Write Error", dataPath, err, kept);
    return kept != tmpName;
  }
  WriteLog("FileName = [" + LocalToCp949Lossy(dataPath) + "], Num of Delete = [" + std::to_string(records) + "]");
  return true;
}

}  // namespace

std::string SetAside(CFileSystem& fs, const std::string& dir, const std::string& tmpName) {
  std::string name = tmpName + ".unsaved";
  for (int i = 1; fs.Exists(dir + name); ++i) name = tmpName + ".unsaved." + std::to_string(i);
  if (fs.Rename(dir + tmpName, dir + name)) return tmpName;
  return name;
}

std::vector<std::string> StoreEntries(CFileSystem& fs, const std::string& dir, const CommitRecord& record) {
  std::vector<std::string> done;
  for (const CommitEntry& entry : record.entries) {
    const std::string dataPath = dir + entry.DataName();
    if (!entry.hasTmp) {
      // The terminal sent the file without data: in replace mode it replaces
      // the data file with nothing, as it always has.
      if (!record.append && fs.Status(dataPath).kind == FileKind::Regular) fs.Remove(dataPath);
      continue;
    }
    // A temporary file that is gone was stored before the run was cut short.
    if (!fs.Exists(dir + entry.tmpName)) continue;
    if (entry.DataName().empty()) {  // ".Tmp": no data file can be named after it
      WriteLog("File name = [" + LocalToCp949Lossy(entry.tmpName) + "], skipped: no data file name");
      done.push_back(entry.tmpName);
      continue;
    }
    if (StoreOne(fs, dir, entry, record.append)) done.push_back(entry.tmpName);
  }
  return done;
}

bool IsTmpName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".tmp";
}

std::vector<std::string> TmpFiles(CFileSystem& fs, const std::string& dir) {
  std::vector<std::string> all;
  std::vector<std::string> names;
  if (fs.ListDirectory(dir, &all)) return names;
  for (const std::string& name : all) {
    if (IsTmpName(name) && fs.Status(dir + name).kind == FileKind::Regular) names.push_back(name);
  }
  return names;
}

void ParseRecvFiles(const std::string& recvDir, CFileSystem& fs) {
  WriteLog(Texts().parseStart);
  if (!CompleteCommitRecord(fs, recvDir)) {
    // Nothing was committed: every temporary file's records are appended to
    // its data file. Each data file's length is taken just before its own
    // temporary file is stored: two temporary files of one data file ("A.Tmp"
    // and "A.tmp") must not cut back each other's records.
    for (const std::string& name : TmpFiles(fs, recvDir)) {
      CommitRecord one;
      one.append = true;
      const FileStatus st = fs.Status(recvDir + name.substr(0, name.size() - 4));
      one.entries.push_back({name, true, st.kind == FileKind::Regular ? st.size : -1});
      for (const std::string& done : StoreEntries(fs, recvDir, one)) fs.Remove(recvDir + done);
    }
  }
  WriteLog(Texts().parseEnd);
}

}  // namespace vantor
