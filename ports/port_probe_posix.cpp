#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "port_probe.h"

namespace ports {
namespace {

// A desktop user is often not yet in the group that owns serial devices.
std::string GroupHint(const std::string& device) {
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return {};
  const group* owner = ::getgrgid(st.st_gid);
  if (owner == nullptr || owner->gr_name == nullptr) return {};
  return std::string(" (the device belongs to the group ") + owner->gr_name + ")";
}

}  // namespace

std::string OpenProblem(const std::string& device) {
  if (device.empty()) return "no device named";
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int code = errno;
    std::string text = std::strerror(code);
    if (code == EACCES) text += GroupHint(device);
    if (code == EBUSY) text += " (another program holds it)";
    return text;
  }
  termios t{};
  const bool isLine = ::tcgetattr(fd, &t) == 0;
  const int code = errno;
  ::close(fd);
  if (!isLine) return std::string("not a serial line (") + std::strerror(code) + ")";
  return {};
}

}  // namespace ports
