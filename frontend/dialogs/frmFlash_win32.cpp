#include "frmFlash_win32.h"

#include "MousePointer.h"
#include "PictureBox_win32.h"
#include "SplashRules.h"
#include "VarDefine.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmFlashLayout.h"
#include "resource_ids.h"

using namespace frmFlashLayout;

frmFlash::~frmFlash() {
  if (m_hWnd != nullptr && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  if (m_artwork != nullptr) DeleteObject(m_artwork);
}

bool frmFlash::Show() {
  static bool registered = false;
  if (!registered) {
    registered = true;
    PictureBox::Register();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &frmFlash::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  }
  m_artwork =
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, 0));
  m_hWnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, Wide(VarDefine::kMainCaption).c_str(),
                           WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), this);
  if (m_hWnd == nullptr) return false;
  Win32Ui::SetClientSize(m_hWnd, Win32Ui::ToPixels(kClientWidth), Win32Ui::ToPixels(kClientHeight));
  HWND picture =
      Win32Ui::AddChild(m_hWnd, PictureBox::kClassName, "", 0, kPicture1, IDC_FL_PICTURE1, nullptr, WS_EX_CLIENTEDGE);
  PictureBox::SetPicture(picture, m_artwork,
                         RGB(kPicture1Background[0], kPicture1Background[1], kPicture1Background[2]), false);
  Form_Load();
  ShowWindow(m_hWnd, SW_SHOWNORMAL);
  UpdateWindow(m_hWnd);
  return true;
}

void frmFlash::Form_Load() {
  RECT frame{};
  GetWindowRect(m_hWnd, &frame);
  const SplashRules::Point at =
      SplashRules::CentredOn(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             frame.right - frame.left, frame.bottom - frame.top);
  SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(m_hWnd, &m_animatedTo);
  // The caption grows from the screen's top-left corner to the window; its
  // result is not used.
  const RECT from{0, 0, 0, 0};
  DrawAnimatedRects(m_hWnd, IDANI_CAPTION, &from, &m_animatedTo);
}

void frmFlash::Form_Unload() { MousePointer::SetDefault(); }

LRESULT CALLBACK frmFlash::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<frmFlash*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  switch (msg) {
    case WM_SETCURSOR:
      if (MousePointer::IsHourglass()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (self != nullptr) self->Form_Unload();
      break;
    case WM_NCDESTROY:
      if (self != nullptr) self->m_hWnd = nullptr;
      break;
    default: break;
  }
  return DefWindowProcW(hWnd, msg, wParam, lParam);
}
