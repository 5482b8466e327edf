#include "frame.h"

#include <climits>
#include <cstdio>

namespace vantor {

std::uint8_t CalcCheck(Bytes range) {
  if (range.empty()) return 0x20;
  std::uint8_t x = 0;
  for (std::uint8_t b : range) x ^= b;
  if (x >= 0x7F) {
    x = static_cast<std::uint8_t>(0xFF - x);
    if (x >= 0x7F) x = static_cast<std::uint8_t>(x + 0xE0);
  }
  if (x <= 0x1F) x = static_cast<std::uint8_t>(x + 0x20);
  return x;
}

bool HasValidTrailer(Bytes frame) {
  const std::size_t n = frame.size();
  if (n < 3) return false;
  return frame[n - 1] == ETX && frame[n - 2] == CalcCheck(frame.subspan(1, n - 3));
}

void SealFrame(std::span<std::uint8_t> frame) {
  const std::size_t n = frame.size();
  frame[n - 2] = CalcCheck(Bytes(frame.data() + 1, n - 3));
  frame[n - 1] = ETX;
}

long ParseNumber(Bytes field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  // Accumulated as a negative number, which reaches LONG_MIN; a field beyond
  // the range of long stops at its limit as strtol does, never overflows.
  long value = 0;
  bool clipped = false;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    const int digit = field[i] - '0';
    if (value < (LONG_MIN + digit) / 10) clipped = true;
    if (!clipped) value = value * 10 - digit;
  }
  if (clipped) return negative ? LONG_MIN : LONG_MAX;
  if (!negative && value == LONG_MIN) return LONG_MAX;
  return negative ? value : -value;
}

std::string FieldText(Bytes field) {
  std::string text;
  for (std::uint8_t b : field) {
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

namespace {

std::span<std::uint8_t> Writable(std::string& s) { return {reinterpret_cast<std::uint8_t*>(s.data()), s.size()}; }

void Put(std::string& frame, int offset, std::string_view text, int width) {
  for (int i = 0; i < width && i < static_cast<int>(text.size()); ++i) frame[offset + i] = text[i];
}

std::string Answer(std::uint8_t verdict) {
  std::string a(kAnswerLen, ' ');
  a[0] = static_cast<char>(STX);
  a[1] = static_cast<char>(verdict);
  return a;
}

}  // namespace

std::string ZeroPad(long n, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*ld", width, n);
  return buf;
}

std::string BuildEnqAnswer(std::string_view size10) {
  std::string a = Answer(ACK);
  Put(a, kAnsNumber, "00000", kAnsNumberLen);
  Put(a, kAnsBlock, "0000", kAnsBlockLen);
  Put(a, kAnsSize, size10, kAnsSizeLen);
  a[kAnsKind] = static_cast<char>(ENQ);
  SealFrame(Writable(a));
  return a;
}

std::string BuildSohAnswer(std::string_view block4, std::string_view size10, std::string_view name) {
  std::string a = Answer(ACK);
  Put(a, kAnsNumber, "00001", kAnsNumberLen);
  Put(a, kAnsBlock, block4, kAnsBlockLen);
  Put(a, kAnsSize, size10, kAnsSizeLen);
  Put(a, kAnsName, name, kAnsNameLen);
  a[kAnsKind] = static_cast<char>(SOH);
  SealFrame(Writable(a));
  return a;
}

std::string BuildNegativeAnswer() {
  std::string a = Answer(NAK);
  SealFrame(Writable(a));
  return a;
}

std::string BuildEndAnswer() {
  std::string a = {
      static_cast<char>(STX), static_cast<char>(ACK), '0', '0', '0', '0', '0', static_cast<char>(EOT), 0, 0};
  SealFrame(Writable(a));
  return a;
}

namespace {
std::string ShortFrame(std::uint8_t second, long number, std::uint8_t kind) {
  std::string f(kShortLen, ' ');
  f[0] = static_cast<char>(STX);
  f[1] = static_cast<char>(second);
  Put(f, kReqNumber, ZeroPad(number, kReqNumberLen), kReqNumberLen);
  f[kReqKind] = static_cast<char>(kind);
  SealFrame(Writable(f));
  return f;
}
}  // namespace

std::string BuildBlockFrame(long number, std::uint8_t kind) { return ShortFrame(ACK, number, kind); }

std::string BuildDataFrame(std::uint8_t lead, std::string_view number5, std::string_view data, int blockSize,
                           std::uint8_t pad) {
  std::string f(static_cast<std::size_t>(blockSize) + kDataOverhead, static_cast<char>(pad));
  f[0] = static_cast<char>(lead);
  Put(f, kDataNumber, number5, kDataNumberLen);
  Put(f, kData, data, blockSize);
  SealFrame(Writable(f));
  return f;
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\:") == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace vantor
