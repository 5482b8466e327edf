#include "DirSelectRules.h"

namespace DirSelectRules {

std::string WithFinalSeparator(const std::string& text, char separator) {
  return !text.empty() && text.back() == separator ? text : text + separator;
}

std::string UpperCase(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string DriveOfText(const std::string& text) { return UpperCase(text.substr(0, 2)); }

void DriveChange::Changed(DriveChangeView& view) {
  const std::string remembered = view.DirPath();
  const std::optional<std::string> error = view.OpenSelectedDrive();
  if (!error) {
    m_driveBefore = view.Drive();
    return;
  }
  view.ShowAccessError(*error);
  const std::string back = mLastDrive.empty() ? m_driveBefore : mLastDrive;
  view.SelectDrive(back);
  view.SetDirPath(remembered);
}

}  // namespace DirSelectRules
