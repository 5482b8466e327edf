#include "frmDirSelect_win32.h"

#include <algorithm>

#include "FileOps.h"
#include "MousePointer.h"
#include "TileBackground_win32.h"
#include "VarDefine.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmDirSelectLayout.h"
#include "resource_ids.h"

namespace {

using namespace frmDirSelectLayout;

constexpr int kIndentPerLevel = 2;  // blanks before a name per level

std::string CurrentDirectory() {
  std::wstring dir(MAX_PATH, L'\0');
  dir.resize(GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), dir.data()));
  return Utf8(dir);
}

// The directory list's form of a path: no final "\" except at a drive's root.
std::string ListForm(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  if (path.size() == 2 && path[1] == ':') path += '\\';
  return path;
}

std::vector<std::string> Subdirectories(const std::string& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = Wide(DirSelectRules::WithFinalSeparator(dir, '\\')) + L"*";
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const bool directory = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      const bool unseen = found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
      const std::wstring name = found.cFileName;
      if (directory && !unseen && name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; });
  std::vector<std::string> out;
  for (const std::wstring& name : names) out.push_back(Utf8(name));
  return out;
}

}  // namespace

std::vector<frmDirSelect::DriveEntry> frmDirSelect::SystemDrives() {
  // A drive without its medium must not bring the system's own box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::vector<DriveEntry> drives;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    const std::string drive = std::string(1, static_cast<char>('A' + i)) + ":";
    const std::wstring root = Wide(drive + "\\");
    const UINT type = GetDriveTypeW(root.c_str());
    std::string text = drive;
    // Fixed and network drives show their volume label; removable ones are
    // not touched, so that listing them never waits for a medium.
    if (type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_RAMDISK) {
      wchar_t label[MAX_PATH + 1] = {};
      if (GetVolumeInformationW(root.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0) && label[0]) {
        text += " [" + Utf8(label) + "]";
      }
    }
    drives.push_back({drive, text, type});
  }
  return drives;
}

frmDirSelect::frmDirSelect() : m_drives(SystemDrives()) {
  const std::string current = CurrentDirectory();
  m_path = ListForm(current);
  m_drive = DirSelectRules::DriveOfText(current);
  m_change.Loaded(m_drive);
  MousePointer::SetDefault();
}

void frmDirSelect::SetDirPath(const std::string& dir) {
  if (dir.empty() || !FileOps::DirectoryExists(dir)) return;
  std::wstring full(MAX_PATH, L'\0');
  full.resize(GetFullPathNameW(Wide(dir).c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  const std::string path = ListForm(Utf8(full));
  if (path == m_path) return;
  m_path = path;
  if (m_hWnd != nullptr) FillDirList();
}

void frmDirSelect::SelectDriveOf(const std::string& drive, HWND owner) {
  m_owner = owner;
  SelectDrive(drive);
}

void frmDirSelect::SelectDrive(const std::string& drive) {
  const auto known =
      std::find_if(m_drives.begin(), m_drives.end(), [&](const DriveEntry& entry) { return entry.drive == drive; });
  if (known == m_drives.end() || drive == m_drive) return;  // an unknown drive or the same one: no change
  m_drive = drive;
  if (m_hWnd != nullptr) ShowDrive();
  m_change.Changed(*this);
}

std::optional<std::string> frmDirSelect::OpenSelectedDrive() {
  const std::wstring root = Wide(m_drive + "\\");
  if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) {
    return SystemMessage(GetLastError());
  }
  // The drive's own current directory, as the system keeps one per drive.
  std::wstring current(MAX_PATH, L'\0');
  current.resize(GetFullPathNameW(Wide(m_drive).c_str(), static_cast<DWORD>(current.size()), current.data(), nullptr));
  const std::string dir = Utf8(current);
  SetDirPath(FileOps::DirectoryExists(dir) ? dir : m_drive + "\\");
  return std::nullopt;
}

void frmDirSelect::ShowAccessError(const std::string& text) {
  Win32Ui::ShowMessage(m_hWnd != nullptr ? m_hWnd : m_owner, text, DirSelectRules::kAccessErrorTitle,
                       MB_OK | MB_ICONERROR);
}

void frmDirSelect::ShowDrive() {
  for (std::size_t i = 0; i < m_drives.size(); ++i) {
    if (m_drives[i].drive == m_drive) SendDlgItemMessageW(m_hWnd, IDC_DS_DRVLIST, CB_SETCURSEL, i, 0);
  }
}

void frmDirSelect::FillDirList() {
  HWND list = GetDlgItem(m_hWnd, IDC_DS_DIRLIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  m_entries.clear();
  auto add = [&](const std::string& name, const std::string& path, std::size_t depth) {
    const std::string text = std::string(depth * kIndentPerLevel, ' ') + name;
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    m_entries.push_back(path);
  };
  // The levels from the drive's root down to the path, then its
  // subdirectories.
  std::string walked = m_path.substr(0, 3);
  add(walked, walked, 0);
  std::size_t depth = 0;
  std::size_t start = 3;
  while (start < m_path.size()) {
    const std::size_t end = std::min(m_path.find('\\', start), m_path.size());
    const std::string name = m_path.substr(start, end - start);
    walked = ListForm(DirSelectRules::WithFinalSeparator(walked, '\\') + name);
    add(name, walked, ++depth);
    start = end + 1;
  }
  SendMessageW(list, LB_SETCURSEL, m_entries.size() - 1, 0);
  for (const std::string& child : Subdirectories(m_path)) {
    add(child, DirSelectRules::WithFinalSeparator(m_path, '\\') + child, depth + 1);
  }
}

void frmDirSelect::Build() {
  m_font = Win32Ui::Gulim(9);
  m_tile = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TILE_DIR), IMAGE_BITMAP, 0, 0, 0));
  Win32Ui::SetClientSize(m_hWnd, Win32Ui::ToPixels(kClientWidth), Win32Ui::ToPixels(kClientHeight));
  // Tab order: dirList, drvList, cmdCancel, cmdOK.
  Win32Ui::AddChild(m_hWnd, L"LISTBOX", "", WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    kDirList, IDC_DS_DIRLIST, m_font);
  HWND drives = Win32Ui::AddChild(m_hWnd, L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                  {kDrvList.left, kDrvList.top, kDrvList.width, 2000}, IDC_DS_DRVLIST, m_font);
  Win32Ui::AddChild(m_hWnd, L"BUTTON", DirSelectRules::kCancelText, WS_TABSTOP | BS_PUSHBUTTON, kCmdCancel,
                    IDC_DS_CMDCANCEL, m_font);
  Win32Ui::AddChild(m_hWnd, L"BUTTON", DirSelectRules::kOkText, WS_TABSTOP | BS_DEFPUSHBUTTON, kCmdOK, IDC_DS_CMDOK,
                    m_font);
  for (const DriveEntry& entry : m_drives) {
    SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry.text).c_str()));
  }
  ShowDrive();
  FillDirList();
  Win32Ui::CentreOver(m_hWnd, m_owner);
  SetFocus(GetDlgItem(m_hWnd, IDC_DS_DIRLIST));
}

