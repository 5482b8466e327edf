#include "fake_pc.h"

#include <algorithm>
#include <cstring>

#include "frame.h"

namespace hht::test {

using namespace vantor;

namespace {

Bytes AsBytes(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

std::uint8_t At(const std::string& s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

bool ValidHeader(const std::string& f, std::uint8_t lead) {
  return f.size() == static_cast<std::size_t>(kHeaderLen) && At(f, 0) == lead && HasValidTrailer(AsBytes(f));
}

long Number(const std::string& f, int offset, int len) { return ParseNumber(AsBytes(f.substr(offset, len))); }

std::string Trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The names of an ENQ request's list, each followed by ':'.
std::vector<std::string> ListedNames(const std::string& f) {
  std::string list = FieldText(AsBytes(f.substr(kEnqList, kEnqListLen)));
  std::vector<std::string> names;
  for (std::size_t colon; (colon = list.find(':')) != std::string::npos; list.erase(0, colon + 1)) {
    names.push_back(list.substr(0, colon));
  }
  return names;
}

}  // namespace

LineError FakePc::Write(std::span<const std::uint8_t> bytes) {
  const int index = static_cast<int>(written.size());
  written.emplace_back(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (closed_) return {};
  loseAnswer_ = lose.count(index) != 0;
  const std::size_t before = pending_.size();
  Handle(written.back(), index);
  if (garble.count(index) != 0 && pending_.size() > before + 3) pending_[before + 3] ^= 0x01;
  if (closeAfter >= 0 && index + 1 >= closeAfter) closed_ = true;
  return {};
}

ReadResult FakePc::Read(std::span<std::uint8_t> buffer, Millis timeout) {
  ReadResult r;
  r.count = std::min(buffer.size(), pending_.size());
  std::memcpy(buffer.data(), pending_.data(), r.count);
  pending_.erase(0, r.count);
  if (r.count == buffer.size()) return r;
  if (closed_ && !hangupReported_) {
    hangupReported_ = true;
    r.hangup = true;
    return r;
  }
  timeouts.push_back(timeout);
  return r;
}

void FakePc::DiscardInput() {
  pending_.clear();
  ++discards;
}

void FakePc::Answer(const std::string& a) {
  lastSent_ = a;
  if (!loseAnswer_) pending_ += a;
}

void FakePc::AnswerHeader(const std::string& header, const std::string& a) {
  lastHeader_ = header;
  headerAnswer_ = a;
  Answer(a);
}

void FakePc::Handle(const std::string& f, int index) {
  if (!f.empty() && At(f, 0) == CAN) {
    result = -3;
    phase_ = Phase::Ended;
    closed_ = true;
    return;
  }
  if (refuse.count(index) != 0) return Fault();
  if (phase_ != Phase::Enq && phase_ != Phase::Ended && !lastHeader_.empty() && f == lastHeader_) {
    return Answer(headerAnswer_);  // our answer to it was lost
  }
  switch (phase_) {
    case Phase::Enq:
      if (silentOpenings > 0) {
        --silentOpenings;
        return;
      }
      return OnEnq(f);
    case Phase::Soh: return OnSoh(f);
    case Phase::Recv: return OnRecv(f);
    case Phase::Send: return OnSend(f);
    case Phase::Ended: return;
  }
}

void FakePc::Fault() {
  switch (phase_) {
    case Phase::Enq:
    case Phase::Soh: return Answer(BuildNegativeAnswer());
    case Phase::Recv: {
      std::string nak = lastSent_.substr(0, kShortLen);
      nak[1] = static_cast<char>(NAK);
      return Answer(nak);
    }
    case Phase::Send: return Answer(lastSent_);
    case Phase::Ended: return;
  }
}

void FakePc::OnEnq(const std::string& f) {
  if (!ValidHeader(f, ENQ)) return Fault();
  direction_ = At(f, kEnqDir) - '0';
  std::string size10 = f.substr(kEnqTotal, kEnqTotalLen);
  if (direction_ == 2) {
    long total = 0;
    for (const std::string& name : ListedNames(f)) total += static_cast<long>(sendDir[name].size());
    size10 = ZeroPad(total, kEnqTotalLen);
  }
  AnswerHeader(f, BuildEnqAnswer(size10));
  phase_ = Phase::Soh;
}

void FakePc::OnSoh(const std::string& f) {
  if (ValidHeader(f, EOT)) {
    const std::string end = BuildEndAnswer();
    for (int i = 0; i < 5; ++i) Answer(end);
    result = direction_ == 1 ? 1 : 2;
    phase_ = Phase::Ended;
    closed_ = true;
    return;
  }
  if (!ValidHeader(f, SOH)) return Fault();
  direction_ = At(f, kSohDir) - '0';
  fileName_ = Trimmed(f.substr(kSohName, kSohNameLen));
  if (direction_ == 1) {
    blockSize_ = static_cast<int>(Number(f, kSohBlock, kSohBlockLen));
    stored[fileName_].clear();
    AnswerHeader(f, BuildSohAnswer(ZeroPad(blockSize_, 4), f.substr(kSohSize, kSohSizeLen), fileName_));
    phase_ = Phase::Recv;
  } else {
    blockSize_ = sendBlockSize;
    const long size = static_cast<long>(sendDir[fileName_].size());
    AnswerHeader(f, BuildSohAnswer(ZeroPad(blockSize_, 4), ZeroPad(size, kSohSizeLen), fileName_));
    phase_ = Phase::Send;
  }
}

void FakePc::OnRecv(const std::string& f) {
  const std::size_t len = static_cast<std::size_t>(blockSize_) + kDataOverhead;
  const std::uint8_t lead = f.empty() ? 0 : At(f, 0);
  if (f.size() != len || (lead != STX && lead != ETB && lead != FS) || !HasValidTrailer(AsBytes(f))) return Fault();
  lastHeader_.clear();
  std::string data = FieldText(AsBytes(f.substr(kData, static_cast<std::size_t>(blockSize_))));
  if (lead == ETB) data = data.substr(0, data.find(static_cast<char>(RS)));
  if (lead == FS) {
    phase_ = Phase::Soh;
  } else {
    stored[fileName_] += data;
  }
  Answer(BuildBlockAck(Number(f, kDataNumber, kDataNumberLen) + 1, lead));
}

void FakePc::OnSend(const std::string& f) {
  if (f.size() != static_cast<std::size_t>(kShortLen) || At(f, 0) != STX || At(f, 1) != ACK ||
      !HasValidTrailer(AsBytes(f))) {
    return Fault();
  }
  lastHeader_.clear();
  if (At(f, kReqKind) == FS) {
    phase_ = Phase::Soh;
    return;
  }
  const long n = Number(f, kReqNumber, kReqNumberLen);
  const std::string& file = sendDir[fileName_];
  const std::size_t offset = static_cast<std::size_t>(n - 1) * static_cast<std::size_t>(blockSize_);
  const std::string block = offset < file.size() ? file.substr(offset, static_cast<std::size_t>(blockSize_)) : "";
  if (block.empty()) {
    Answer(BuildDataFrame(FS, "00000", "", blockSize_, ' '));
  } else {
    const std::uint8_t lead = block.size() == static_cast<std::size_t>(blockSize_) ? STX : ETB;
    Answer(BuildDataFrame(lead, f.substr(kReqNumber, kReqNumberLen), block, blockSize_, RS));
  }
}

}  // namespace hht::test
