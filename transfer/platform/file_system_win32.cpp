// The file system seam on Windows: the wide-character API, so that no name is
// limited by the narrow functions' conversions. The library's narrow paths are
// in the process's ANSI code page (the encoding in which RunVantor's caller
// hands over its directories); they are converted to UTF-16 exactly, and a
// name that does not convert is refused rather than guessed.
//
// Flushes are FlushFileBuffers; a file is replaced in one step with
// MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), which also
// returns only when the rename is on the disk.
#include <windows.h>

#include <algorithm>
#include <optional>

#include "file_system.h"
#include "win32_handle.h"

namespace vantor {
namespace {

std::optional<std::wstring> Wide(const std::string& path) {
  if (path.empty()) return std::wstring();
  const int len = static_cast<int>(path.size());
  const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), len, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), len, out.data(), n);
  return out;
}

std::optional<std::string> Narrow(const std::wstring& name) {
  const int len = static_cast<int>(name.size());
  BOOL usedDefault = FALSE;
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* used = utf8 ? nullptr : &usedDefault;
  const int n = WideCharToMultiByte(CP_ACP, flags, name.data(), len, nullptr, 0, nullptr, used);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, name.data(), len, out.data(), n, nullptr, used);
  return out;
}

SysError BadName(const std::string& path) {
  return {ERROR_NO_UNICODE_TRANSLATION, "\"" + path + "\": " + SystemErrorText(ERROR_NO_UNICODE_TRANSLATION)};
}

SysError Failed() { return LastSystemError(); }

class Win32File final : public CFile {
 public:
  Win32File(CWinHandle handle, bool append) : m_handle(std::move(handle)), m_append(append) {}

  SysError Read(void* buf, std::size_t len, std::size_t* got) override {
    std::size_t done = 0;
    while (done < len) {
      DWORD n = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(len - done, 1u << 30));
      if (!ReadFile(m_handle.Get(), static_cast<char*>(buf) + done, chunk, &n, nullptr)) {
        *got = done;
        return Failed();
      }
      if (n == 0) break;
      done += n;
    }
    *got = done;
    return {};
  }

  SysError Write(const void* buf, std::size_t len) override {
    // An appending file is written at its end, wherever the position was.
    if (m_append) {
      LARGE_INTEGER zero{};
      if (!SetFilePointerEx(m_handle.Get(), zero, nullptr, FILE_END)) return Failed();
    }
    const char* p = static_cast<const char*>(buf);
    while (len > 0) {
      DWORD n = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(len, 1u << 30));
      if (!WriteFile(m_handle.Get(), p, chunk, &n, nullptr)) return Failed();
      if (n == 0) return {ERROR_DISK_FULL, SystemErrorText(ERROR_DISK_FULL)};
      p += n;
      len -= n;
    }
    return {};
  }

  SysError Seek(std::int64_t offset) override {
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    if (!SetFilePointerEx(m_handle.Get(), to, nullptr, FILE_BEGIN)) return Failed();
    return {};
  }

  SysError Size(std::int64_t* size) override {
    LARGE_INTEGER s{};
    if (!GetFileSizeEx(m_handle.Get(), &s)) return Failed();
    *size = s.QuadPart;
    return {};
  }

  SysError Truncate(std::int64_t size) override {
    LARGE_INTEGER to{};
    to.QuadPart = size;
    if (!SetFilePointerEx(m_handle.Get(), to, nullptr, FILE_BEGIN) || !SetEndOfFile(m_handle.Get())) return Failed();
    return {};
  }

  SysError Flush() override {
    if (!FlushFileBuffers(m_handle.Get())) return Failed();
    return {};
  }

 private:
  CWinHandle m_handle;
  bool m_append;
};

