#include "hooked_file_system.h"

namespace vtest {
namespace {

class HookedFile final : public vantor::CFile {
 public:
  HookedFile(std::unique_ptr<vantor::CFile> inner, std::string path, const HookedFileSystem::Hook& hook)
      : m_inner(std::move(inner)), m_path(std::move(path)), m_hook(hook) {}
  vantor::SysError Read(void* buf, std::size_t len, std::size_t* got) override { return m_inner->Read(buf, len, got); }
  vantor::SysError Write(const void* buf, std::size_t len) override {
    m_hook("Write", m_path);
    return m_inner->Write(buf, len);
  }
  vantor::SysError Seek(std::int64_t offset) override { return m_inner->Seek(offset); }
  vantor::SysError Size(std::int64_t* size) override { return m_inner->Size(size); }
  vantor::SysError Truncate(std::int64_t size) override {
    m_hook("Truncate", m_path);
    return m_inner->Truncate(size);
  }
  vantor::SysError Flush() override {
    m_hook("Flush", m_path);
    return m_inner->Flush();
  }

 private:
  std::unique_ptr<vantor::CFile> m_inner;
  std::string m_path;
  const HookedFileSystem::Hook& m_hook;
};

}  // namespace

std::unique_ptr<vantor::CFile> HookedFileSystem::Open(const std::string& path, vantor::OpenMode mode,
                                                      vantor::SysError* error) {
  if (mode != vantor::OpenMode::Read) m_hook("Open", path);
  std::unique_ptr<vantor::CFile> f = m_inner.Open(path, mode, error);
  if (!f) return nullptr;
  return std::make_unique<HookedFile>(std::move(f), path, m_hook);
}

vantor::SysError HookedFileSystem::Remove(const std::string& path) {
  m_hook("Remove", path);
  return m_inner.Remove(path);
}

vantor::SysError HookedFileSystem::Rename(const std::string& from, const std::string& to) {
  m_hook("Rename", from);
  return m_inner.Rename(from, to);
}

vantor::SysError HookedFileSystem::CreateDirectory(const std::string& path) {
  m_hook("CreateDirectory", path);
  return m_inner.CreateDirectory(path);
}

vantor::SysError HookedFileSystem::FlushDirectory(const std::string& dir) {
  m_hook("FlushDirectory", dir);
  return m_inner.FlushDirectory(dir);
}

}  // namespace vtest
