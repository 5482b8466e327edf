// Conversions through the system's own tables: MultiByteToWideChar and
// WideCharToMultiByte with code page 949 and the process's ANSI code page,
// which is what "local" means on Windows (the encoding of narrow names and of
// the strings a caller hands to RunVantor).
#include <windows.h>

#include <algorithm>

#include "lossy_convert.h"
#include "text_codec.h"

namespace vantor {
namespace {

constexpr UINT kCp949 = 949;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view in) {
  if (in.empty()) return std::wstring();
  const int inLen = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), inLen, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), inLen, out.data(), n) != n) return std::nullopt;
  return out;
}

std::optional<std::string> FromWide(UINT codePage, const std::wstring& in) {
  if (in.empty()) return std::string();
  const int inLen = static_cast<int>(in.size());
  // UTF-8 takes no default character; the other code pages must not map a
  // character to a look-alike ("best fit") or to "?".
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int n = WideCharToMultiByte(codePage, flags, in.data(), inLen, nullptr, 0, nullptr, usedDefaultOut);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, flags, in.data(), inLen, out.data(), n, nullptr, usedDefaultOut) != n ||
      usedDefault) {
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> Convert(UINT to, UINT from, std::string_view in) {
  if (to == from) {
    // Still checked: the bytes must be valid in the code page.
    if (!ToWide(from, in)) return std::nullopt;
    return std::string(in);
  }
  std::optional<std::wstring> wide = ToWide(from, in);
  if (!wide) return std::nullopt;
  return FromWide(to, *wide);
}

// Length of the character that starts at in[i] in the code page: one byte, or
// two for a lead byte of a double-byte code page, or up to four in UTF-8.
std::size_t CharLength(UINT codePage, std::string_view in, std::size_t i) {
  const auto c = static_cast<unsigned char>(in[i]);
  if (c < 0x80) return 1;
  if (codePage == CP_UTF8) return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  return IsDBCSLeadByteEx(codePage, c) ? 2 : 1;
}

std::string ConvertLossy(UINT to, UINT from, std::string_view in) {
  return ConvertKeepingBytes(
      in, [&](std::string_view piece) { return Convert(to, from, piece); },
      [&](std::string_view text, std::size_t i) { return CharLength(from, text, i); });
}

}  // namespace

std::optional<std::string> Cp949ToLocal(std::string_view cp949) { return Convert(GetACP(), kCp949, cp949); }

std::optional<std::string> LocalToCp949(std::string_view local) { return Convert(kCp949, GetACP(), local); }

std::optional<std::string> Utf8ToCp949(std::string_view utf8) { return Convert(kCp949, CP_UTF8, utf8); }

std::string Cp949ToUtf8Lossy(std::string_view cp949) { return ConvertLossy(CP_UTF8, kCp949, cp949); }

std::string Cp949ToLocalLossy(std::string_view cp949) { return ConvertLossy(GetACP(), kCp949, cp949); }

std::string LocalToCp949Lossy(std::string_view local) { return ConvertLossy(kCp949, GetACP(), local); }

std::string Utf8ToLocalLossy(std::string_view utf8) { return ConvertLossy(GetACP(), CP_UTF8, utf8); }

}  // namespace vantor
