#pragma once
// Temporary directories for tests: TempDir, removed with everything in it, and
// TempCwd, one that is also the current directory while it lives (for the
// library's Log/comm.log, which is relative to the current directory).

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace vtest {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "vantor-test") {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The subdirectory `name`, created with its parents.
  std::filesystem::path Make(const std::string& name) const {
    std::filesystem::create_directories(path_ / name);
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

class TempCwd {
 public:
  TempCwd() : m_old(std::filesystem::current_path()) { std::filesystem::current_path(m_dir.Path()); }
  ~TempCwd() { std::filesystem::current_path(m_old); }
  TempCwd(const TempCwd&) = delete;
  TempCwd& operator=(const TempCwd&) = delete;

  std::string Path(const std::string& name = "") const { return m_dir.Path().string() + "/" + name; }

 private:
  TempDir m_dir{"vantor-ut"};
  std::filesystem::path m_old;
};

}  // namespace vtest