class Win32FileSystem final : public CFileSystem {
 public:
  std::unique_ptr<CFile> Open(const std::string& path, OpenMode mode, SysError* error) override {
    const std::optional<std::wstring> name = Wide(path);
    if (!name || name->empty()) {
      if (error != nullptr) *error = BadName(path);
      return nullptr;
    }
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode == OpenMode::Append) {
      access = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
      disposition = OPEN_ALWAYS;
    } else if (mode == OpenMode::Replace) {
      access = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
      disposition = CREATE_ALWAYS;
    }
    // Shared like a POSIX file: others may read, write, rename or remove it.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    CWinHandle handle(CreateFileW(name->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
      if (error != nullptr) *error = Failed();
      return nullptr;
    }
    return std::make_unique<Win32File>(std::move(handle), mode == OpenMode::Append);
  }

  FileStatus Status(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!name || name->empty() || !GetFileAttributesExW(name->c_str(), GetFileExInfoStandard, &data)) return {};
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {FileKind::Directory, 0};
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return {FileKind::Other, 0};
    const std::int64_t size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return {FileKind::Regular, size};
  }

  bool Exists(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    return name && !name->empty() && GetFileAttributesW(name->c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  SysError Remove(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    if (!name) return BadName(path);
    if (!DeleteFileW(name->c_str())) return Failed();
    return {};
  }

  SysError Rename(const std::string& from, const std::string& to) override {
    const std::optional<std::wstring> a = Wide(from), b = Wide(to);
    if (!a) return BadName(from);
    if (!b) return BadName(to);
    if (!MoveFileExW(a->c_str(), b->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Failed();
    return {};
  }

  SysError CreateDirectory(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    if (!name) return BadName(path);
    if (!CreateDirectoryW(name->c_str(), nullptr)) return Failed();
    return {};
  }

  SysError ListDirectory(const std::string& dir, std::vector<std::string>* names) override {
    names->clear();
    std::optional<std::wstring> pattern = Wide(dir.empty() ? std::string(".") : dir);
    if (!pattern) return BadName(dir);
    if (pattern->back() != L'\\' && pattern->back() != L'/') pattern->push_back(L'\\');
    pattern->push_back(L'*');
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW(pattern->c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return Failed();
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      // A name the ANSI code page cannot spell cannot be opened through a
      // narrow path either: it is not the library's.
      if (std::optional<std::string> narrow = Narrow(name)) names->push_back(*narrow);
    } while (FindNextFileW(find, &found));
    const DWORD end = GetLastError();
    FindClose(find);
    if (end != ERROR_NO_MORE_FILES) return {static_cast<int>(end), SystemErrorText(static_cast<int>(end))};
    return {};
  }

  SysError FlushDirectory(const std::string& dir) override {
    const std::optional<std::wstring> name = Wide(dir.empty() ? std::string(".") : dir);
    if (!name) return BadName(dir);
    if (Status(dir.empty() ? "." : dir).kind != FileKind::Directory) {
      return {ERROR_PATH_NOT_FOUND, SystemErrorText(ERROR_PATH_NOT_FOUND)};
    }
    // NTFS journals directory entries, and renames are written through
    // (MOVEFILE_WRITE_THROUGH). Flushing the directory itself needs write
    // access to it, which a user often lacks: tried, and not required.
    CWinHandle handle(CreateFileW(name->c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) FlushFileBuffers(handle.Get());
    return {};
  }

  bool CanWriteIn(const std::string& dir) override {
    if (Status(dir).kind != FileKind::Directory) return false;
    // Permissions on Windows are lists, not bits: ask by creating a file that
    // goes away when it is closed.
    std::string probe = dir;
    if (probe.back() != '\\' && probe.back() != '/') probe.push_back('\\');
    probe += "~vantor-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    const std::optional<std::wstring> name = Wide(probe);
    if (!name) return false;
    CWinHandle handle(CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return handle.Valid();
  }
};

}  // namespace

const char kDirSeparator = '\\';

CFileSystem& SystemFileSystem() {
  static Win32FileSystem fs;
  return fs;
}

}  // namespace vantor
