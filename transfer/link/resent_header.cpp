#include "resent_header.h"

#include <cstring>

namespace vantor {

void CResentHeader::Remember(Bytes header, std::string answer) {
  m_header.assign(reinterpret_cast<const char*>(header.data()), header.size());
  m_answer = std::move(answer);
  m_matched = 0;
}

void CResentHeader::Forget() {
  m_header.clear();
  m_answer.clear();
  m_matched = 0;
}

CResentHeader::Take CResentHeader::Finish(Take take) {
  m_matched = 0;
  m_nextReadLen = m_phaseReadLen;
  return take;
}

CResentHeader::Take CResentHeader::Look(Bytes piece, int requested) {
  const std::size_t n = piece.size();
  const bool continues =
      m_matched + n <= m_header.size() && std::memcmp(piece.data(), m_header.data() + m_matched, n) == 0;
  if (!Collecting()) {
    if (m_header.empty() || n == 0 || !continues) return Take::NotHeader;
    m_phaseReadLen = requested;
    if (n == m_header.size()) return Finish(Take::Complete);
    // A short piece ended on the time-out: a header cut short, not a repeat.
    if (static_cast<int>(n) < requested) return Take::NotHeader;
    m_matched = n;
    m_nextReadLen = static_cast<int>(m_header.size() - n);
    return Take::Partial;
  }
  if (!continues) return Finish(Take::Broken);
  m_matched += n;
  if (m_matched == m_header.size()) return Finish(Take::Complete);
  // Only a read that stopped short leaves the header unfinished here.
  return Finish(Take::Broken);
}

}  // namespace vantor
