#include "RunNotice.h"

#include <algorithm>
#include <cctype>

#include "Notifier.h"
#include "NumericText.h"
#include "SettingsStore.h"
#include "StoredFilesLog.h"
#include "SystemText.h"
#include "VarDefine.h"
#include "vantor2.h"

namespace {

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/' || dir.back() == FileOps::Separator()) return dir + name;
  return dir + FileOps::Separator() + name;
}

std::string BaseName(const std::string& path) {
  const std::size_t at = path.find_last_of(std::string("/") + FileOps::Separator());
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::optional<std::int64_t> SizeBefore(const std::vector<FileOps::FileEntry>& files, const std::string& name) {
  for (const FileOps::FileEntry& file : files) {
    if (FileOps::SameEntryName(file.name, name)) return file.size;
  }
  return std::nullopt;
}

// The stored data files, each once, in the order of its last entry: a file
// stored twice in a run shows its state after the run once.
std::vector<StoredFilesLog::Entry> EachOnce(std::vector<StoredFilesLog::Entry> entries) {
  std::vector<StoredFilesLog::Entry> once;
  for (StoredFilesLog::Entry& entry : entries) {
    once.erase(std::remove_if(once.begin(), once.end(),
                              [&](const StoredFilesLog::Entry& e) { return FileOps::SameEntryName(e.name, entry.name); }),
               once.end());
    once.push_back(std::move(entry));
  }
  return once;
}

}  // namespace

RunNotice::RunNotice(const SettingsStore& settings, const vantor::TransferArgs& args, std::string logPath)
    : m_enabled(Enabled(settings)),
      m_recvDir(FromSystemNarrow(args.recvDir)),
      m_sendDir(FromSystemNarrow(args.sendDir)),
      m_append(args.appendMode != 0),
      m_portNo(args.portNo),
      m_speed(args.speed),
      m_logPath(std::move(logPath)) {
  if (m_enabled) m_before = FileOps::FilesIn(m_recvDir);
}

bool RunNotice::Enabled(const SettingsStore& settings) {
  std::string value = NumericText::Trim(settings.Read(VarDefine::kKeyNotify, "1"));
  std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
  return value != "0" && value != "false" && value != "off" && value != "no";
}

std::string RunNotice::CommLogPath() {
  const std::string log = std::string("Log") + FileOps::Separator() + "comm.log";
  const std::string here = FileOps::CurrentDirectory();
  return here.empty() ? log : Join(here, log);
}

RunNoticeText::Facts RunNotice::Facts(int result, const StockFile::RenamedPaths& stock) const {
  RunNoticeText::Facts facts;
  facts.result = result;
  facts.logPath = m_logPath;
  facts.recvDir = m_recvDir;
  facts.sendDir = m_sendDir;
  facts.portNo = m_portNo;
  facts.speed = m_speed;
  const std::optional<std::string> log = FileOps::ReadAll(m_logPath);
  facts.logRead = log.has_value();
  if (!log || (result != VANTOR_RECEIVED && result != VANTOR_SENT)) return facts;
  for (const StoredFilesLog::Entry& entry : EachOnce(StoredFilesLog::Parse(*log))) {
    // The received stock file has its time-stamped name by now.
    const bool renamed = !stock.to.empty() && FileOps::SameEntryName(BaseName(stock.from), entry.name);
    const std::string name = renamed ? BaseName(stock.to) : entry.name;
    const std::optional<std::int64_t> after = FileOps::SizeOf(Join(m_recvDir, name));
    facts.stored.push_back(
        {name, RunNoticeText::RecordsStored(SizeBefore(m_before, entry.name), after, entry.recordLength, m_append)});
  }
  return facts;
}

void RunNotice::Send(Notifier& notifier, int result, const StockFile::RenamedPaths& stock) const {
  if (!m_enabled) return;
  notifier.Notify(VarDefine::kAppTitle, RunNoticeText::Text(Facts(result, stock)));
}
