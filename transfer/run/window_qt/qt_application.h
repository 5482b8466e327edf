#pragma once
// The application object that the library makes for one transfer when the
// calling process has none (a command-line program): made with the platform
// that ChooseQtPlatform picked, and released with the window. Qt sets the
// process's C locale when it starts; the caller's locale is put back at once
// and again on release, so that the library converts file names the same way
// with a window as without one and the caller finds its process unchanged.

#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace vantor {

class CQtApplication {
 public:
  explicit CQtApplication(const std::string& platform);
  ~CQtApplication();
  CQtApplication(const CQtApplication&) = delete;
  CQtApplication& operator=(const CQtApplication&) = delete;

 private:
  std::string m_savedLocale;
  // Qt keeps argc and argv for the application's lifetime.
  std::vector<std::string> m_args;
  std::vector<char*> m_argv;
  int m_argc = 0;
  std::unique_ptr<QApplication> m_app;
};

}  // namespace vantor
