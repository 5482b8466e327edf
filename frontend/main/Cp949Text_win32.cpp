#include <windows.h>

#include "Cp949Text.h"
#include "WideText.h"

namespace {

constexpr UINT kCodePage = 949;

// The UTF-16 of one whole piece, or nothing when it is no text.
bool Convert(std::string_view piece, std::wstring* out) {
  const int size = static_cast<int>(piece.size());
  const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, piece.data(), size, nullptr, 0);
  if (n <= 0) return false;
  const std::size_t at = out->size();
  out->resize(at + static_cast<std::size_t>(n));
  MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, piece.data(), size, out->data() + at, n);
  return true;
}

}  // namespace

std::string Cp949ToUtf8(std::string_view cp949) {
  std::wstring wide;
  if (Convert(cp949, &wide)) return Utf8(wide);
  // Character by character, as iconv does on Linux: without the flag the
  // system would put "?" for a byte that is no character.
  wide.clear();
  for (std::size_t i = 0; i < cp949.size();) {
    const bool lead = IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(cp949[i])) && i + 1 < cp949.size();
    if (lead && Convert(cp949.substr(i, 2), &wide)) {
      i += 2;
    } else if (!lead && Convert(cp949.substr(i, 1), &wide)) {
      i += 1;
    } else {
      wide += L'\uFFFD';
      i += 1;
    }
  }
  return Utf8(wide);
}
