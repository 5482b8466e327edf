#include "cli_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "frame.h"

namespace hht {

namespace fs = std::filesystem;

std::string ReadFolder(const std::string& dir, std::vector<FileData>& files) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return dir + ": no such folder";
  std::vector<fs::path> paths;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) paths.push_back(it->path());
  }
  if (ec) return dir + ": " + ec.message();
  std::sort(paths.begin(), paths.end());
  for (const fs::path& p : paths) {
    std::ifstream in(p, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return p.string() + ": cannot be read";
    files.push_back({p.filename().string(), std::move(bytes)});
  }
  return {};
}

std::string WriteFetched(const std::string& dir, const std::vector<FileData>& files) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return dir + ": " + ec.message();
  for (const FileData& f : files) {
    // The name came from the command line and went through the PC: never let
    // it leave the folder.
    if (!vantor::IsPlainName(f.name)) return "\"" + f.name + "\" is not a plain file name";
    const fs::path target = fs::path(dir) / f.name;
    const fs::path temp = fs::path(dir) / ("." + f.name + ".part");
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      out.write(f.bytes.data(), static_cast<std::streamsize>(f.bytes.size()));
      out.close();
      if (!out) {
        fs::remove(temp, ec);
        return target.string() + ": cannot be written";
      }
    }
    fs::rename(temp, target, ec);
    if (ec) {
      fs::remove(temp, ec);
      return target.string() + ": cannot be written";
    }
  }
  return {};
}

}  // namespace hht
