#pragma once
// The line of the desktop notification after a transfer, from what the run
// left behind: its result code, the data files it stored with the records
// they took, and where its log is. Korean, one line, like the program's other
// texts. RunNotice gathers the facts; this decides the words.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace RunNoticeText {

// A data file the run stored.
struct Stored {
  std::string name;                  // its name in the receive folder now (the stock file's new name)
  std::optional<long long> records;  // nullopt: not known soundly
};

struct Facts {
  int result = 0;
  std::vector<Stored> stored;  // in the log's order
  bool logRead = false;        // false: the log could not be read; stored is empty
  std::string logPath;         // the log's full path
  std::string recvDir;         // the folders, port and speed of the call (UTF-8)
  std::string sendDir;
  int portNo = 0;
  int speed = 0;
};

// The records one data file took in this run. The library writes only whole
// records that are not marked deleted, so a data file in append mode gains
// that many records of the logged length (size after the run minus size
// before it; a file that did not exist had 0 bytes), and in replace mode it
// holds that many (its size after the run). What is counted is therefore
// records stored, not records read: "Num of Delete" of the log includes the
// deleted ones. Data of an earlier run that the library stored at this
// run's start (its recovery) went into the same files in this run and is
// counted with it. nullopt when a size is unknown, or when the bytes are no
// whole number of records (another program changed the file meanwhile).
std::optional<long long> RecordsStored(std::optional<std::int64_t> before, std::optional<std::int64_t> after,
                                       long long recordLength, bool append);

// The line for the run.
std::string Text(const Facts& facts);

}  // namespace RunNoticeText
