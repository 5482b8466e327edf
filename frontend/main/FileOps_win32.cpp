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

std::string LastError() { return SystemMessage(g_lastError); }

}  // namespace FileOps
