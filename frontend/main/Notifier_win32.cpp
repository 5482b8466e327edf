#include "Notifier_win32.h"

#include <cstdio>
#include <string>

#include "VarDefine.h"
#include "WideText.h"
#include "resource_ids.h"

namespace {

constexpr wchar_t kClassName[] = L"RTKelvaneNotify";

// text into a field of capacity characters (its end included), cut with
// "…" when it does not fit; a character of two UTF-16 units is never split.
template <std::size_t capacity>
void CopyCut(wchar_t (&field)[capacity], const std::wstring& text) {
  std::wstring kept = text;
  if (kept.size() > capacity - 1) {
    kept.resize(capacity - 2);
    if (!kept.empty() && IS_HIGH_SURROGATE(kept.back())) kept.pop_back();
    kept += L'\u2026';
  }
  wcsncpy(field, kept.c_str(), capacity - 1);
  field[capacity - 1] = L'\0';
}

HICON LoadProgramIcon(int sizeMetricX, int sizeMetricY) {
  auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_RTKELVANE), IMAGE_ICON,
                                             GetSystemMetrics(sizeMetricX), GetSystemMetrics(sizeMetricY), 0));
  // A program without the icon among its resources still shows a balloon.
  return icon != nullptr ? icon : CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
}

}  // namespace

TrayNotifier::TrayNotifier() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &TrayNotifier::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // already there for a second notifier
  m_hWnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
  m_icon = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
  m_largeIcon = LoadProgramIcon(SM_CXICON, SM_CYICON);
}

TrayNotifier::~TrayNotifier() {
  RemoveIcon();
  if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
  if (m_icon != nullptr) DestroyIcon(m_icon);
  if (m_largeIcon != nullptr) DestroyIcon(m_largeIcon);
}

void TrayNotifier::Notify(const std::string& title, const std::string& text) {
  if (m_hWnd == nullptr) {
    std::fprintf(stderr, "RTKelvane: no notification: no window for the notification area\n");
    return;
  }
  // A new icon for each balloon: the shell's late word about an earlier one
  // (its time up) never takes the new one away.
  RemoveIcon();
  ++m_id;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = m_hWnd;
  data.uID = m_id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = m_icon;
  CopyCut(data.szTip, Wide(VarDefine::kAppTitle));
  CopyCut(data.szInfoTitle, Wide(title));
  CopyCut(data.szInfo, Wide(text));
  data.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON;
  data.hBalloonIcon = m_largeIcon;
  m_sent = data;
  m_shown = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  if (!m_shown) std::fprintf(stderr, "RTKelvane: no notification: the notification area took no icon\n");
}

void TrayNotifier::RemoveIcon() {
  if (!m_shown) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = m_hWnd;
  data.uID = m_id;
  Shell_NotifyIconW(NIM_DELETE, &data);
  m_shown = false;
}

void TrayNotifier::OnIconEvent(UINT id, UINT event) {
  if (id != m_id) return;
  switch (event) {
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONUSERCLICK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: RemoveIcon(); break;
    default: break;
  }
}

LRESULT CALLBACK TrayNotifier::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TrayNotifier*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TrayNotifier*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  if (msg == kCallbackMessage && self != nullptr) {
    self->OnIconEvent(static_cast<UINT>(wParam), LOWORD(lParam));
    return 0;
  }
  if (msg == WM_NCDESTROY && self != nullptr) self->m_hWnd = nullptr;
  return DefWindowProcW(hWnd, msg, wParam, lParam);
}
