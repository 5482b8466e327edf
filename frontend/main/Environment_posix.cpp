#include <cstdlib>

#include "Environment.h"

namespace Environment {

std::string Get(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? value : std::string();
}

void Set(const std::string& name, const std::string& value) { ::setenv(name.c_str(), value.c_str(), 1); }

void Unset(const std::string& name) { ::unsetenv(name.c_str()); }

}  // namespace Environment
