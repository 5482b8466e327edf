#pragma once
// A pseudo-terminal for the serial tests: the library opens the slave through
// VANTOR_COMn, the test terminal speaks on the master.

#include <string>

#include "unique_fd.h"

namespace vtest {

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return m_slavePath; }
  int MasterFd() const { return m_master.Get(); }
  // Closes the master: the library's side sees a hang-up.
  void CloseMaster();

 private:
  vantor::UniqueFd m_master;
  vantor::UniqueFd m_slaveKeep;  // keeps the line from hanging up before the library opens it
  std::string m_slavePath;
};

}  // namespace vtest
