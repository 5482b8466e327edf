#include "frmMain_win32.h"

#include <commctrl.h>

#include "CommSettings.h"
#include "DirSelectRules.h"
#include "FileOps.h"
#include "FolderProblem.h"
#include "MousePointer.h"
#include "NumericText.h"
#include "PictureBox_win32.h"
#include "PortErrorText.h"
#include "RunNotice.h"
#include "SettingsStore.h"
#include "StartSettings.h"
#include "StockFile.h"
#include "ToolbarCommands.h"
#include "TransferCommand.h"
#include "TransferLibrary_win32.h"
#include "VarDefine.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmDirSelect_win32.h"
#include "frmMainLayout.h"
#include "frmPortSetting_win32.h"
#include "resource_ids.h"

frmMain::frmMain(const Services& services) : m_services(services) {}

frmMain::~frmMain() {
  if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
  for (HFONT font : {m_fontHeading, m_fontLabel, m_fontBox, m_fontLine, m_fontStatus, m_fontDefault}) {
    if (font != nullptr) DeleteObject(font);
  }
  for (HBITMAP picture : m_pictures) {
    if (picture != nullptr) DeleteObject(picture);
  }
  if (m_images != nullptr) ImageList_Destroy(m_images);
  if (m_white != nullptr) DeleteObject(m_white);
}

std::string frmMain::BoxText(int id) const { return Utf8(Win32Ui::Text(GetDlgItem(m_hWnd, id))); }

void frmMain::Show() {
  ShowWindow(m_hWnd, SW_SHOWNORMAL);
  SetForegroundWindow(m_hWnd);
  // With tab index 0, the send directory's button holds the focus.
  m_focus = GetDlgItem(m_hWnd, IDC_CMDSENDDIRSET);
  SetFocus(m_focus);
}

void frmMain::Form_Load() {
  const DirectoryBoxes boxes = LoadStartSettings(m_services.settings);
  Win32Ui::SetText(GetDlgItem(m_hWnd, IDC_TXTSENDDIR), boxes.sendDir);
  Win32Ui::SetText(GetDlgItem(m_hWnd, IDC_TXTRECVDIR), boxes.recvDir);
  FP_SetPortNo();
}

void frmMain::FP_SetPortNo() {
  const CommSettings::InEffect inEffect = CommSettings::ReadInEffect(m_services.settings);
  gPortNo = inEffect.portNo;
  gBaudRate = inEffect.baudRate;
  SendDlgItemMessageW(m_hWnd, IDC_SBRSTATUS, SB_SETTEXTW, 0,
                      reinterpret_cast<LPARAM>(Wide(inEffect.statusText).c_str()));
}

void frmMain::Form_Activate() {
  if (m_splash != nullptr && IsWindow(m_splash)) DestroyWindow(m_splash);
  m_splash = nullptr;
}

