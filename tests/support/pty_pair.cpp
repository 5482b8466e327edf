#include "pty_pair.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace vtest {

PtyPair::PtyPair() {
  m_master.Reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!m_master || ::grantpt(m_master.Get()) != 0 || ::unlockpt(m_master.Get()) != 0)
    throw std::runtime_error("no pty");
  m_slavePath = ::ptsname(m_master.Get());
  // Raw on the slave from the start, so that nothing the test terminal writes
  // before the library configures the line is echoed or translated.
  m_slaveKeep.Reset(::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  termios t{};
  ::tcgetattr(m_slaveKeep.Get(), &t);
  ::cfmakeraw(&t);
  ::tcsetattr(m_slaveKeep.Get(), TCSANOW, &t);
}

PtyPair::~PtyPair() { CloseMaster(); }

void PtyPair::CloseMaster() {
  m_master.Reset();
  m_slaveKeep.Reset();
}

}  // namespace vtest
