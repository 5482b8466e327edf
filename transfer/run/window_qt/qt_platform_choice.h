#pragma once
// Which Qt platform plugin the library may start, if any.
//
// Qt ends the whole process when its platform plugin cannot be loaded or cannot
// reach its display, and a library must never take its caller down for want of
// a screen. So the choice is made here, before any application object exists,
// from the environment and from probes that answer without Qt: the named
// platform must be one whose readiness can be checked (offscreen and minimal
// need nothing; xcb needs a reachable X server; wayland a reachable compositor
// socket), and its plugin must be installed. The chosen entry is then handed to
// Qt explicitly, so that Qt does not pick another one by itself.

#include <functional>
#include <optional>
#include <string>

namespace vantor {

struct GuiEnvironment {
  // The value of an environment variable, or null when it is not set.
  std::function<const char*(const char*)> getEnv;
  // True when a platform plugin of that name ("xcb", "wayland-egl") is installed.
  std::function<bool(const std::string& name)> hasPlugin;
  // True when an X server answers at that display ("host:0.0", ":1").
  std::function<bool(const std::string& display)> xServerReachable;
  // True when a Wayland compositor listens at that socket (name or path).
  std::function<bool(const std::string& socket)> waylandReachable;
};

// The platform entry to start ("offscreen", "xcb", "xcb:option"), or nullopt
// when no GUI is usable. QT_QPA_PLATFORM, when set, names the candidates in
// order (separated by ";"); otherwise wayland (when WAYLAND_DISPLAY is set)
// and then xcb (when DISPLAY is set) are tried.
std::optional<std::string> ChooseQtPlatform(const GuiEnvironment& env);

// The environment of this process, with the real probes.
GuiEnvironment SystemGuiEnvironment();

}  // namespace vantor
