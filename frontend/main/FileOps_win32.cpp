#include <windows.h>

#include <string>

#include "FileOps.h"
#include "WideText.h"

namespace FileOps {

namespace {
thread_local DWORD g_lastError = 0;

// The attributes of an entry the rules may see; INVALID_FILE_ATTRIBUTES for
// a missing, hidden or system entry.
DWORD VisibleAttributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    g_lastError = GetLastError();
    return attributes;
  }
  if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
    g_lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_FILE_ATTRIBUTES;
  }
  return attributes;
}
}  // namespace

char Separator() { return '\\'; }

bool EntryExists(const std::string& path) { return VisibleAttributes(path) != INVALID_FILE_ATTRIBUTES; }

bool FileExists(const std::string& path) {
  const DWORD attributes = VisibleAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  // A drive's root may be hidden and system: a directory is seen whatever
  // its attributes.
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) g_lastError = GetLastError();
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CanWriteIn(const std::string& path) {
  // Permissions on Windows are lists, not bits: ask by making a file that
  // goes away when it is closed.
  std::string probe = path;
  if (!probe.empty() && probe.back() != '\\' && probe.back() != '/') probe.push_back('\\');
  probe += "~rtkelvane-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const HANDLE handle = CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    g_lastError = GetLastError();
    return false;
  }
  CloseHandle(handle);
  return true;
}

bool MakeDir(const std::string& path) {
  if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return true;
  g_lastError = GetLastError();
  return false;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING an existing target makes it fail.
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  g_lastError = GetLastError();
  return false;
}

std::string FindNoCase(const std::string& dir, const std::string& name) {
  // Names on Windows match whatever their case.
  return dir + '\\' + name;
}

std::vector<FileEntry> FilesIn(const std::string& dir) {
  std::vector<FileEntry> files;
  WIN32_FIND_DATAW found{};
  HANDLE handle = FindFirstFileW(Wide(dir + "\\*").c_str(), &found);
  if (handle == INVALID_HANDLE_VALUE) {
    g_lastError = GetLastError();
    return files;
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::int64_t size = (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    files.push_back({Utf8(found.cFileName), size});
  } while (FindNextFileW(handle, &found));
  FindClose(handle);
  return files;
}

std::optional<std::int64_t> SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
    g_lastError = GetLastError();
    return std::nullopt;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool SameEntryName(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a);
  const std::wstring wb = Wide(b);
  return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()),
                              TRUE) == CSTR_EQUAL;
}

std::optional<std::string> ReadAll(const std::string& path) {
  // The library may be writing the file at the same time (it opens it for
  // each entry); reading must not keep it from doing so.
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    g_lastError = GetLastError();
    return std::nullopt;
  }
  std::string content;
  char buf[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buf, sizeof buf, &got, nullptr) != FALSE) && got > 0) content.append(buf, got);
  if (!ok) g_lastError = GetLastError();
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return content;
}

std::string CurrentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) {
    g_lastError = GetLastError();
    return {};
  }
  std::wstring dir(n, L'\0');
  const DWORD len = GetCurrentDirectoryW(n, dir.data());
  if (len == 0 || len >= n) return {};
  dir.resize(len);
  return Utf8(dir);
}

std::string LastError() { return SystemMessage(g_lastError); }

}  // namespace FileOps
