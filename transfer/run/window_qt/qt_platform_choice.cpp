#include "qt_platform_choice.h"

#include <vector>

namespace vantor {
namespace {

std::string Env(const GuiEnvironment& env, const char* name) {
  const char* value = env.getEnv(name);
  return value != nullptr ? value : "";
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(sep, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool Usable(const GuiEnvironment& env, const std::string& entry) {
  const std::string name = entry.substr(0, entry.find(':'));
  if (name.empty() || !env.hasPlugin(name)) return false;
  if (name == "offscreen" || name == "minimal") return true;
  if (name == "xcb") {
    const std::string display = Env(env, "DISPLAY");
    return !display.empty() && env.xServerReachable(display);
  }
  if (name.starts_with("wayland")) {
    const std::string socket = Env(env, "WAYLAND_DISPLAY");
    return env.waylandReachable(socket.empty() ? "wayland-0" : socket);
  }
  // A platform whose readiness cannot be checked here (framebuffer, EGL, ...)
  // could end the process; the transfer runs without a window instead.
  return false;
}

}  // namespace

std::optional<std::string> ChooseQtPlatform(const GuiEnvironment& env) {
  std::vector<std::string> candidates;
  const std::string requested = Env(env, "QT_QPA_PLATFORM");
  if (!requested.empty()) {
    candidates = Split(requested, ';');
  } else {
    if (!Env(env, "WAYLAND_DISPLAY").empty()) candidates.push_back("wayland");
    if (!Env(env, "DISPLAY").empty()) candidates.push_back("xcb");
  }
  for (const std::string& entry : candidates) {
    if (Usable(env, entry)) return entry;
  }
  return std::nullopt;
}

}  // namespace vantor
