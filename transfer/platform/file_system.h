#pragma once
// The file system seam. Every file and directory the library touches (the
// log, the lists, the temporary receive files, the data files, the files it
// sends) goes through CFileSystem, so that a port supplies one file for it and
// a test can put a fake in its place: one that fails a chosen call (a full
// disk, a refused permission, a directory in the way) or forgets everything not
// yet flushed (a power cut).
//
// Paths are in the file system's own encoding (the locale's on POSIX) and are
// used as given, relative ones against the current directory. A CFile is the
// one owner of an open file: destroying it closes the file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sys_error.h"

namespace vantor {

// Unknown: the check itself failed (a disk error, a refused permission), so
// the caller cannot tell whether anything is there; error says why. A failed
// check is never an answer of "nothing there".
enum class FileKind { None, Regular, Directory, Other, Unknown };

struct FileStatus {
  FileKind kind = FileKind::None;
  std::int64_t size = 0;
  SysError error;  // set when kind is Unknown
};

enum class OpenMode {
  Read,     // an existing file, read from the start
  Append,   // written at its end; created when missing
  Replace,  // written from the start; created when missing, emptied when present
};

class CFile {
 public:
  virtual ~CFile() = default;
  // Reads up to len bytes from the current position; *got is less than len
  // only at the end of the file.
  virtual SysError Read(void* buf, std::size_t len, std::size_t* got) = 0;
  // Writes all len bytes, or fails (a full disk among other reasons); bytes
  // that went out before a failure may stay in the file.
  virtual SysError Write(const void* buf, std::size_t len) = 0;
  // Moves the reading position.
  virtual SysError Seek(std::int64_t offset) = 0;
  virtual SysError Size(std::int64_t* size) = 0;
  virtual SysError Truncate(std::int64_t size) = 0;
  // Returns when the file's data has reached the disk.
  virtual SysError Flush() = 0;
};

class CFileSystem {
 public:
  virtual ~CFileSystem() = default;

  // nullptr on failure, with the reason in *error when error is given.
  virtual std::unique_ptr<CFile> Open(const std::string& path, OpenMode mode, SysError* error = nullptr) = 0;
  // What path names, following links; kind None only when nothing is there.
  virtual FileStatus Status(const std::string& path) = 0;
  // Whether anything is there under that name, a dangling link included:
  // kind None when nothing is, Unknown when the check failed, otherwise Other
  // (what it is is not looked at).
  virtual FileStatus Exists(const std::string& path) = 0;
  virtual SysError Remove(const std::string& path) = 0;
  // Gives `from` the name `to`, replacing what `to` named in one step: at every
  // instant `to` names the old file or the new one.
  virtual SysError Rename(const std::string& from, const std::string& to) = 0;
  virtual SysError CreateDirectory(const std::string& path) = 0;
  // The names in a directory, without "." and "..", in no particular order.
  virtual SysError ListDirectory(const std::string& dir, std::vector<std::string>* names) = 0;
  // Returns when the directory's entries (files created, renamed or removed in
  // it) have reached the disk; an error when that could not be done.
  virtual SysError FlushDirectory(const std::string& dir) = 0;
  // True where a directory's entries reach the disk in the order they were
  // changed, each change no later than the next flush of any file (a journal
  // such as NTFS's), so that FlushDirectory is not needed for them (and often
  // cannot be done); false where only FlushDirectory makes them durable.
  virtual bool NamesFollowFileFlushes() = 0;
  // True when dir is a directory in which this process may create files.
  virtual bool CanWriteIn(const std::string& dir) = 0;
};

// The separator the library puts between a directory and a name: '/' on POSIX
// systems, '\\' on Windows.
extern const char kDirSeparator;

// Where the platform's file system reports a call that had to be tried again
// (on Windows, a file held for a moment by a scanner or an indexer); the
// library points it at its log. nullptr: not reported.
using FileRetryNote = void (*)(const std::string& text);
void SetFileRetryNote(FileRetryNote note);

// The platform's file system (file_system_posix.cpp on POSIX systems).
CFileSystem& SystemFileSystem();

}  // namespace vantor
