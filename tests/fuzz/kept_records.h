#pragma once
// What storing a received file keeps, as the storing targets expect it.

#include <string>

namespace vfuzz {

// The records of a temporary file that reach its data file: records of the
// first line's length (plus CR LF), without those that begin with "*" and
// without a final piece shorter than a record.
inline std::string KeptRecords(const std::string& d) {
  const std::size_t cr = d.find('\r');
  const std::size_t rec = (cr == std::string::npos ? d.size() : cr) + 2;
  std::string out;
  for (std::size_t p = 0; p + rec <= d.size(); p += rec) {
    if (d[p] != '*') out.append(d, p, rec);
  }
  return out;
}

}  // namespace vfuzz
