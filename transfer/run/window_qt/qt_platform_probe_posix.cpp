// The real environment for ChooseQtPlatform on POSIX systems: the variables of
// this process, Qt's plugin folders, and probes that reach the display the way
// the platform plugin itself would (libxcb for X, a socket for Wayland), so
// that a display that refuses us is found out before Qt would abort on it.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "qt_platform_choice.h"
#include "unique_fd.h"

namespace vantor {
namespace {

std::vector<std::filesystem::path> PluginFolders() {
  std::vector<std::filesystem::path> folders;
  if (const char* dir = std::getenv("QT_QPA_PLATFORM_PLUGIN_PATH")) folders.emplace_back(dir);
  if (const char* paths = std::getenv("QT_PLUGIN_PATH")) {
    std::string all = paths;
    std::size_t start = 0;
    while (start <= all.size()) {
      const std::size_t end = std::min(all.find(':', start), all.size());
      if (end > start) folders.emplace_back(std::filesystem::path(all.substr(start, end - start)) / "platforms");
      start = end + 1;
    }
  }
  folders.emplace_back(std::filesystem::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) /
                       "platforms");
  return folders;
}

bool HasPlugin(const std::string& name) {
  const std::string prefix = "libq" + name;
  for (const std::filesystem::path& folder : PluginFolders()) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      const std::string file = entry.path().filename().string();
      if (file.starts_with(prefix) && file.find(".so") != std::string::npos) return true;
    }
  }
  return false;
}

bool XServerReachable(const std::string& display) {
  // A full connection, authentication included: an X server that is up but
  // refuses this user would make the plugin abort just as a missing one does.
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool ok = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return ok;
}

bool WaylandReachable(const std::string& socketName) {
  std::string path = socketName;
  if (!path.starts_with("/")) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr) return false;
    path = std::string(runtime) + "/" + socketName;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return fd && ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

GuiEnvironment SystemGuiEnvironment() {
  return GuiEnvironment{
      [](const char* name) -> const char* { return std::getenv(name); },
      HasPlugin,
      XServerReachable,
      WaylandReachable,
  };
}

}  // namespace vantor
