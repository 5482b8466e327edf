#include "qt_application.h"

#include <QApplication>
#include <clocale>

#include "version_block.h"

namespace vantor {
namespace {

std::string CurrentLocale() {
  const char* name = std::setlocale(LC_ALL, nullptr);
  return name != nullptr ? name : "C";
}

}  // namespace

CQtApplication::CQtApplication(const std::string& platform)
    : m_savedLocale(CurrentLocale()), m_args{"Vantor2", "-platform", platform} {
  for (std::string& arg : m_args) m_argv.push_back(arg.data());
  m_argv.push_back(nullptr);
  m_argc = static_cast<int>(m_args.size());
  m_app = std::make_unique<QApplication>(m_argc, m_argv.data());
  std::setlocale(LC_ALL, m_savedLocale.c_str());
  QApplication::setApplicationName("Vantor2");
  QApplication::setApplicationVersion(QString::fromStdString(FormatVersion(LibraryVersionBlock().fileVersion)));
  // The transfer window is the only window; hiding it must not end anything.
  QApplication::setQuitOnLastWindowClosed(false);
}

CQtApplication::~CQtApplication() {
  m_app.reset();
  std::setlocale(LC_ALL, m_savedLocale.c_str());
}

}  // namespace vantor
