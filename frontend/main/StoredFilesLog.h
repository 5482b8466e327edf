#pragma once
// What the transfer library's log, Log/comm.log, says about the data files it
// stored. For each received file it stores, it writes two entries (code page
// 949, each ending in CR LF):
//   File name = [STOCK.TXT.Tmp], Record Length = [42]
//   FileName = [/home/shop/recv/STOCK.TXT], Num of Delete = [300]
// The first comes before the records are copied, so a try that fails leaves
// it alone: only the pair says a file was stored. "Num of Delete" counts the
// records read, those marked deleted (and not stored) included.
//
// The log also holds every piece the terminal sent, as it came, and a
// terminal's data may hold any text, also lines that look like the entries
// above. Those pieces are logged only while the port is open: the entries
// are taken only from before the port opened (the recovery of an earlier
// run's data) and after it closed (the storing of this run's data), where
// nothing from the line is written.

#include <string>
#include <string_view>
#include <vector>

namespace StoredFilesLog {

struct Entry {
  std::string name;            // the data file's name (UTF-8), without its folder
  long long recordLength = 0;  // bytes of one record, CR LF included
  long long recordsRead = 0;   // "Num of Delete"
};

// The data files the log says were stored, in the log's order. A file stored
// twice in one run (the recovery of an earlier run's data, then this run's)
// is named twice.
std::vector<Entry> Parse(std::string_view cp949Log);

}  // namespace StoredFilesLog