void frmDirSelect::cmdOK_Click() {
  // A folder picked with one click and confirmed is the folder meant, as in
  // the Linux program.
  const LRESULT row = SendDlgItemMessageW(m_hWnd, IDC_DS_DIRLIST, LB_GETCURSEL, 0, 0);
  gSelectDir = row >= 0 && static_cast<std::size_t>(row) < m_entries.size() ? m_entries[row] : m_path;
  EndDialog(m_hWnd, IDOK);
}

INT_PTR frmDirSelect::OnMessage(UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_ERASEBKGND: TileBackground(reinterpret_cast<HDC>(wParam), m_tile, m_hWnd); return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_DS_CMDOK: cmdOK_Click(); return TRUE;
        case IDC_DS_CMDCANCEL: EndDialog(m_hWnd, IDCANCEL); return TRUE;
        case IDC_DS_DIRLIST:
          if (HIWORD(wParam) == LBN_DBLCLK) {
            const LRESULT row = SendDlgItemMessageW(m_hWnd, IDC_DS_DIRLIST, LB_GETCURSEL, 0, 0);
            if (row >= 0 && static_cast<std::size_t>(row) < m_entries.size()) SetDirPath(m_entries[row]);
          }
          return TRUE;
        case IDC_DS_DRVLIST:
          if (HIWORD(wParam) == CBN_SETFOCUS) m_change.GotFocus(m_drive);
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            const LRESULT row = SendDlgItemMessageW(m_hWnd, IDC_DS_DRVLIST, CB_GETCURSEL, 0, 0);
            if (row >= 0 && static_cast<std::size_t>(row) < m_drives.size()) SelectDrive(m_drives[row].drive);
          }
          return TRUE;
        default: return FALSE;
      }
    case WM_DESTROY:
      if (m_tile != nullptr) DeleteObject(m_tile);
      if (m_font != nullptr) DeleteObject(m_font);
      m_tile = nullptr;
      m_font = nullptr;
      return FALSE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK frmDirSelect::Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<frmDirSelect*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->m_hWnd = dialog;
    self->Build();
    return FALSE;
  }
  auto* self = reinterpret_cast<frmDirSelect*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  const INT_PTR result = self->OnMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) self->m_hWnd = nullptr;
  return result;
}

INT_PTR frmDirSelect::Show(HWND owner) {
  m_owner = owner;
  return Win32Ui::RunModal(owner, m_caption, &frmDirSelect::Proc, reinterpret_cast<LPARAM>(this));
}
