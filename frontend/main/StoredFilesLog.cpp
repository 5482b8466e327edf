#include "StoredFilesLog.h"

#include <charconv>
#include <optional>

#include "Cp949Text.h"

namespace StoredFilesLog {
namespace {

constexpr std::string_view kTmpPrefix = "File name = [";
constexpr std::string_view kLengthMark = "], Record Length = [";
constexpr std::string_view kDataPrefix = "FileName = [";
constexpr std::string_view kReadMark = "], Num of Delete = [";
constexpr std::string_view kTmpSuffix = ".Tmp";

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// "<prefix><value><mark><number>]": the value (which may hold "]" itself)
// and the number.
std::optional<std::pair<std::string_view, long long>> Fields(std::string_view line, std::string_view prefix,
                                                             std::string_view mark) {
  if (line.substr(0, prefix.size()) != prefix || line.empty() || line.back() != ']') return std::nullopt;
  const std::size_t at = line.rfind(mark);
  if (at == std::string_view::npos || at < prefix.size()) return std::nullopt;
  const std::string_view digits = line.substr(at + mark.size(), line.size() - 1 - at - mark.size());
  long long number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
  return std::make_pair(line.substr(prefix.size(), at - prefix.size()), number);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

std::vector<Entry> Parse(std::string_view cp949Log) {
  const std::string text = Cp949ToUtf8(cp949Log);
  const std::vector<std::string_view> lines = Lines(text);
  // The port's first opening and last closing: the line's pieces lie between.
  std::size_t opened = lines.size();
  std::size_t closed = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (opened == lines.size() && (lines[i] == "Port Open" || lines[i] == "Port Open Error...")) opened = i;
    if (lines[i] == "Port Close") closed = i;
  }
  std::vector<Entry> stored;
  std::optional<Entry> pending;  // the last "File name" entry, until its data file's entry
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= opened && i <= closed) continue;
    if (const auto tmp = Fields(lines[i], kTmpPrefix, kLengthMark)) {
      pending.reset();
      if (EndsWith(tmp->first, kTmpSuffix) && tmp->first.size() > kTmpSuffix.size() && tmp->second > 0) {
        pending = Entry{std::string(tmp->first.substr(0, tmp->first.size() - kTmpSuffix.size())), tmp->second, 0};
      }
      continue;
    }
    const auto data = Fields(lines[i], kDataPrefix, kReadMark);
    if (!data) continue;
    // The data file is its temporary file's name in the receive folder.
    if (pending && EndsWith(data->first, pending->name)) {
      const std::string_view dir = data->first.substr(0, data->first.size() - pending->name.size());
      if (dir.empty() || dir.back() == '/' || dir.back() == '\\') {
        pending->recordsRead = data->second;
        stored.push_back(*pending);
      }
    }
    pending.reset();
  }
  return stored;
}

}  // namespace StoredFilesLog
