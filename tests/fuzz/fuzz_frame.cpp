// Fuzz target: the frame checks and number readers, and the frame builders
// taken back apart. The input is the bytes under test; its first bytes also
// choose the builders' arguments.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "file_names.h"
#include "frame.h"
#include "fuzz_input.h"

namespace {

using namespace vantor;

Bytes AsBytes(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

// The check is a printable character that depends only on the XOR of the range.
void CheckCheck(const std::string& s) {
  const std::uint8_t c = CalcCheck(AsBytes(s));
  FUZZ_CHECK(c >= 0x20 && c <= 0x7E);
  if (s.empty()) return;
  std::uint8_t x = 0;
  for (unsigned char b : s) x ^= b;
  FUZZ_CHECK(CalcCheck(Bytes(&x, 1)) == c);
}

// A trailer is valid exactly when sealing the frame leaves it as it is.
void CheckTrailer(const std::string& s) {
  const bool valid = HasValidTrailer(AsBytes(s));
  if (s.size() < 3) {
    FUZZ_CHECK(!valid);
    return;
  }
  std::string sealed = s;
  SealFrame({reinterpret_cast<std::uint8_t*>(sealed.data()), sealed.size()});
  FUZZ_CHECK(HasValidTrailer(AsBytes(sealed)));
  FUZZ_CHECK(valid == (sealed == s));
}

// ParseNumber reads a field as atol does, whatever its width.
void CheckNumber(const std::string& s) {
  const long n = ParseNumber(AsBytes(s));
  const std::string z(s.c_str());  // atol stops at the first NUL too
  errno = 0;
  FUZZ_CHECK(n == std::strtol(z.c_str(), nullptr, 10));
}

void CheckFieldText(const std::string& s) {
  const std::string t = FieldText(AsBytes(s));
  FUZZ_CHECK(t.size() <= s.size() && s.compare(0, t.size(), t) == 0);
  FUZZ_CHECK(t.find('\0') == std::string::npos);
  FUZZ_CHECK(t.size() == s.size() || s[t.size()] == '\0');
}

// A plain name stays inside the directory it is joined to.
void CheckName(const std::string& s) {
  const bool plain = IsPlainName(s);
  if (plain) {
    FUZZ_CHECK(!s.empty() && s != "." && s != "..");
    FUZZ_CHECK(s.find_first_of(std::string("/\\:\0", 4)) == std::string::npos);
  }
  const auto path = PathInDir("recv/", s);
  if (!plain) FUZZ_CHECK(!path);
  if (path) {
    const std::string local = path->substr(5);
    FUZZ_CHECK(path->compare(0, 5, "recv/") == 0 && IsPlainName(local));
  }
}

// Every builder makes a frame with a valid trailer whose fields read back as
// they were given.
void CheckBuilders(vfuzz::FuzzInput& in, const std::string& text) {
  const long number = static_cast<long>(in.U16() * 2 % 100000);
  const std::uint8_t kind = in.Byte();
  const std::string ack = BuildBlockFrame(number, kind);
  FUZZ_CHECK(ack.size() == static_cast<std::size_t>(kShortLen) && HasValidTrailer(AsBytes(ack)));
  FUZZ_CHECK(ParseNumber(AsBytes(ack).subspan(kReqNumber, kReqNumberLen)) == number);
  FUZZ_CHECK(static_cast<std::uint8_t>(ack[kReqKind]) == kind);

  const std::string pad = ZeroPad(number, 5);
  FUZZ_CHECK(pad.size() == 5 && ParseNumber(AsBytes(pad)) == number);

  const int blockSize = 1 + static_cast<int>(in.U16() % kMaxBlockSize);
  const std::uint8_t lead = in.Byte();
  const std::uint8_t fill = in.Byte();
  const std::string frame = BuildDataFrame(lead, pad, text, blockSize, fill);
  FUZZ_CHECK(frame.size() == static_cast<std::size_t>(blockSize + kDataOverhead));
  FUZZ_CHECK(HasValidTrailer(AsBytes(frame)) && static_cast<std::uint8_t>(frame[0]) == lead);
  FUZZ_CHECK(frame.compare(kDataNumber, kDataNumberLen, pad) == 0);
  const std::size_t kept = std::min(text.size(), static_cast<std::size_t>(blockSize));
  FUZZ_CHECK(frame.compare(kData, kept, text, 0, kept) == 0);
  const std::size_t padding = static_cast<std::size_t>(blockSize) - kept;
  FUZZ_CHECK(frame.compare(kData + kept, padding, std::string(padding, static_cast<char>(fill))) == 0);

  const std::string size10 = text.substr(0, 10);
  const std::string name = text.size() > 10 ? text.substr(10, 40) : "";
  const std::string soh = BuildSohAnswer(pad.substr(0, 4), size10, name);
  FUZZ_CHECK(soh.size() == static_cast<std::size_t>(kAnswerLen) && HasValidTrailer(AsBytes(soh)));
  FUZZ_CHECK(soh[0] == STX && soh[1] == ACK && soh[kAnsKind] == SOH && soh.compare(kAnsNumber, 5, "00001") == 0);
  FUZZ_CHECK(soh.compare(kAnsSize, size10.size(), size10) == 0);
  const std::size_t shown = std::min<std::size_t>(name.size(), kAnsNameLen);
  FUZZ_CHECK(soh.compare(kAnsName, shown, name, 0, shown) == 0);
  const std::string enq = BuildEnqAnswer(size10);
  FUZZ_CHECK(enq.size() == static_cast<std::size_t>(kAnswerLen) && HasValidTrailer(AsBytes(enq)));
  FUZZ_CHECK(enq[kAnsKind] == ENQ && enq.compare(kAnsSize, size10.size(), size10) == 0);
  FUZZ_CHECK(HasValidTrailer(AsBytes(BuildNegativeAnswer())) && BuildNegativeAnswer()[1] == NAK);
  FUZZ_CHECK(BuildEndAnswer() == std::string("\x02\x06"
                                             "00000\x04\x32\x03"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  CheckCheck(all);
  CheckTrailer(all);
  CheckNumber(all);
  CheckFieldText(all);
  CheckName(all.substr(0, 64));
  vfuzz::FuzzInput in(data, size);
  const std::string text = all.size() > 8 ? all.substr(8) : "";
  CheckBuilders(in, text);
  return 0;
}
