#include "terminal_frames.h"

#include "frame.h"

namespace hht {

using namespace vantor;

namespace {

Bytes AsBytes(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

std::uint8_t At(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

void Put(std::string& frame, int offset, std::string_view text, int width) {
  for (int i = 0; i < width && i < static_cast<int>(text.size()); ++i) frame[offset + i] = text[i];
}

void Seal(std::string& frame) { SealFrame({reinterpret_cast<std::uint8_t*>(frame.data()), frame.size()}); }

std::string Header(std::uint8_t lead) {
  std::string f(kHeaderLen, ' ');
  f[0] = static_cast<char>(lead);
  return f;
}

// NAK in byte 1 is the PC's refusal. Its negative block acknowledgement
// repeats bytes of an earlier frame, check character included, so the check
// does not decide it.
bool IsRefusal(std::string_view a) { return a.size() >= 2 && At(a, 0) == STX && At(a, 1) == NAK; }

bool IsSound(std::string_view a) { return HasValidTrailer(AsBytes(a)) && At(a, 0) == STX && At(a, 1) == ACK; }

Verdict HeaderAnswer(std::string_view a, std::string_view number, std::uint8_t kind) {
  if (a.size() != kAnswerLen) return Verdict::Faulty;
  if (IsRefusal(a)) return Verdict::Negative;
  if (!IsSound(a) || a.substr(kAnsNumber, kAnsNumberLen) != number || At(a, kAnsKind) != kind) return Verdict::Faulty;
  return Verdict::Positive;
}

}  // namespace

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += name + ":";
  return list;
}

std::string BuildEnqRequest(int direction, int number, long long totalSize, std::string_view text15,
                            std::string_view text40, const std::vector<std::string>& names) {
  std::string f = Header(ENQ);
  f[kEnqDir] = static_cast<char>('0' + direction);
  Put(f, kEnqNumber, ZeroPad(number % 100, kEnqNumberLen), kEnqNumberLen);
  Put(f, kEnqTotal, ZeroPad(static_cast<long>(totalSize), kEnqTotalLen), kEnqTotalLen);
  Put(f, kEnqText15, text15, kEnqText15Len);
  Put(f, kEnqText40, text40, kEnqText40Len);
  Put(f, kEnqList, NameList(names), kEnqListLen);
  Seal(f);
  return f;
}

std::string BuildSohHeader(int direction, int blockSize, long long fileSize, std::string_view name) {
  std::string f = Header(SOH);
  f[kSohDir] = static_cast<char>('0' + direction);
  Put(f, kSohBlock, ZeroPad(blockSize, kSohBlockLen), kSohBlockLen);
  Put(f, kSohSize, ZeroPad(static_cast<long>(fileSize), kSohSizeLen), kSohSizeLen);
  Put(f, kSohName, name, kSohNameLen);
  Seal(f);
  return f;
}

std::string BuildEotFrame() {
  std::string f = Header(EOT);
  Seal(f);
  return f;
}

std::string BuildCancelRun(std::size_t length) { return std::string(length, static_cast<char>(CAN)); }

Verdict JudgeEnqAnswer(std::string_view answer) { return HeaderAnswer(answer, "00000", ENQ); }

Verdict JudgeSohAnswer(std::string_view answer) { return HeaderAnswer(answer, "00001", SOH); }

Verdict JudgeEndAnswer(std::string_view answer) {
  if (answer.size() != kShortLen) return Verdict::Faulty;
  if (IsRefusal(answer)) return Verdict::Negative;
  return answer == BuildEndAnswer() ? Verdict::Positive : Verdict::Faulty;
}

Verdict JudgeBlockAck(std::string_view answer, std::uint8_t lead) {
  if (answer.size() != kShortLen) return Verdict::Faulty;
  if (IsRefusal(answer)) return Verdict::Negative;
  if (!IsSound(answer) || At(answer, kReqKind) != lead) return Verdict::Faulty;
  return Verdict::Positive;
}

Verdict JudgeDataFrame(std::string_view frame, long number) {
  if (frame.size() <= static_cast<std::size_t>(kDataOverhead)) return Verdict::Faulty;
  if (!HasValidTrailer(AsBytes(frame))) return Verdict::Faulty;
  const std::uint8_t lead = At(frame, 0);
  if (lead == FS) return Verdict::Positive;
  if (lead != STX && lead != ETB) return Verdict::Faulty;
  // The PC answers a faulty request by writing its previous frame again: a
  // frame with another number is that repeat, not the block asked for.
  if (frame.substr(kDataNumber, kDataNumberLen) != ZeroPad(number, kDataNumberLen)) return Verdict::Faulty;
  return Verdict::Positive;
}

std::string AnswerName(std::string_view answer) {
  std::string name(answer.substr(kAnsName, kAnsNameLen));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

long AnswerBlockSize(std::string_view answer) { return ParseNumber(AsBytes(answer.substr(kAnsBlock, kAnsBlockLen))); }

long long AnswerSize(std::string_view answer) { return ParseNumber(AsBytes(AnswerSizeText(answer))); }

std::string_view AnswerSizeText(std::string_view answer) { return answer.substr(kAnsSize, kAnsSizeLen); }

long AckNumber(std::string_view answer) { return ParseNumber(AsBytes(answer.substr(kReqNumber, kReqNumberLen))); }

std::string FrameData(std::string_view frame, int blockSize) {
  const std::uint8_t lead = At(frame, 0);
  if (lead == FS) return {};
  std::string_view data = frame.substr(kData, static_cast<std::size_t>(blockSize));
  if (lead == ETB) data = data.substr(0, data.find(static_cast<char>(RS)));
  return std::string(data);
}

}  // namespace hht
