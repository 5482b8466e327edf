#include "transfer_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "comm_log.h"

namespace vantor {
namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

long CTransferFile::FileLength(const std::string& path) const {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) return 0;
  struct stat st {};
  if (::fstat(::fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  // The protocol carries 32-bit sizes.
  return st.st_size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(st.st_size);
}

int CTransferFile::ReadBlock(const std::string& path, std::uint8_t* buffer, int blockSize, long number) const {
  std::memset(buffer, 0, static_cast<std::size_t>(blockSize) + 1);
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    WriteLog("File Open Error");
    return 0;
  }
  const long long offset = static_cast<long long>(number - 1) * blockSize;
  if (offset < 0 || ::fseeko(f.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
  std::fread(buffer, 1, static_cast<std::size_t>(blockSize), f.get());
  return static_cast<int>(std::strlen(reinterpret_cast<const char*>(buffer)));
}

bool CTransferFile::AppendToTemp(const std::string& path, const std::uint8_t* data, int length) const {
  const std::string tmp = path + ".Tmp";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat st {};
  const bool sized = ::fstat(fd, &st) == 0;
  int done = 0;
  while (done < length) {
    const ssize_t n = ::write(fd, data + done, static_cast<std::size_t>(length - done));
    if (n <= 0) break;
    done += static_cast<int>(n);
  }
  bool ok = done == length;
  if (!ok && sized) [[maybe_unused]] int rc = ::ftruncate(fd, st.st_size);
  ::close(fd);
  return ok;
}

}  // namespace vantor
