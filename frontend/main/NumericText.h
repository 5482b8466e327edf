#pragma once
// How stored texts are read. A stored code is taken as a decimal number at
// its start: leading blanks are skipped, an optional sign and the digits with
// an optional fraction are read, and reading stops at the first character
// that cannot continue the number. A text without a number reads as 0, so
// "3abc" is 3, "1.0" is 1 and "" is 0.

#include <string>
#include <string_view>

namespace NumericText {

// text without the blanks (white space) before and after it.
std::string Trim(std::string_view text);

double LeadingNumber(std::string_view text);

// The value rounded to the nearest integer (halves go to the even
// neighbour) when it fits a 16-bit integer; otherwise no value.
bool ToInt16(double value, int* result);

}  // namespace NumericText
