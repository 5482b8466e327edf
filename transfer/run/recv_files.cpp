#include "recv_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "comm_log.h"
#include "korean_texts.h"
#include "text_codec.h"

namespace vantor {
namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

std::vector<std::string> TmpFiles(const std::string& dir) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
  if (!d) return names;
  while (dirent* e = ::readdir(d.get())) {
    const std::string name = e->d_name;
    struct stat st {};
    if (IsTmpName(name) && ::stat((dir + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
  }
  return names;
}

// Length of the first line plus CR LF: bytes before the first CR, plus 2.
long RecordLength(int fd) {
  char buf[65536];
  long count = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return count + 2;
    if (const void* cr = std::memchr(buf, '\r', static_cast<std::size_t>(n))) {
      return count + (static_cast<const char*>(cr) - buf) + 2;
    }
    count += n;
  }
}

bool WriteAll(int fd, const char* data, std::size_t len) {
  while (len > 0) {
    const ssize_t n = ::write(fd, data, len);
    if (n <= 0) return false;
    data += n;
    len -= static_cast<std::size_t>(n);
  }
  return true;
}

// Copies the whole records of `in` that do not begin with "*" to `out`, in
// large chunks: the kept records of a chunk are moved together in place and
// written with one call. Returns the number of whole records read, or -1 when
// reading or writing failed.
long CopyRecords(int in, int out, long recordLength) {
  const std::size_t rec = static_cast<std::size_t>(recordLength);
  const std::size_t chunkRecords = std::max<std::size_t>(1, (1u << 20) / rec);
  std::vector<char> buf(chunkRecords * rec);
  std::vector<char> tail;
  long records = 0;
  for (;;) {
    std::size_t filled = tail.size();
    std::copy(tail.begin(), tail.end(), buf.begin());
    ssize_t n = 0;
    while (filled < buf.size() && (n = ::read(in, buf.data() + filled, buf.size() - filled)) > 0) {
      filled += static_cast<std::size_t>(n);
    }
    if (n < 0) return -1;  // a temporary file that cannot be read is kept
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
    if (!WriteAll(out, buf.data(), kept)) return -1;
    records += static_cast<long>(whole);
    if (filled < buf.size()) return records;  // end of file; a final piece shorter than a record is dropped
  }
}

// Sets aside a temporary file whose data could not be stored: renamed to
// "<name>.Tmp.unsaved" (with a number when that exists), it is neither merged
// by a later run nor deleted when the next run starts. Returns the new name.
std::string SetAside(const std::string& dir, const std::string& tmpName) {
  std::string name = tmpName + ".unsaved";
  struct stat st {};
  for (int i = 1; ::lstat((dir + name).c_str(), &st) == 0; ++i) name = tmpName + ".unsaved." + std::to_string(i);
  if (::rename((dir + tmpName).c_str(), (dir + name).c_str()) != 0) return tmpName;
  return name;
}

// Turns one temporary file into its data file.
void ParseOne(const std::string& dir, const std::string& tmpName) {
  const std::string tmpPath = dir + tmpName;
  const std::string dataName = tmpName.substr(0, tmpName.size() - 4);
  const std::string shownTmp = LocalToCp949Lossy(tmpName);
  if (dataName.empty()) {  // ".Tmp": no data file can be named after it
    WriteLog("File name = [" + shownTmp + "], skipped: no data file name");
    ::unlink(tmpPath.c_str());
    return;
  }
  const std::string dataPath = dir + dataName;
  FdCloser in{::open(tmpPath.c_str(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) {
    WriteLog("File Open Error [" + LocalToCp949Lossy(tmpPath) + "]: " + std::strerror(errno));
    return;
  }
  FdCloser out{::open(dataPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666)};
  if (out.fd < 0) {
    const int err = errno;
    WriteLog("File Open Error [" + LocalToCp949Lossy(dataPath) + "]: " + std::strerror(err) + ", data kept in " +
             LocalToCp949Lossy(SetAside(dir, tmpName)));
    return;
  }
  const long recordLength = RecordLength(in.fd);
  WriteLog("File name = [" + shownTmp + "], Record Length = [" + std::to_string(recordLength) + "]");
  struct stat before {};
  ::fstat(out.fd, &before);
  long records = -1;
  if (::lseek(in.fd, 0, SEEK_SET) == 0) records = CopyRecords(in.fd, out.fd, recordLength);
  if (records < 0) {
    // Disk full or similar: take back what was appended and keep the data.
    const int err = errno;
    [[maybe_unused]] int rc = ::ftruncate(out.fd, before.st_size);
    WriteLog("File Write Error [" + LocalToCp949Lossy(dataPath) + "]: " + std::strerror(err) + ", data kept in " +
             LocalToCp949Lossy(SetAside(dir, tmpName)));
    return;
  }
  ::unlink(tmpPath.c_str());
  WriteLog("FileName = [" + LocalToCp949Lossy(dataPath) + "], Num of Delete = [" + std::to_string(records) + "]");
}

}  // namespace

bool IsTmpName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".tmp";
}

void ParseRecvFiles(const std::string& recvDir) {
  WriteLog(Texts().parseStart);
  for (const std::string& name : TmpFiles(recvDir)) ParseOne(recvDir, name);
  WriteLog(Texts().parseEnd);
}

void DeleteTmpFiles(const std::string& recvDir) {
  for (const std::string& name : TmpFiles(recvDir)) ::unlink((recvDir + name).c_str());
}

}  // namespace vantor
