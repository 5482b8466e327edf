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

std::string LastError() { return std::strerror(g_lastErrno); }

}  // namespace FileOps
