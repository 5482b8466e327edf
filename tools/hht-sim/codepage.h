#pragma once
// File names travel on the line in code page 949; on this side they are UTF-8.
// The conversion goes through glibc's iconv ("CP949", Microsoft's code page,
// which the PC uses); a name that has no form in the other encoding gives
// nothing rather than a guess.

#include <optional>
#include <string>
#include <string_view>

namespace hht {

std::optional<std::string> Utf8ToLine(std::string_view utf8);
std::optional<std::string> LineToUtf8(std::string_view cp949);

}  // namespace hht
