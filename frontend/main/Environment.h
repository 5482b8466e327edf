#pragma once
// The program's own environment variables (UTF-8), one file per platform. The
// transfer library reads VANTOR_COMn from the same environment.

#include <string>

namespace Environment {

std::string Get(const std::string& name);  // empty when unset
void Set(const std::string& name, const std::string& value);
void Unset(const std::string& name);

}  // namespace Environment
