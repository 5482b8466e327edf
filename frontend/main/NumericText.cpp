#include "NumericText.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace NumericText {

double LeadingNumber(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  const qsizetype start = i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  bool anyDigit = false;
  while (i < n && text[i] >= u'0' && text[i] <= u'9') {
    ++i;
    anyDigit = true;
  }
  if (i < n && text[i] == u'.') {
    ++i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
      ++i;
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0.0;
  bool ok = false;
  QString number = text.mid(start, i - start);
  if (number.endsWith(u'.')) number.chop(1);
  const double value = number.toDouble(&ok);
  return ok ? value : 0.0;
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
