// The controls of the main window on Windows, at their twips places from
// frmMainLayout. They are made in the order of their tab indexes, which is
// the order the dialog manager's Tab follows.

#include <windows.h>

#include <commctrl.h>

#include "CommSettings.h"
#include "PictureBox_win32.h"
#include "VarDefine.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmMainLayout.h"
#include "frmMain_win32.h"
#include "resource_ids.h"

namespace {

using namespace frmMainLayout;

// How often the date panel looks at the calendar.
constexpr UINT kDateRefreshMs = 30 * 1000;
constexpr UINT_PTR kDateTimer = 1;

HBITMAP LoadPicture(int id) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

void Register(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  done = true;
  PictureBox::Register();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_RTKELVANE));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = frmMain::kClassName;
  RegisterClassExW(&wc);
}

}  // namespace

HWND frmMain::Create() {
  Register(&frmMain::Proc);
  HWND hWnd = CreateWindowExW(0, kClassName, Wide(VarDefine::kMainCaption).c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (hWnd == nullptr) return nullptr;
  Win32Ui::SetClientSize(hWnd, Win32Ui::ToPixels(kClientWidth), Win32Ui::ToPixels(kClientHeight));
  Win32Ui::CentreOver(hWnd, nullptr);
  BuildControls();
  Form_Load();
  return hWnd;
}

void frmMain::BuildControls() {
  m_white = CreateSolidBrush(RGB(255, 255, 255));
  m_fontDefault = Win32Ui::Gulim(9);
  m_fontHeading = Win32Ui::Gulim(12, true, true);
  m_fontLabel = Win32Ui::Gulim(9.75);
  m_fontBox = Win32Ui::Arial(9.75, true);
  m_fontLine = Win32Ui::Gulim(11.25);
  m_fontStatus = Win32Ui::Arial(9);
  m_pictures[0] = LoadPicture(IDB_COMPUTERS);
  m_pictures[1] = LoadPicture(IDB_ARROW);
  m_pictures[2] = LoadPicture(IDB_TERMINAL);
  const DWORD clip = WS_CLIPSIBLINGS;
  const DWORD button = clip | WS_TABSTOP | BS_PUSHBUTTON;
  const DWORD box = clip | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

  // Tab index 0, 1, 2: the two "..." buttons and the transfer button.
  Win32Ui::AddChild(m_hWnd, L"BUTTON", kDirButtonText, button, kCmdSendDirSet, IDC_CMDSENDDIRSET, m_fontDefault);
  Win32Ui::AddChild(m_hWnd, L"BUTTON", kDirButtonText, button, kCmdRecvDirSet, IDC_CMDRECVDIRSET, m_fontDefault);
  HWND send = Win32Ui::AddChild(m_hWnd, PictureBox::kClassName, "", clip | WS_TABSTOP, kPicSendButton,
                                IDC_PICSENDBUTTON, nullptr);
  PictureBox::SetPicture(send, m_pictures[0], RGB(255, 255, 255), true);
  BuildToolbar();                                                                                              // 4
  Win32Ui::AddChild(m_hWnd, L"EDIT", "", box, kTxtRecvDir, IDC_TXTRECVDIR, m_fontBox);                         // 5
  HWND arrow = Win32Ui::AddChild(m_hWnd, PictureBox::kClassName, "", clip, kPicture6, IDC_PICTURE6, nullptr);  // 6
  PictureBox::SetPicture(arrow, m_pictures[1], RGB(255, 255, 255), false);
  Win32Ui::AddChild(m_hWnd, L"EDIT", "", box, kTxtSendDir, IDC_TXTSENDDIR, m_fontBox);  // 7
  Win32Ui::AddChild(m_hWnd, L"STATIC", kLabel2Text, clip | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel2, IDC_LABEL2,
                    m_fontHeading);  // 8
  Win32Ui::AddChild(m_hWnd, L"STATIC", kLabel1_2Text, clip | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel1_2, IDC_LABEL1_2,
                    m_fontLabel);                                                                               // 9
  HWND terminal = Win32Ui::AddChild(m_hWnd, PictureBox::kClassName, "", clip, kPicDisp, IDC_PICDISP, nullptr);  // 10
  PictureBox::SetPicture(terminal, m_pictures[2], RGB(255, 255, 255), false);
  Win32Ui::AddChild(m_hWnd, L"STATIC", kLabel1_0Text, clip | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel1_0, IDC_LABEL1_0,
                    m_fontLabel);  // 11
  BuildStatusBar();                // 12
  Win32Ui::AddChild(m_hWnd, L"BUTTON", kChkFileModeText, clip | WS_TABSTOP | BS_AUTOCHECKBOX, kChkFileMode,
                    IDC_CHKFILEMODE, m_fontDefault);  // 13; unchecked at every start
  Win32Ui::AddChild(m_hWnd, L"STATIC", kLabel3Text, clip | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, kLabel3,
                    IDC_LABEL3,
                    m_fontLine);  // 15
  // The outline around the transfer button, below it, hidden until the
  // button has the focus.
  HWND shape = Win32Ui::AddChild(m_hWnd, L"STATIC", "", clip | SS_BLACKFRAME, kShape1, IDC_SHAPE1, nullptr);
  ShowWindow(shape, SW_HIDE);

  // The transfer button's tooltip.
  HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_hWnd, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  const std::wstring tip = Wide(kPicSendButtonTip);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(send);
  tool.lpszText = const_cast<wchar_t*>(tip.c_str());
  SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void frmMain::BuildToolbar() {
  HWND bar =
      CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
                          CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                      0, 0, Win32Ui::ToPixels(kClientWidth), Win32Ui::ToPixels(kToolbarHeight), m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR1)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontDefault), FALSE);
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // ImageList1: eight 22 x 22 icons from one strip, magenta transparent.
  m_images = ImageList_Create(22, 22, ILC_COLOR24 | ILC_MASK, 8, 0);
  HBITMAP strip = LoadPicture(IDB_TOOLBAR);
  ImageList_AddMasked(m_images, strip, RGB(255, 0, 255));
  DeleteObject(strip);
  SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
  const std::wstring exitText = Wide(kExitCaption);
  const std::wstring settingText = Wide(kSettingCaption);
  TBBUTTON buttons[2] = {};
  buttons[0].iBitmap = 0;  // the open door
  buttons[0].idCommand = IDC_TOOL_EXIT;
  buttons[0].fsState = TBSTATE_ENABLED;
  buttons[0].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
  buttons[0].iString = reinterpret_cast<INT_PTR>(exitText.c_str());
  buttons[1].iBitmap = 4;  // the telephone with the green circle
  buttons[1].idCommand = IDC_TOOL_SETTING;
  buttons[1].fsState = TBSTATE_ENABLED;
  buttons[1].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
  buttons[1].iString = reinterpret_cast<INT_PTR>(settingText.c_str());
  SendMessageW(bar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
  // Only the exit button has a tooltip; the toolbar asks for it.
  HWND tips = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
  if (tips != nullptr) {
    static const std::wstring exitTip = Wide(kExitTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = bar;
    tool.uId = IDC_TOOL_EXIT;
    tool.lpszText = const_cast<wchar_t*>(exitTip.c_str());
    SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.uId = IDC_TOOL_SETTING;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void frmMain::BuildStatusBar() {
  const int top = Win32Ui::ToPixels(kStatusTop);
  const int width = Win32Ui::ToPixels(kClientWidth);
  HWND bar =
      CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBARS_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
                      top, width, Win32Ui::ToPixels(kStatusHeight), m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SBRSTATUS)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontStatus), FALSE);
  // The state panel takes what the date panel leaves: at its nominal width
  // it would push the date out of the window.
  const int edges[2] = {width - Win32Ui::ToPixels(kDatePanelWidth), -1};
  SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(CommSettings::kStatusBeforeLoad).c_str()));
  SendMessageW(bar, SB_SETTIPTEXTW, 0, reinterpret_cast<LPARAM>(Wide(kStateTip).c_str()));
  SendMessageW(bar, SB_SETTIPTEXTW, 1, reinterpret_cast<LPARAM>(Wide(kDateTip).c_str()));
  UpdateDate();
  SetTimer(m_hWnd, kDateTimer, kDateRefreshMs, nullptr);
}

void frmMain::UpdateDate() {
  wchar_t date[80] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 80);
  SendDlgItemMessageW(m_hWnd, IDC_SBRSTATUS, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(date));
}
