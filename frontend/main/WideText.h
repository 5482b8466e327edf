#pragma once
// Text between the program's UTF-8 and Windows' wide characters and ANSI code
// page, and the system's text for an error code. Windows only.

#include <string>

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// The text in the system's ANSI code page (949 on a Korean system), as the
// transfer library takes its arguments.
std::string Ansi(const std::string& utf8);
// FormatMessageW's text for a system error code, without the final line end.
std::string SystemMessage(unsigned long code);
