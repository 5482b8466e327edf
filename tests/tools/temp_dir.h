#pragma once
// A temporary directory for one test, removed with everything in it.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace hht::test {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "hht-test") {
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

}  // namespace hht::test
