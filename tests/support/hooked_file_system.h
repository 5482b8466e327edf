#pragma once
// A file system that passes every call on to another (the real one, usually)
// and first tells a hook which call is about to run, so that a test can stop
// the process at a chosen step (raise SIGKILL in a child) or record the order
// of the steps.

#include <functional>
#include <string>

#include "file_system.h"

namespace vtest {

class HookedFileSystem final : public vantor::CFileSystem {
 public:
  // Called before each call that changes something or flushes: "Open", "Write",
  // "Truncate", "Flush", "Remove", "Rename", "CreateDirectory", "FlushDirectory".
  using Hook = std::function<void(const char* call, const std::string& path)>;
  HookedFileSystem(vantor::CFileSystem& inner, Hook hook) : m_inner(inner), m_hook(std::move(hook)) {}

  std::unique_ptr<vantor::CFile> Open(const std::string& path, vantor::OpenMode mode,
                                      vantor::SysError* error = nullptr) override;
  vantor::FileStatus Status(const std::string& path) override { return m_inner.Status(path); }
  vantor::FileStatus Exists(const std::string& path) override { return m_inner.Exists(path); }
  vantor::SysError Remove(const std::string& path) override;
  vantor::SysError Rename(const std::string& from, const std::string& to) override;
  vantor::SysError CreateDirectory(const std::string& path) override;
  vantor::SysError ListDirectory(const std::string& dir, std::vector<std::string>* names) override {
    return m_inner.ListDirectory(dir, names);
  }
  vantor::SysError FlushDirectory(const std::string& dir) override;
  bool NamesFollowFileFlushes() override { return m_inner.NamesFollowFileFlushes(); }
  bool CanWriteIn(const std::string& dir) override { return m_inner.CanWriteIn(dir); }

 private:
  vantor::CFileSystem& m_inner;
  Hook m_hook;
};

}  // namespace vtest
