#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "WideText.h"
#include "WorkFolder.h"

bool ChangeCurrentDirectory(const std::string& dir);

std::string WorkFolder() {
  wchar_t* local = nullptr;
  if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local) != S_OK) {
    CoTaskMemFree(local);
    return {};
  }
  const std::string folder = Utf8(local) + "\\Kelvane";
  CoTaskMemFree(local);
  return folder;
}

bool ChangeCurrentDirectory(const std::string& dir) { return SetCurrentDirectoryW(Wide(dir).c_str()) != 0; }
