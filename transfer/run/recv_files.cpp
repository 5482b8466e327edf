#include "recv_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "comm_log.h"
#include "korean_texts.h"
#include "text_codec.h"

namespace vantor {
namespace {

std::vector<std::string> TmpFiles(CFileSystem& fs, const std::string& dir) {
  std::vector<std::string> all;
  std::vector<std::string> names;
  if (fs.ListDirectory(dir, &all)) return names;
  for (const std::string& name : all) {
    if (IsTmpName(name) && fs.Status(dir + name).kind == FileKind::Regular) names.push_back(name);
  }
  return names;
}

// Length of the first line plus CR LF: bytes before the first CR, plus 2.
long RecordLength(CFile& in) {
  char buf[65536];
  long count = 0;
  for (;;) {
    std::size_t n = 0;
    if (in.Read(buf, sizeof buf, &n) || n == 0) return count + 2;
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
  const std::size_t chunkRecords = std::max<std::size_t>(1, (1u << 20) / rec);
  std::vector<char> buf(chunkRecords * rec);
  std::vector<char> tail;
  long records = 0;
  for (;;) {
    std::copy(tail.begin(), tail.end(), buf.begin());
    std::size_t got = 0;
    // A temporary file that cannot be read is kept.
    if ((*error = in.Read(buf.data() + tail.size(), buf.size() - tail.size(), &got))) return -1;
    const std::size_t filled = tail.size() + got;
    const std::size_t whole = filled / rec;
    tail.assign(buf.begin() + static_cast<std::ptrdiff_t>(whole * rec), buf.begin() + static_cast<std::ptrdiff_t>(filled));
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

// Sets aside a temporary file whose data could not be stored: renamed to
// "<name>.Tmp.unsaved" (with a number when that exists), it is neither merged
// by a later run nor deleted when the next run starts. Returns the new name.
std::string SetAside(CFileSystem& fs, const std::string& dir, const std::string& tmpName) {
  std::string name = tmpName + ".unsaved";
  for (int i = 1; fs.Exists(dir + name); ++i) name = tmpName + ".unsaved." + std::to_string(i);
  if (fs.Rename(dir + tmpName, dir + name)) return tmpName;
  return name;
}

// Turns one temporary file into its data file.
void ParseOne(CFileSystem& fs, const std::string& dir, const std::string& tmpName) {
  const std::string tmpPath = dir + tmpName;
  const std::string dataName = tmpName.substr(0, tmpName.size() - 4);
  const std::string shownTmp = LocalToCp949Lossy(tmpName);
  if (dataName.empty()) {  // ".Tmp": no data file can be named after it
    WriteLog("File name = [" + shownTmp + "], skipped: no data file name");
    fs.Remove(tmpPath);
    return;
  }
  const std::string dataPath = dir + dataName;
  SysError err;
  std::unique_ptr<CFile> in = fs.Open(tmpPath, OpenMode::Read, &err);
  if (!in) {
    WriteLog("File Open Error [" + LocalToCp949Lossy(tmpPath) + "]: " + err.message);
    return;
  }
  std::unique_ptr<CFile> out = fs.Open(dataPath, OpenMode::Append, &err);
  if (!out) {
    WriteLog("File Open Error [" + LocalToCp949Lossy(dataPath) + "]: " + err.message + ", data kept in " +
             LocalToCp949Lossy(SetAside(fs, dir, tmpName)));
    return;
  }
  const long recordLength = RecordLength(*in);
  WriteLog("File name = [" + shownTmp + "], Record Length = [" + std::to_string(recordLength) + "]");
  std::int64_t before = 0;
  out->Size(&before);
  long records = -1;
  if (!(err = in->Seek(0))) records = CopyRecords(*in, *out, recordLength, &err);
  if (records < 0) {
    // Disk full or similar: take back what was appended and keep the data.
    out->Truncate(before);
    WriteLog("File Write Error [" + LocalToCp949Lossy(dataPath) + "]: " + err.message + ", data kept in " +
             LocalToCp949Lossy(SetAside(fs, dir, tmpName)));
    return;
  }
  in.reset();
  fs.Remove(tmpPath);
  WriteLog("FileName = [" + LocalToCp949Lossy(dataPath) + "], Num of Delete = [" + std::to_string(records) + "]");
}

}  // namespace

bool IsTmpName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".tmp";
}

void ParseRecvFiles(const std::string& recvDir, CFileSystem& fs) {
  WriteLog(Texts().parseStart);
  for (const std::string& name : TmpFiles(fs, recvDir)) ParseOne(fs, recvDir, name);
  WriteLog(Texts().parseEnd);
}

void DeleteTmpFiles(const std::string& recvDir, CFileSystem& fs) {
  for (const std::string& name : TmpFiles(fs, recvDir)) fs.Remove(recvDir + name);
}

}  // namespace vantor
