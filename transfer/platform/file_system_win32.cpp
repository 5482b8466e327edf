// The file system seam on Windows: the wide-character API, so that no name is
// limited by the narrow functions' conversions. The library's narrow paths are
// in the process's ANSI code page (the encoding in which RunVantor's caller
// hands over its directories); they are converted to UTF-16 exactly, and a
// name that does not convert is refused rather than guessed.
//
// Flushes are FlushFileBuffers; a file is replaced in one step with
// MoveFileExW(MOVEFILE_REPLACE_EXISTING). A rename within a volume is not made
// durable by MOVEFILE_WRITE_THROUGH (that covers moves done as copy and
// delete): NTFS journals names in order and writes its journal at the next
// flush of any file, which is what NamesFollowFileFlushes tells the library.
// A directory is flushed only when it can be opened for that; a flush that
// did not happen is reported as an error.
//
// A scanner or indexer that opens a file just written makes CreateFileW,
// MoveFileExW and DeleteFileW fail for a moment (a sharing or lock violation,
// or access denied while the file is held): those calls are tried again a few
// times with a pause that grows each time, and the log says when that was
// needed.
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

// The errors another program holding a file for a moment gives.
bool IsTransient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

FileRetryNote g_retryNote = nullptr;

void Note(const std::string& text) {
  // The note goes to the log, which is written through this file system: a
  // log file held by another program must not note its own retries.
  static thread_local bool inside = false;
  if (g_retryNote == nullptr || inside) return;
  inside = true;
  g_retryNote(text);
  inside = false;
}

constexpr int kTransientTries = 10;
constexpr DWORD kTransientPauseStepMs = 25;

// Runs call (a Win32 call that returns true on success) until it succeeds,
// fails for a lasting reason, or has failed kTransientTries times; the pause
// before try n is 25 n ms (about 1.1 s in all). GetLastError is left as the
// last try set it.
template <typename Call>
bool WithRetries(const char* what, const std::string& path, Call call) {
  for (int n = 1;; ++n) {
    if (call()) {
      if (n > 1) Note(std::string(what) + " [" + path + "]: done at try " + std::to_string(n) + ", the file was held");
      return true;
    }
    const DWORD error = GetLastError();
    if (!IsTransient(error) || n == kTransientTries) {
      if (n > 1) Note(std::string(what) + " [" + path + "]: failed " + std::to_string(n) + " times");
      SetLastError(error);
      return false;
    }
    Sleep(kTransientPauseStepMs * static_cast<DWORD>(n));
  }
}

// After a failed attribute query: nothing there, or a check that failed.
FileStatus Missing() {
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) return {};
  return {FileKind::Unknown, 0, {static_cast<int>(error), SystemErrorText(static_cast<int>(error))}};
}

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
    CWinHandle handle;
    WithRetries("CreateFile", path, [&] {
      handle =
          CWinHandle(CreateFileW(name->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
      return handle.Valid();
    });
    if (!handle) {
      if (error != nullptr) *error = Failed();
      return nullptr;
    }
    return std::make_unique<Win32File>(std::move(handle), mode == OpenMode::Append);
  }

  FileStatus Status(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!name || name->empty()) return {};
    if (!GetFileAttributesExW(name->c_str(), GetFileExInfoStandard, &data)) return Missing();
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {FileKind::Directory, 0, {}};
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return {FileKind::Other, 0, {}};
    const std::int64_t size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return {FileKind::Regular, size, {}};
  }

  FileStatus Exists(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    if (!name || name->empty()) return {};
    if (GetFileAttributesW(name->c_str()) == INVALID_FILE_ATTRIBUTES) return Missing();
    return {FileKind::Other, 0, {}};
  }

  SysError Remove(const std::string& path) override {
    const std::optional<std::wstring> name = Wide(path);
    if (!name) return BadName(path);
    if (!WithRetries("DeleteFile", path, [&] { return DeleteFileW(name->c_str()) != 0; })) return Failed();
    return {};
  }

  SysError Rename(const std::string& from, const std::string& to) override {
    const std::optional<std::wstring> a = Wide(from), b = Wide(to);
    if (!a) return BadName(from);
    if (!b) return BadName(to);
    if (!WithRetries("MoveFileEx", from, [&] {
          return MoveFileExW(a->c_str(), b->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        })) {
      return Failed();
    }
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
    // Flushing a directory needs write access to it, which a user often
    // lacks; the library does not rely on it here (NamesFollowFileFlushes),
    // but a flush that did not happen is never reported as done.
    CWinHandle handle(CreateFileW(name->c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle || !FlushFileBuffers(handle.Get())) return Failed();
    return {};
  }

  bool NamesFollowFileFlushes() override { return true; }

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

void SetFileRetryNote(FileRetryNote note) { g_retryNote = note; }

CFileSystem& SystemFileSystem() {
  static Win32FileSystem fs;
  return fs;
}

}  // namespace vantor
