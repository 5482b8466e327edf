#include "NumericText.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace NumericText {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  bool anyDigit = false;
  while (i < n && IsDigit(text[i])) {
    ++i;
    anyDigit = true;
  }
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) {
      ++i;
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0.0;
  // Read by hand: strtod would follow the locale's decimal mark, and the
  // program runs in the operator's locale. The digits are gathered as one
  // whole number and divided once by the power of ten of the fraction, so
  // that the result is the correctly rounded value on every processor (a
  // fraction summed digit by digit differs in its last bits between the x87
  // and SSE units).
  std::size_t j = start;
  const bool negative = text[j] == '-';
  if (text[j] == '+' || text[j] == '-') ++j;
  double digits = 0.0;
  int fractionDigits = 0;
  bool inFraction = false;
  for (; j < i; ++j) {
    if (text[j] == '.') {
      inFraction = true;
      continue;
    }
    // Digits beyond what a double holds exactly change nothing that
    // matters for a stored code.
    if (digits >= 1e17) {
      if (!inFraction) {
        digits *= 10.0;
      }
      continue;
    }
    digits = digits * 10.0 + (text[j] - '0');
    if (inFraction) ++fractionDigits;
  }
  double scale = 1.0;
  for (int k = 0; k < fractionDigits; ++k) scale *= 10.0;
  const double value = digits / scale;
  return negative ? -value : value;
}

bool ToInt16(double value, int* result) {
  // nearbyint rounds in the current mode, which is to nearest, ties to even.
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max()) {
    return false;
  }
  *result = static_cast<int>(rounded);
  return true;
}

}  // namespace NumericText
