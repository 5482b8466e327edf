#include <unistd.h>

#include "Environment.h"
#include "WorkFolder.h"

bool ChangeCurrentDirectory(const std::string& dir);

std::string WorkFolder() {
  std::string state = Environment::Get("XDG_STATE_HOME");
  // A relative XDG_STATE_HOME is invalid and ignored, as desktops do.
  if (state.empty() || state.front() != '/') {
    const std::string home = Environment::Get("HOME");
    if (home.empty()) return {};
    state = home + "/.local/state";
  }
  return state + "/Kelvane";
}

bool ChangeCurrentDirectory(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }
