#include "pty_pair.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace vtest {

PtyPair::PtyPair() {
  m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) throw std::runtime_error("no pty");
  m_slavePath = ::ptsname(m_master);
  // Raw on the slave from the start, so that nothing the test terminal writes
  // before the library configures the line is echoed or translated.
  m_slaveKeep = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios t{};
  ::tcgetattr(m_slaveKeep, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(m_slaveKeep, TCSANOW, &t);
}

PtyPair::~PtyPair() {
  CloseMaster();
  if (m_slaveKeep >= 0) ::close(m_slaveKeep);
}

void PtyPair::CloseMaster() {
  if (m_master >= 0) ::close(m_master);
  m_master = -1;
  if (m_slaveKeep >= 0) ::close(m_slaveKeep);
  m_slaveKeep = -1;
}

}  // namespace vtest
