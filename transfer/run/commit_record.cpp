#include "commit_record.h"

#include <charconv>

#include "frame.h"
#include "recv_files.h"

namespace vantor {
namespace {

constexpr std::string_view kMagic = "VANTOR2-COMMIT 1\n";
constexpr std::size_t kMaxEntries = 100000;
constexpr std::int64_t kMaxRecordSize = 64 << 20;

// Reads a decimal number (with an optional "-") up to `stop`.
bool TakeNumber(std::string_view& in, char stop, std::int64_t* out) {
  const std::size_t end = in.find(stop);
  if (end == std::string_view::npos || end == 0) return false;
  const auto [ptr, ec] = std::from_chars(in.data(), in.data() + end, *out);
  if (ec != std::errc() || ptr != in.data() + end) return false;
  in.remove_prefix(end + 1);
  return true;
}

bool TakeText(std::string_view& in, std::string_view text) {
  if (!in.starts_with(text)) return false;
  in.remove_prefix(text.size());
  return true;
}

FoundRecord ReadOne(CFileSystem& fs, const std::string& path) {
  FoundRecord r;
  r.path = path;
  const FileStatus there = fs.Exists(path);
  if (there.kind == FileKind::None) return r;
  r.kind = FoundRecord::Unreadable;
  r.err = there.error;
  if (there.kind == FileKind::Unknown) return r;
  std::unique_ptr<CFile> f = fs.Open(path, OpenMode::Read, &r.err);
  std::int64_t size = 0;
  if (!f || (r.err = f->Size(&size))) return r;
  if (size > kMaxRecordSize) {
    r.kind = FoundRecord::Damaged;
    return r;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  if ((r.err = f->Read(text.data(), text.size(), &got))) return r;
  text.resize(got);
  if (text.empty()) {
    r.kind = FoundRecord::None;
    return r;
  }
  std::optional<CommitRecord> record = ParseCommitRecord(text);
  r.kind = record ? FoundRecord::Found : FoundRecord::Damaged;
  if (record) r.record = std::move(*record);
  return r;
}

}  // namespace

std::string FormatCommitRecord(const CommitRecord& record) {
  std::string out(kMagic);
  out += record.append ? "MODE APPEND\n" : "MODE REPLACE\n";
  out += "FILES " + std::to_string(record.entries.size()) + "\n";
  for (const CommitEntry& e : record.entries) {
    out += (e.hasTmp ? "1 " : "0 ") + std::to_string(e.before) + " " + std::to_string(e.tmpName.size()) + ":" +
           e.tmpName + "\n";
  }
  out += "END\n";
  return out;
}

std::optional<CommitRecord> ParseCommitRecord(std::string_view in) {
  CommitRecord record;
  if (!TakeText(in, kMagic)) return std::nullopt;
  if (TakeText(in, "MODE APPEND\n")) {
    record.append = true;
  } else if (!TakeText(in, "MODE REPLACE\n")) {
    return std::nullopt;
  }
  std::int64_t count = 0;
  if (!TakeText(in, "FILES ") || !TakeNumber(in, '\n', &count) || count < 0 ||
      count > static_cast<std::int64_t>(kMaxEntries)) {
    return std::nullopt;
  }
  for (std::int64_t i = 0; i < count; ++i) {
    CommitEntry e;
    std::int64_t length = 0;
    if (TakeText(in, "1 ")) {
      e.hasTmp = true;
    } else if (!TakeText(in, "0 ")) {
      return std::nullopt;
    }
    if (!TakeNumber(in, ' ', &e.before) || e.before < -1 || !TakeNumber(in, ':', &length) || length < 1 ||
        static_cast<std::uint64_t>(length) >= in.size()) {
      return std::nullopt;
    }
    e.tmpName.assign(in.substr(0, static_cast<std::size_t>(length)));
    in.remove_prefix(static_cast<std::size_t>(length));
    if (!TakeText(in, "\n") || !IsPlainName(e.tmpName) || !IsTmpName(e.tmpName)) return std::nullopt;
    record.entries.push_back(std::move(e));
  }
  if (in != "END\n") return std::nullopt;
  return record;
}

FoundRecord ReadCommitRecord(CFileSystem& fs, const std::string& dir) {
  FoundRecord r = ReadOne(fs, dir + kCommitRecordName);
  if (r.kind != FoundRecord::None) return r;
  FoundRecord n = ReadOne(fs, dir + kCommitRecordNewName);
  if (n.kind == FoundRecord::Damaged) n.kind = FoundRecord::None;
  return n;
}

}  // namespace vantor
