#pragma once
// The directory chooser's rules, whatever draws it. The main window sets the
// chooser's directory list to its text, then the drive list to the text's
// drive, and its title; after the chooser closes, the text gets a final
// separator when it lacks one and is stored, OK or Cancel alike.
//
// A drive change that fails (a drive that is not ready) is reported under
// "액세스 에러"; the drive list then returns to the drive it showed when it
// last took the focus and the directory list to the directory it showed
// before. Before the drive list ever had the focus there is no earlier choice
// of the operator's; the drive shown before the change serves instead.

#include <optional>
#include <string>

namespace DirSelectRules {

inline constexpr char kRecvTitle[] = " 데이터 파일이 저장될 디렉토리 설정";
inline constexpr char kSendTitle[] = " 마스터 파일이 있는 디렉토리 설정";
inline constexpr char kAccessErrorTitle[] = "액세스 에러";
inline constexpr char kOkText[] = "확  인";
inline constexpr char kCancelText[] = "취 소";

// text with the separator appended unless it ends with one.
std::string WithFinalSeparator(const std::string& text, char separator);
// text with its ASCII letters in upper case (Hangul has no case).
std::string UpperCase(const std::string& text);
// The drive of a directory text on Windows: its first two characters in upper
// case ("C:").
std::string DriveOfText(const std::string& text);

// What the chooser's lists offer the rules of a drive change.
class DriveChangeView {
 public:
  virtual ~DriveChangeView() = default;
  virtual std::string DirPath() const = 0;
  virtual std::string Drive() const = 0;
  // Shows the current directory of the drive now selected; the system's
  // description of the error when the drive cannot be read.
  virtual std::optional<std::string> OpenSelectedDrive() = 0;
  // Selecting another drive runs DriveChanged again (a drive change).
  virtual void SelectDrive(const std::string& drive) = 0;
  virtual void SetDirPath(const std::string& path) = 0;
  virtual void ShowAccessError(const std::string& text) = 0;
};

class DriveChange {
 public:
  // The drive the list shows when the chooser has loaded.
  void Loaded(const std::string& drive) { m_driveBefore = drive; }
  // drvList_GotFocus.
  void GotFocus(const std::string& drive) { mLastDrive = drive; }
  // drvList_Change.
  void Changed(DriveChangeView& view);
  const std::string& LastDrive() const { return mLastDrive; }

 private:
  std::string mLastDrive;
  std::string m_driveBefore;
};

}  // namespace DirSelectRules