bool frmMain::Form_QueryUnload() {
  return Win32Ui::ShowMessage(m_hWnd, frmMainLayout::kExitQuestion, frmMainLayout::kExitQuestionCaption,
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void frmMain::Form_Unload() {}

void frmMain::cmdSendDirSet_Click() {
  ChooseDirectory(IDC_TXTSENDDIR, DirSelectRules::kSendTitle, VarDefine::kKeySendDir);
}

void frmMain::cmdRecvDirSet_Click() {
  ChooseDirectory(IDC_TXTRECVDIR, DirSelectRules::kRecvTitle, VarDefine::kKeyRecvDir);
}

void frmMain::ChooseDirectory(int boxId, const char* title, const char* key) {
  MousePointer::SetHourglass();
  frmDirSelect chooser;
  const std::string text = BoxText(boxId);
  gSelectDir = text;
  // The directory first, then its drive: a drive other than the one the
  // chooser opened on is a drive change.
  chooser.SetDirPath(DirSelectRules::UpperCase(text));
  chooser.SelectDriveOf(DirSelectRules::DriveOfText(text), m_hWnd);
  chooser.SetCaption(title);
  chooser.Show(m_hWnd);
  const std::string chosen = DirSelectRules::WithFinalSeparator(gSelectDir, FileOps::Separator());
  Win32Ui::SetText(GetDlgItem(m_hWnd, boxId), chosen);
  WriteSetting(m_services.settings, key, chosen);
}

void frmMain::StoreTypedDirectory(int boxId, const char* key) {
  // A directory typed into a box is kept like a chosen one.
  const std::string text = BoxText(boxId);
  if (NumericText::Trim(text).empty()) return;
  const std::string kept = DirSelectRules::WithFinalSeparator(text, FileOps::Separator());
  if (m_services.settings.Read(key, std::string()) != kept) WriteSetting(m_services.settings, key, kept);
}

void frmMain::picSendButton_Click() {
  // Disabling the window takes the focus from its controls; the operator
  // gets it back where it was, so that Enter starts the next transfer.
  HWND focus = GetFocus();
  EnableWindow(m_hWnd, FALSE);
  m_transferring = true;
  StoreTypedDirectory(IDC_TXTRECVDIR, VarDefine::kKeyRecvDir);
  StoreTypedDirectory(IDC_TXTSENDDIR, VarDefine::kKeySendDir);
  m_ports.Apply(m_services.settings);
  const std::string recvDir = BoxText(IDC_TXTRECVDIR);
  const vantor::TransferArgs args = TransferCommand::MakeArgs(
      recvDir, BoxText(IDC_TXTSENDDIR), IsDlgButtonChecked(m_hWnd, IDC_CHKFILEMODE) == BST_CHECKED);
  const RunNotice notice(m_services.settings, args);
  std::optional<int> result = m_services.library.Run(args);
  while (result && ReportResult(*result, args.portNo)) result = m_services.library.Run(args);
  // Whatever the result, a received stock file gets its time-stamped name.
  StockFile::RenamedPaths stock;
  StockFile::RenameReceived(recvDir, m_services.clock.Now(), &stock);
  if (result) notice.Send(m_services.notifier, *result, stock);
  MousePointer::SetDefault();
  m_transferring = false;
  EnableWindow(m_hWnd, TRUE);
  if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
}

bool frmMain::ReportResult(int result, int portNo) {
  if (result == VANTOR_PORT_ERROR) {
    // The library's reason went to its log; the device is opened once more
    // here to learn it.
    PortErrorFacts facts;
    facts.portNo = portNo;
    facts.device = PortDevices::DeviceOf(portNo);
    facts.reason = PortOpenReason(facts.device);
    facts.fromEnvironment = m_ports.FromEnvironment(portNo);
    facts.settingsFile = m_services.settings.Location();
    facts.inRegistry = true;
    Win32Ui::ShowMessage(m_hWnd, PortErrorText(facts), VarDefine::kAppTitle, MB_OK);
    return false;
  }
  if (result == VANTOR_RECV_DIR_ERROR || result == VANTOR_SEND_DIR_ERROR) return ReportFolderError(result);
  const char* message = TransferCommand::ResultMessage(result);
  if (message != nullptr) Win32Ui::ShowMessage(m_hWnd, message, VarDefine::kAppTitle, MB_OK);
  return false;
}

bool frmMain::ReportFolderError(int result) {
  const bool recv = result == VANTOR_RECV_DIR_ERROR;
  const std::string dir = BoxText(recv ? IDC_TXTRECVDIR : IDC_TXTSENDDIR);
  const FolderMessage message = FolderErrorMessage(result, dir, CheckFolder(dir, recv));
  if (!message.offerCreate) {
    Win32Ui::ShowMessage(m_hWnd, message.text, VarDefine::kAppTitle, MB_OK);
    return false;
  }
  if (Win32Ui::ShowMessage(m_hWnd, message.text, VarDefine::kAppTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  std::string reason;
  if (MakeFolder(dir, &reason)) return true;
  Win32Ui::ShowMessage(m_hWnd, FolderNotMadeMessage(result, dir, reason), VarDefine::kAppTitle, MB_OK | MB_ICONWARNING);
  return false;
}

wchar_t frmMain::picSendButton_KeyPress(wchar_t key) {
  if (key != 13) return key;
  picSendButton_Click();
  return 0;
}

void frmMain::picSendButton_GotFocus() { ShowWindow(GetDlgItem(m_hWnd, IDC_SHAPE1), SW_SHOW); }

void frmMain::picSendButton_LostFocus() { ShowWindow(GetDlgItem(m_hWnd, IDC_SHAPE1), SW_HIDE); }

void frmMain::Toolbar1_ButtonClick(const std::string& key) {
  switch (CommandOfKey(key)) {
    case ToolbarCommand::Exit: PostMessageW(m_hWnd, WM_CLOSE, 0, 0); break;
    case ToolbarCommand::Setting:
      ShowPortSetting(m_hWnd, m_services.settings, m_ports);
      // OK or Cancel alike: the store decides what is in effect.
      FP_SetPortNo();
      break;
    case ToolbarCommand::None: break;
  }
}

void frmMain::OnCommand(int id, WORD code) {
  switch (id) {
    case IDC_CMDSENDDIRSET:
      if (code == BN_CLICKED) cmdSendDirSet_Click();
      break;
    case IDC_CMDRECVDIRSET:
      if (code == BN_CLICKED) cmdRecvDirSet_Click();
      break;
    case IDC_PICSENDBUTTON:
      if (code == PictureBox::kClick) picSendButton_Click();
      if (code == PictureBox::kGotFocus) picSendButton_GotFocus();
      if (code == PictureBox::kLostFocus) picSendButton_LostFocus();
      break;
    // A folder typed into a box is kept when the box is left; Enter, which
    // the window's dialog navigation turns into IDOK, keeps both.
    case IDC_TXTRECVDIR:
      if (code == EN_KILLFOCUS) StoreTypedDirectory(IDC_TXTRECVDIR, VarDefine::kKeyRecvDir);
      break;
    case IDC_TXTSENDDIR:
      if (code == EN_KILLFOCUS) StoreTypedDirectory(IDC_TXTSENDDIR, VarDefine::kKeySendDir);
      break;
    case IDOK:
      StoreTypedDirectory(IDC_TXTRECVDIR, VarDefine::kKeyRecvDir);
      StoreTypedDirectory(IDC_TXTSENDDIR, VarDefine::kKeySendDir);
      break;
    case IDC_TOOL_EXIT: Toolbar1_ButtonClick(frmMainLayout::kExitKey); break;
    case IDC_TOOL_SETTING: Toolbar1_ButtonClick(frmMainLayout::kSettingKey); break;
    default: break;
  }
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case PictureBox::kKeyPressMessage: return picSendButton_KeyPress(static_cast<wchar_t>(wParam));
    case WM_ACTIVATE:
      // A window that is not a dialog keeps no focus of its own: it is kept
      // here while another window is active.
      if (LOWORD(wParam) == WA_INACTIVE) {
        m_focus = GetFocus();
      } else {
        Form_Activate();
        if (m_focus != nullptr && IsWindow(m_focus)) SetFocus(m_focus);
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      SetTextColor(dc, id == IDC_LABEL2 ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(m_white);
    }
    case WM_TIMER: UpdateDate(); return 0;
    case WM_SETCURSOR:
      if (MousePointer::IsHourglass()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SETTINGCHANGE: UpdateDate(); break;  // the short date format may have changed
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
      // While RunVantor runs the transfer window's own Cancel ends the run.
      if (m_transferring) return msg == WM_QUERYENDSESSION ? FALSE : 0;
      // Every way of closing asks the same question.
      if (!Form_QueryUnload()) return msg == WM_QUERYENDSESSION ? FALSE : 0;
      if (msg == WM_QUERYENDSESSION) return TRUE;
      Form_Unload();
      DestroyWindow(m_hWnd);
      return 0;
    case WM_DESTROY:
      KillTimer(m_hWnd, 1);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: m_hWnd = nullptr; break;
    default: break;
  }
  return DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK frmMain::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->m_hWnd = hWnd;
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  return self != nullptr ? self->OnMessage(msg, wParam, lParam) : DefWindowProcW(hWnd, msg, wParam, lParam);
}
