#include <windows.h>

#include "Cp949Text.h"
#include "WideText.h"

std::string Cp949ToUtf8(std::string_view cp949) {
  if (cp949.empty()) return {};
  // Without MB_ERR_INVALID_CHARS a byte that is no character becomes U+FFFD.
  const int size = static_cast<int>(cp949.size());
  const int n = MultiByteToWideChar(949, 0, cp949.data(), size, nullptr, 0);
  if (n <= 0) return std::string(cp949);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(949, 0, cp949.data(), size, wide.data(), n);
  return Utf8(wide);
}
