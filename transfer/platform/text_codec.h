#pragma once
// Text encodings as a Korean Windows system has them: the library's own files,
// its log, its status texts and the line carry code page 949; the file system
// takes names in the locale's encoding (UTF-8 on Linux). These functions convert
// between the two; a conversion that cannot be made exactly gives nullopt.

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

std::optional<std::string> Cp949ToLocal(std::string_view cp949);
std::optional<std::string> LocalToCp949(std::string_view local);

// The library's own texts, written in UTF-8 in the source.
std::optional<std::string> Utf8ToCp949(std::string_view utf8);
std::string Cp949ToUtf8Lossy(std::string_view cp949);

// For display and logs, where a best effort is better than nothing: bytes that
// cannot be converted are kept as they are.
std::string Cp949ToLocalLossy(std::string_view cp949);
std::string LocalToCp949Lossy(std::string_view local);
// Texts handed to a caller or a console as narrow strings: the locale's
// encoding, which is the ANSI code page on Windows.
std::string Utf8ToLocalLossy(std::string_view utf8);

}  // namespace vantor
