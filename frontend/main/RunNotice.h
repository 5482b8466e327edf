#pragma once
// The desktop notification after each transfer started from the main window.
// Made right before the run, it notes what it needs later: whether notices
// are on, and the sizes of the receive folder's files (the data files grow in
// append mode). Sent after the run and the stock file's renaming, it reads
// the library's log (which data files were stored, with their record length)
// and the data files' sizes, and sends one line (RunNoticeText) under the
// program's name.
//
// The setting "Notify" of the program's settings section turns notices off
// with 0 (or false, off, no); any other value, or none, leaves them on.

#include <string>
#include <vector>

#include "FileOps.h"
#include "RunNoticeText.h"
#include "StockFile.h"
#include "transfer_args.h"

class Notifier;
class SettingsStore;

class RunNotice {
 public:
  // args are the arguments of the call about to be made; logPath is where
  // the library writes its log for it.
  RunNotice(const SettingsStore& settings, const vantor::TransferArgs& args, std::string logPath = CommLogPath());

  // After the run: the line for result, sent through notifier; nothing when
  // notices are off. stock names the stock file's new name, if it got one.
  void Send(Notifier& notifier, int result, const StockFile::RenamedPaths& stock) const;
  // What Send tells.
  RunNoticeText::Facts Facts(int result, const StockFile::RenamedPaths& stock) const;

  bool Enabled() const { return m_enabled; }
  static bool Enabled(const SettingsStore& settings);
  // Log/comm.log under the current directory, where the library writes it
  // (the program's work folder, WorkFolder.h, once it could enter it).
  static std::string CommLogPath();

 private:
  bool m_enabled;
  std::string m_recvDir;  // UTF-8
  std::string m_sendDir;
  bool m_append;
  int m_portNo;
  int m_speed;
  std::string m_logPath;
  std::vector<FileOps::FileEntry> m_before;  // the receive folder's files before the run
};
