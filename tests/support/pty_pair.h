#pragma once
// A pseudo-terminal for the serial tests: the library opens the slave through
// VANTOR_COMn, the test terminal speaks on the master.

#include <string>

namespace vtest {

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return m_slavePath; }
  int MasterFd() const { return m_master; }
  // Closes the master: the library's side sees a hang-up.
  void CloseMaster();

 private:
  int m_master = -1;
  int m_slaveKeep = -1;  // keeps the line from hanging up before the library opens it
  std::string m_slavePath;
};

}  // namespace vtest
