#pragma once
// An in-memory file system behind the library's file seam, for tests that need
// what a real disk will not do on demand:
//
// - Fail(): make a chosen call fail with a chosen error (a full disk, a refused
//   permission, an I/O error), for paths that end in a given text, after a
//   number of calls that go through;
// - SetCapacity(): a disk that fills up, so that a write stores part of its
//   bytes and then fails with "No space left on device";
// - PowerCut(): forget everything that was not flushed. A file's content
//   survives as of its last Flush; a name (created, renamed, removed) survives
//   as of the last FlushDirectory of its directory, as on a journalled disk.
// - SetWindowsRules(): the rules of a Windows disk: names are found whatever
//   their letter case, trailing dots and spaces are dropped from a name, a
//   long name also answers to its 8.3 alias ("VANTOR~1.LST"), FlushDirectory
//   does nothing, and names reach the disk in the order they changed, at the
//   next flush of any file (NTFS's journal).
//
// Files are inodes; names map to inodes, so that a rename that was never made
// durable goes back to the old name, with the content that name had.
// Paths are strings: "/" separates, "." is the current directory.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "file_system.h"

namespace vtest {

class FakeFileSystem final : public vantor::CFileSystem {
 public:
  enum class Op {
    Open,
    Read,
    Write,
    Seek,
    Size,
    Truncate,
    Flush,
    Remove,
    Rename,
    CreateDirectory,
    ListDirectory,
    FlushDirectory,
    Status,  // a failed Status or Exists says Unknown
    Exists
  };

  FakeFileSystem();

  // Calls of `op` on paths ending in pathPart (any path when empty) fail with
  // the error number `error`: the first `after` such calls go through, then
  // `times` fail (-1: all that follow).
  void Fail(Op op, const std::string& pathPart, int error, int after = 0, int times = -1);
  // The call numbered `index` from now on (counting every call that Check
  // sees, in the order of `calls` after it was cleared) and the times - 1
  // calls after it fail with `error`, whatever they are.
  void FailCall(int index, int error, int times = 1) {
    m_failAt = index;
    m_failTimes = times;
    m_failError = error;
  }
  // The disk mends: no call fails any more.
  void ClearFailures() {
    m_rules.clear();
    m_failTimes = 0;
  }
  // The disk holds at most `bytes` of file data; -1: no limit.
  void SetCapacity(std::int64_t bytes) { m_capacity = bytes; }
  void SetWindowsRules(bool on) { m_windows = on; }
  void PowerCut();
  // The process dies after `count` more calls: every call after them fails
  // with an I/O error and changes nothing. Restart() ends that, as a new
  // process that finds the disk as the dead one left it.
  void StopAfter(int count) { m_callsLeft = count; }
  void Restart() { m_callsLeft = -1; }
  bool Stopped() const { return m_callsLeft == 0; }

  // Set-up and inspection; what these write counts as already on the disk.
  void MakeDir(const std::string& path);
  void Put(const std::string& path, const std::string& data);
  std::string Get(const std::string& path) const;  // "" when missing
  bool Has(const std::string& path) const;
  std::vector<std::string> Names(const std::string& dir) const;  // sorted
  // Every call made, as "Op path" (Rename: "Rename from -> to"), in order.
  std::vector<std::string> calls;

  // vantor::CFileSystem
  std::unique_ptr<vantor::CFile> Open(const std::string& path, vantor::OpenMode mode,
                                      vantor::SysError* error = nullptr) override;
  vantor::FileStatus Status(const std::string& path) override;
  vantor::FileStatus Exists(const std::string& path) override;
  vantor::SysError Remove(const std::string& path) override;
  vantor::SysError Rename(const std::string& from, const std::string& to) override;
  vantor::SysError CreateDirectory(const std::string& path) override;
  vantor::SysError ListDirectory(const std::string& dir, std::vector<std::string>* names) override;
  vantor::SysError FlushDirectory(const std::string& dir) override;
  bool NamesFollowFileFlushes() override { return m_windows; }
  bool CanWriteIn(const std::string& dir) override;

 private:
  friend class FakeFile;
  struct Inode {
    bool dir = false;
    std::string data;
    std::string durable;
  };
  struct Rule {
    Op op;
    std::string pathPart;
    int error;
    int after;
    int times;
  };

  vantor::SysError Check(Op op, const std::string& path, const std::string& detail = "");
  const Inode* Find(const std::string& path) const;
  // The name under which path is kept: itself, or on Windows rules the
  // existing name it reaches by letter case or 8.3 alias, or the name a new
  // file gets (without trailing dots and spaces).
  std::string Resolve(const std::string& path) const;
  int NewInode(bool dir);
  std::int64_t Used() const;

  std::vector<Rule> m_rules;
  std::int64_t m_capacity = -1;
  bool m_windows = false;
  int m_callsLeft = -1;
  int m_failAt = -1;
  int m_failTimes = 0;
  int m_failError = 0;
  int m_nextInode = 1;
  std::map<int, Inode> m_inodes;
  std::map<std::string, int> m_names;         // what the directories say now
  std::map<std::string, int> m_durableNames;  // what they say after a power cut
};

// The path of a name without trailing separators, and its directory.
std::string NormalPath(const std::string& path);
std::string ParentDir(const std::string& path);

}  // namespace vtest
