#include <stdlib.h>
#include <windows.h>

#include "Environment.h"
#include "WideText.h"

namespace Environment {

std::string Get(const std::string& name) {
  const std::wstring wide = Wide(name);
  const wchar_t* value = _wgetenv(wide.c_str());
  return value != nullptr ? Utf8(value) : std::string();
}

// Through the C runtime, which the library's getenv reads, and which passes
// the change on to the process's environment block.
void Set(const std::string& name, const std::string& value) { _wputenv_s(Wide(name).c_str(), Wide(value).c_str()); }

void Unset(const std::string& name) { _wputenv_s(Wide(name).c_str(), L""); }

}  // namespace Environment
