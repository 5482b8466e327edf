#pragma once
// The directory chooser on Windows: the system's drives (GetLogicalDrives,
// with their types and volume labels) in a drop-down list and the directory
// list of the current path. Its rules are DirSelectRules': the caller sets
// the directory, then the drive (a drive other than the one shown is a drive
// change), then the caption, and shows it modally; OK puts the directory into
// gSelectDir, Cancel leaves gSelectDir alone. A drive that is not ready is
// reported under "액세스 에러" and the lists go back.

#include <windows.h>

#include <string>
#include <vector>

#include "DirSelectRules.h"

class frmDirSelect : private DirSelectRules::DriveChangeView {
 public:
  struct DriveEntry {
    std::string drive;  // "C:"
    std::string text;   // "C: [SYSTEM]"
    UINT type;          // GetDriveTypeW
  };

  // Form_Load: the lists show the program's current drive and directory.
  frmDirSelect();

  // dirList.Path: opens dir; an existing directory only (else no change).
  void SetDirPath(const std::string& dir) override;
  // drvList.Drive: selects the drive; another one than shown is a drive
  // change, whose error box has owner as its owner until the dialog shows.
  void SelectDriveOf(const std::string& drive, HWND owner);
  void SetCaption(const std::string& caption) { m_caption = caption; }
  // Shows the dialog modally over owner; IDOK or IDCANCEL.
  INT_PTR Show(HWND owner);

  std::string DirPath() const override { return m_path; }
  std::string Drive() const override { return m_drive; }
  static std::vector<DriveEntry> SystemDrives();

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void Build();
  void FillDirList();
  void ShowDrive();
  void cmdOK_Click();

  std::optional<std::string> OpenSelectedDrive() override;
  void SelectDrive(const std::string& drive) override;
  void ShowAccessError(const std::string& text) override;

  std::vector<DriveEntry> m_drives;
  std::vector<std::string> m_entries;  // the directory list's paths, by row
  std::string m_path;
  std::string m_drive;
  std::string m_caption;
  DirSelectRules::DriveChange m_change;
  HWND m_hWnd = nullptr;
  HWND m_owner = nullptr;
  HBITMAP m_tile = nullptr;
  HFONT m_font = nullptr;
};
