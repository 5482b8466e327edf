// The file system seam on POSIX systems: plain descriptors, each owned by a
// UniqueFd; flushes with fsync, on the directory too.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_system.h"
#include "unique_fd.h"

namespace vantor {
namespace {

class PosixFile final : public CFile {
 public:
  explicit PosixFile(UniqueFd fd) : m_fd(std::move(fd)) {}

  SysError Read(void* buf, std::size_t len, std::size_t* got) override {
    std::size_t done = 0;
    while (done < len) {
      const ssize_t n = ::read(m_fd.Get(), static_cast<char*>(buf) + done, len - done);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        *got = done;
        return LastSystemError();
      }
      done += static_cast<std::size_t>(n);
    }
    *got = done;
    return {};
  }

  SysError Write(const void* buf, std::size_t len) override {
    const char* p = static_cast<const char*>(buf);
    while (len > 0) {
      const ssize_t n = ::write(m_fd.Get(), p, len);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n == 0 ? SysError{ENOSPC, SystemErrorText(ENOSPC)} : LastSystemError();
      p += n;
      len -= static_cast<std::size_t>(n);
    }
    return {};
  }

  SysError Seek(std::int64_t offset) override {
    if (::lseek(m_fd.Get(), static_cast<off_t>(offset), SEEK_SET) < 0) return LastSystemError();
    return {};
  }

  SysError Size(std::int64_t* size) override {
    struct stat st {};
    if (::fstat(m_fd.Get(), &st) != 0) return LastSystemError();
    *size = st.st_size;
    return {};
  }

  SysError Truncate(std::int64_t size) override {
    if (::ftruncate(m_fd.Get(), static_cast<off_t>(size)) != 0) return LastSystemError();
    return {};
  }

  SysError Flush() override {
    if (::fsync(m_fd.Get()) != 0) return LastSystemError();
    return {};
  }

 private:
  UniqueFd m_fd;
};

// After a failed stat: nothing there, or a check that failed (EIO, EACCES on
// the way, ...), which says nothing about the name.
FileStatus Missing() {
  if (errno == ENOENT || errno == ENOTDIR) return {};
  return {FileKind::Unknown, 0, LastSystemError()};
}

class PosixFileSystem final : public CFileSystem {
 public:
  std::unique_ptr<CFile> Open(const std::string& path, OpenMode mode, SysError* error) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::Read: flags |= O_RDONLY; break;
      case OpenMode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
      case OpenMode::Replace: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    }
    UniqueFd fd(::open(path.c_str(), flags, 0666));
    if (!fd) {
      if (error != nullptr) *error = LastSystemError();
      return nullptr;
    }
    return std::make_unique<PosixFile>(std::move(fd));
  }

  FileStatus Status(const std::string& path) override {
    struct stat st {};
    if (path.empty()) return {};
    if (::stat(path.c_str(), &st) != 0) return Missing();
    const FileKind kind = S_ISREG(st.st_mode)   ? FileKind::Regular
                          : S_ISDIR(st.st_mode) ? FileKind::Directory
                                                : FileKind::Other;
    return {kind, static_cast<std::int64_t>(st.st_size), {}};
  }

  FileStatus Exists(const std::string& path) override {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return Missing();
    return {FileKind::Other, 0, {}};
  }

  SysError Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return LastSystemError();
    return {};
  }

  SysError Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return LastSystemError();
    return {};
  }

  SysError CreateDirectory(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) != 0) return LastSystemError();
    return {};
  }

  SysError ListDirectory(const std::string& dir, std::vector<std::string>* names) override {
    names->clear();
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return LastSystemError();
    while (const dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names->push_back(name);
    }
    ::closedir(d);
    return {};
  }

  SysError FlushDirectory(const std::string& dir) override {
    UniqueFd fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return LastSystemError();
    if (::fsync(fd.Get()) != 0) return LastSystemError();
    return {};
  }

  bool NamesFollowFileFlushes() override { return false; }

  bool CanWriteIn(const std::string& dir) override {
    return Status(dir).kind == FileKind::Directory && ::access(dir.c_str(), W_OK | X_OK) == 0;
  }
};

}  // namespace

const char kDirSeparator = '/';

// POSIX file calls are not refused for a moment by other programs: nothing
// is tried again, and there is nothing to note.
void SetFileRetryNote(FileRetryNote) {}

CFileSystem& SystemFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace vantor
