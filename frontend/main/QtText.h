#pragma once
// Between Qt's strings and the UTF-8 std::string of the program's rules.

#include <QString>
#include <string>

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
inline std::string U8(const QString& text) { return text.toStdString(); }
