#include <unistd.h>

#include "Environment.h"
#include "WorkFolder.h"

bool ChangeCurrentDirectory(const std::string& dir);

std::string WorkFolder() {
  std::string state = Environment::Get("XDG_STATE_HOME");
  // The base directory specification takes only absolute paths.
  if (state.empty() || state.front() != '/') {
    const std::string home = Environment::Get("HOME");
    if (home.empty()) return {};
    state = home + "/.local/state";
  }
  return state + "/Kelvane";
}

bool ChangeCurrentDirectory(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }
