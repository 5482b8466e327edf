#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "FileOps.h"

namespace FileOps {

namespace {
thread_local int g_lastErrno = 0;

bool Stat(const std::string& path, struct stat* info) {
  if (::stat(path.c_str(), info) == 0) return true;
  g_lastErrno = errno;
  return false;
}
}  // namespace

char Separator() { return '/'; }

bool EntryExists(const std::string& path) {
  struct stat info {};
  return Stat(path, &info);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return Stat(path, &info) && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return Stat(path, &info) && S_ISDIR(info.st_mode);
}

bool CanWriteIn(const std::string& path) {
  if (::access(path.c_str(), W_OK | X_OK) == 0) return true;
  g_lastErrno = errno;
  return false;
}

bool MakeDir(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  g_lastErrno = errno;
  return false;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  g_lastErrno = errno;
  // File systems without the flag: the check and the rename are then two
  // steps, which is as close as they allow.
  if (g_lastErrno != EINVAL && g_lastErrno != ENOSYS) return false;
  if (EntryExists(to)) {
    g_lastErrno = EEXIST;
    return false;
  }
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  g_lastErrno = errno;
  return false;
}

std::string FindNoCase(const std::string& dir, const std::string& name) {
  const std::string exact = dir + '/' + name;
  if (EntryExists(exact)) return exact;
  DIR* handle = ::opendir(dir.c_str());
  if (handle == nullptr) return exact;
  std::string best;
  while (const dirent* entry = ::readdir(handle)) {
    // The first in name order, whatever order the directory keeps.
    if (::strcasecmp(entry->d_name, name.c_str()) == 0 && (best.empty() || best > entry->d_name)) best = entry->d_name;
  }
  ::closedir(handle);
  return best.empty() ? exact : dir + '/' + best;
}

std::vector<FileEntry> FilesIn(const std::string& dir) {
  std::vector<FileEntry> files;
  DIR* handle = ::opendir(dir.c_str());
  if (handle == nullptr) {
    g_lastErrno = errno;
    return files;
  }
  while (const dirent* entry = ::readdir(handle)) {
    if (const std::optional<std::int64_t> size = SizeOf(dir + '/' + entry->d_name)) {
      files.push_back({entry->d_name, *size});
    }
  }
  ::closedir(handle);
  return files;
}

std::optional<std::int64_t> SizeOf(const std::string& path) {
  struct stat info {};
  if (!Stat(path, &info) || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::int64_t>(info.st_size);
}

bool SameEntryName(const std::string& a, const std::string& b) { return a == b; }

std::optional<std::string> ReadAll(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    g_lastErrno = errno;
    return std::nullopt;
  }
  std::string content;
  char buf[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buf, sizeof buf);
    if (got > 0) {
      content.append(buf, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      if (got < 0) g_lastErrno = errno;
      ::close(fd);
      if (got < 0) return std::nullopt;
      return content;
    }
  }
}

std::string CurrentDirectory() {
  std::string dir(4096, '\0');
  while (::getcwd(dir.data(), dir.size()) == nullptr) {
    g_lastErrno = errno;
    if (errno != ERANGE) return {};
    dir.resize(dir.size() * 2);
  }
  dir.resize(std::strlen(dir.c_str()));
  return dir;
}

std::string LastError() { return std::strerror(g_lastErrno); }

}  // namespace FileOps
