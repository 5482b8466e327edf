#include <windows.h>

#include "SystemText.h"
#include "WideText.h"

std::string ToSystemNarrow(const std::string& utf8) { return Ansi(utf8); }

std::string FromSystemNarrow(const std::string& narrow) {
  if (narrow.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), wide.data(), n);
  return Utf8(wide);
}
