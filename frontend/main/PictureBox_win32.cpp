#include "PictureBox_win32.h"

namespace PictureBox {

namespace {

struct State {
  HBITMAP picture = nullptr;
  COLORREF background = RGB(255, 255, 255);
  bool hand = false;
};

State* StateOf(HWND box) { return reinterpret_cast<State*>(GetWindowLongPtrW(box, GWLP_USERDATA)); }

void Notify(HWND box, WORD code) {
  SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), code), reinterpret_cast<LPARAM>(box));
}

void Paint(HWND box, const State& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(box, &ps);
  RECT client;
  GetClientRect(box, &client);
  HBRUSH brush = CreateSolidBrush(state.background);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  if (state.picture != nullptr) {
    BITMAP info{};
    GetObjectW(state.picture, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, state.picture);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  EndPaint(box, &ps);
}

LRESULT CALLBACK Proc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
  State* state = StateOf(box);
  switch (msg) {
    case WM_NCCREATE: SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new State)); break;
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(box, GWLP_USERDATA, 0);
      break;
    case WM_PAINT:
      if (state != nullptr) Paint(box, *state);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR:
      if (state != nullptr && state->hand && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (GetWindowLongPtrW(box, GWL_STYLE) & WS_TABSTOP) SetFocus(box);
      return 0;
    case WM_LBUTTONUP: {
      RECT client;
      GetClientRect(box, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (PtInRect(&client, at)) Notify(box, kClick);
      return 0;
    }
    case WM_GETDLGCODE:
      // Enter comes to the box as a character instead of pressing the
      // dialog's default button; Tab still moves on.
      if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
        return DLGC_WANTMESSAGE;
      }
      return DLGC_WANTCHARS;
    case WM_CHAR: SendMessageW(GetParent(box), kKeyPressMessage, wParam, reinterpret_cast<LPARAM>(box)); return 0;
    case WM_SETFOCUS: Notify(box, kGotFocus); return 0;
    case WM_KILLFOCUS: Notify(box, kLostFocus); return 0;
    default: break;
  }
  return DefWindowProcW(box, msg, wParam, lParam);
}

}  // namespace

void Register() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // a second registration fails harmlessly
}

void SetPicture(HWND box, HBITMAP picture, COLORREF background, bool handCursor) {
  if (State* state = StateOf(box)) {
    state->picture = picture;
    state->background = background;
    state->hand = handCursor;
    InvalidateRect(box, nullptr, TRUE);
  }
}

}  // namespace PictureBox
