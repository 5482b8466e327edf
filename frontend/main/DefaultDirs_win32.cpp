#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "DefaultDirs.h"
#include "WideText.h"

namespace DefaultDirs {

namespace {
std::string InDocuments(const char* name) {
  wchar_t* documents = nullptr;
  if (SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &documents) != S_OK) {
    CoTaskMemFree(documents);
    return {};
  }
  const std::string folder = Utf8(documents) + "\\" + name;
  CoTaskMemFree(documents);
  return folder;
}
}  // namespace

std::string SendDir() { return "C:\\send"; }
std::string RecvDir() { return "C:\\recv"; }
std::string FallbackSendDir() { return InDocuments("send"); }
std::string FallbackRecvDir() { return InDocuments("recv"); }

}  // namespace DefaultDirs
