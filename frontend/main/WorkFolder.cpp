#include "WorkFolder.h"

#include "FileOps.h"
#include "FuntDefine.h"

// The one call that changes the current directory, per platform.
bool ChangeCurrentDirectory(const std::string& dir);

bool EnterWorkFolder() {
  const std::string folder = WorkFolder();
  if (folder.empty()) return false;
  if (!FileOps::DirectoryExists(folder) && !MakeDirPath(folder)) return false;
  return ChangeCurrentDirectory(folder);
}
