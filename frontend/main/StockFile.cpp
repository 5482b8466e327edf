#include "StockFile.h"

#include <cstdio>

#include "FileOps.h"
#include "FuntDefine.h"

namespace StockFile {

std::string FindStockFile(const std::string& recvDir) { return FileOps::FindNoCase(recvDir, "STOCK.TXT"); }

std::string StampedName(const std::string& recvDir, const LocalDateTime& when) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  return recvDir + FileOps::Separator() + "STOCK_" + stamp + ".txt";
}

Outcome RenameReceived(const std::string& recvDir, const LocalDateTime& when, RenamedPaths* renamed) {
  if (renamed != nullptr) *renamed = RenamedPaths{};
  const std::string stock = FindStockFile(recvDir);
  if (!FileOps::FileExists(stock)) return Outcome::NoStockFile;
  // A failure here shows again in the rename below, which is what counts.
  MakeDirPath(recvDir);
  const std::string stamped = StampedName(recvDir, when);
  if (!FileOps::RenameNoReplace(stock, stamped)) return Outcome::RenameFailed;
  if (renamed != nullptr) *renamed = RenamedPaths{stock, stamped};
  return Outcome::Renamed;
}

}  // namespace StockFile
