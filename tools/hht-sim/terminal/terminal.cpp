#include "terminal.h"

#include <algorithm>

#include "frame.h"
#include "session.h"
#include "text_codec.h"

namespace hht {

using vantor::ETB;
using vantor::FS;
using vantor::RS;
using vantor::STX;

namespace {

constexpr long long kMaxSize = 9'999'999'999;  // ten digits on the line
constexpr long kMaxBlockNumber = 99'999;       // five digits on the line

struct LineNames {
  std::vector<std::string> names;  // code page 949
  std::string error;
};

std::string CheckName(const std::string& utf8, const std::string& line) {
  if (line.empty()) return "an empty file name cannot be sent";
  if (line.size() > static_cast<std::size_t>(vantor::kSohNameLen)) {
    return "\"" + utf8 + "\" is longer than 30 bytes on the line";
  }
  if (std::any_of(line.begin(), line.end(), [](char c) { return c == ':' || static_cast<unsigned char>(c) < 0x20; })) {
    return "\"" + utf8 + "\" holds a ':' or a control character, which the name list cannot carry";
  }
  if (line.back() == ' ') return "\"" + utf8 + "\" ends in a blank, which the PC drops";
  return {};
}

LineNames ToLineNames(const std::vector<std::string>& utf8Names) {
  LineNames out;
  for (const std::string& utf8 : utf8Names) {
    const auto line = vantor::Utf8ToCp949(utf8);
    if (!line) {
      out.error = "\"" + utf8 + "\" has no form in code page 949";
      return out;
    }
    out.error = CheckName(utf8, *line);
    if (!out.error.empty()) return out;
    out.names.push_back(*line);
  }
  const std::size_t listLen = NameList(out.names).size();
  if (listLen > static_cast<std::size_t>(vantor::kEnqListLen)) {
    out.error = "the names take " + std::to_string(listLen) + " bytes; the opening request holds 953";
  }
  return out;
}

RunResult Refuse(std::string message) {
  RunResult r;
  r.ending = Ending::BadInput;
  r.message = std::move(message);
  return r;
}

bool HasUncarriedBytes(const std::string& data) {
  // The PC ends a block at NUL and a short block at RS; XON and XOFF are
  // taken off the line by flow control.
  return data.find_first_of(std::string("\0\x1E\x11\x13", 4)) != std::string::npos;
}

int FileCount(std::size_t n) { return static_cast<int>(n % 100); }

bool SendOneFile(Session& s, const Options& o, const std::string& lineName, const FileData& file, RunResult& result) {
  const long long size = static_cast<long long>(file.bytes.size());
  s.Log("sending " + file.name + " (" + std::to_string(size) + " bytes)");
  if (HasUncarriedBytes(file.bytes)) {
    s.Log("warning: " + file.name + " holds NUL, RS, XON or XOFF bytes; the PC will not store it as it is");
  }
  const auto answer = s.Transact(BuildSohHeader(kDirSend, o.blockSize, size, lineName), vantor::kAnswerLen,
                                 JudgeSohAnswer, "header of " + file.name);
  if (!answer) return false;
  if (AnswerName(*answer) != lineName) s.Log("warning: the PC took the header of " + file.name + " with another name");
  const auto bs = static_cast<std::size_t>(o.blockSize);
  long n = 1;
  for (std::size_t offset = 0; offset < file.bytes.size(); offset += bs, ++n) {
    const std::string chunk = file.bytes.substr(offset, bs);
    const std::uint8_t lead = chunk.size() == bs ? STX : ETB;
    const std::string frame = vantor::BuildDataFrame(lead, vantor::ZeroPad(n, 5), chunk, o.blockSize, RS);
    if (s.CancelHere(frame.size())) return false;
    const auto ack = s.Transact(
        frame, vantor::kShortLen, [lead](std::string_view a) { return JudgeBlockAck(a, lead); },
        "block " + std::to_string(n) + " of " + file.name);
    if (!ack) return false;
    if (AckNumber(*ack) != n + 1) s.Log("warning: block " + std::to_string(n) + " acknowledged with another number");
    result.bytes += static_cast<long long>(chunk.size());
    s.Log("  block " + std::to_string(n) + " delivered (" + std::to_string(offset + chunk.size()) + "/" +
          std::to_string(size) + ")");
  }
  const std::string end = vantor::BuildDataFrame(FS, vantor::ZeroPad(n, 5), "", o.blockSize, ' ');
  return s
      .Transact(
          end, vantor::kShortLen, [](std::string_view a) { return JudgeBlockAck(a, FS); }, "end of " + file.name)
      .has_value();
}

bool FetchOneFile(Session& s, const std::string& utf8Name, const std::string& lineName, RunResult& result) {
  const auto answer = s.Transact(BuildSohHeader(kDirFetch, vantor::kSendBlockSize, 0, lineName), vantor::kAnswerLen,
                                 JudgeSohAnswer, "header of " + utf8Name);
  if (!answer) return false;
  const long bs = AnswerBlockSize(*answer);
  if (bs < 1 || bs > vantor::kMaxBlockSize) {
    s.Fail(Ending::Protocol, "the PC announced block size " + std::to_string(bs) + " for " + utf8Name);
    return false;
  }
  const long long announced = AnswerSize(*answer);
  s.Log("fetching " + utf8Name + " (" + std::to_string(announced) + " bytes announced)");
  FileData file{utf8Name, {}};
  long n = 1;
  for (;; ++n) {
    if (n > kMaxBlockNumber) {
      s.Fail(Ending::Protocol, utf8Name + " does not end within 99999 blocks");
      return false;
    }
    const std::string request = vantor::BuildBlockFrame(n, STX);
    if (s.CancelHere(request.size())) return false;
    const auto frame = s.Transact(
        request, static_cast<std::size_t>(bs) + vantor::kDataOverhead,
        [n](std::string_view f) { return JudgeDataFrame(f, n); },
        "request for block " + std::to_string(n) + " of " + utf8Name);
    if (!frame) return false;
    const std::string data = FrameData(*frame, static_cast<int>(bs));
    file.bytes += data;
    result.bytes += static_cast<long long>(data.size());
    s.Log("  block " + std::to_string(n) + " fetched (" + std::to_string(file.bytes.size()) + "/" +
          std::to_string(announced) + ")");
    if (static_cast<std::uint8_t>((*frame)[0]) != STX) break;
  }
  if (!s.SendEndOfFile(vantor::BuildBlockFrame(n + 1, FS))) return false;
  if (static_cast<long long>(file.bytes.size()) != announced) {
    s.Log("warning: " + std::to_string(file.bytes.size()) + " bytes of " + utf8Name + " fetched, " +
          std::to_string(announced) + " announced");
  }
  result.files.push_back(std::move(file));
  return true;
}

}  // namespace

std::string_view EndingName(Ending ending) {
  switch (ending) {
    case Ending::Success: return "success";
    case Ending::NoAnswer: return "no-answer";
    case Ending::TooManyTries: return "too-many-tries";
    case Ending::Cancelled: return "cancelled";
    case Ending::LineClosed: return "line-closed";
    case Ending::LineFailed: return "line-failed";
    case Ending::Protocol: return "protocol";
    case Ending::BadInput: return "bad-input";
  }
  return "unknown";
}

Terminal::Terminal(ByteStream& line, Options options) : line_(line), options_(std::move(options)) {}

RunResult Terminal::SendFiles(const std::vector<FileData>& files) {
  if (options_.blockSize < 1 || options_.blockSize > vantor::kMaxBlockSize) {
    return Refuse("block size " + std::to_string(options_.blockSize) + " is outside 1 to 9999");
  }
  std::vector<std::string> utf8Names;
  long long total = 0;
  for (const FileData& f : files) {
    utf8Names.push_back(f.name);
    total += static_cast<long long>(f.bytes.size());
  }
  if (total > kMaxSize) return Refuse("the files hold more than 9999999999 bytes");
  const LineNames names = ToLineNames(utf8Names);
  if (!names.error.empty()) return Refuse(names.error);

  RunResult result;
  Session s(line_, options_, result);
  const auto opened =
      s.Open(BuildEnqRequest(kDirSend, FileCount(files.size()), total, options_.text15, options_.text40, names.names));
  if (!opened) return result;
  result.totalAnnounced = AnswerSize(*opened);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!SendOneFile(s, options_, names.names[i], files[i], result)) return result;
  }
  s.Finish();
  return result;
}

RunResult Terminal::FetchFiles(const std::vector<std::string>& names) {
  const LineNames lineNames = ToLineNames(names);
  if (!lineNames.error.empty()) return Refuse(lineNames.error);

  RunResult result;
  Session s(line_, options_, result);
  const auto opened =
      s.Open(BuildEnqRequest(kDirFetch, FileCount(names.size()), 0, options_.text15, options_.text40, lineNames.names));
  if (!opened) return result;
  result.totalAnnounced = AnswerSize(*opened);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!FetchOneFile(s, names[i], lineNames.names[i], result)) return result;
  }
  s.Finish();
  return result;
}

}  // namespace hht
