#pragma once
// A second start of the program ends without a window of its own, but first
// asks the running instance to come to the front (restored if minimised), as
// desktop programs do. On Linux the running instance watches a file beside
// its lock, which a second start touches (FirstInstance_qt.cpp); on Windows
// the second start finds the main window by its class (FirstInstance_win32.cpp).

#include <string>

class frmMain;

class FirstInstance {
 public:
  // In the running instance: from now on a second start brings window to the
  // front. lockName is the instance lock's name.
  FirstInstance(const std::string& lockName, frmMain& window);
  ~FirstInstance();
  FirstInstance(const FirstInstance&) = delete;
  FirstInstance& operator=(const FirstInstance&) = delete;

  // In a second start: asks the running instance to come to the front; false
  // when it could not be reached.
  static bool AskToComeForward(const std::string& lockName);

 private:
  struct Watch;
  Watch* m_watch = nullptr;
};
