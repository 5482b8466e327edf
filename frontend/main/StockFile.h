#pragma once
// After every transfer a received stock file "STOCK.TXT" (in any case) in the
// receive directory gets a time-stamped name, STOCK_yyyyMMddhhmmss.txt, so
// that the next transfer cannot overwrite it. The new name never replaces a
// file that exists: when two transfers end within the same second, the
// second stock file keeps its name.

#include <string>

#include "Clock.h"

namespace StockFile {

enum class Outcome { NoStockFile, Renamed, RenameFailed };

// The paths of a stock file that got its new name.
struct RenamedPaths {
  std::string from;
  std::string to;
};

// The path of the received stock file: "STOCK.TXT" in recvDir, in whatever
// case the terminal wrote its name; the upper-case path when there is none.
std::string FindStockFile(const std::string& recvDir);

// The new name of the stock file for a transfer that ended at when.
std::string StampedName(const std::string& recvDir, const LocalDateTime& when);

// recvDir is the receive directory's text as the operator sees it; a final
// separator in it does no harm. When renamed is given and the file got its
// new name, it receives both paths (else it is left empty).
Outcome RenameReceived(const std::string& recvDir, const LocalDateTime& when, RenamedPaths* renamed = nullptr);

}  // namespace StockFile
