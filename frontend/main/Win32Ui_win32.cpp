#include "Win32Ui.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "WideText.h"

namespace Win32Ui {

namespace {

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool Installed(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &query, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// True when text in face shows Hangul: the face has the glyphs, or the
// system links it to a face that has them (Windows links Arial to Gulim).
bool ShowsHangul(const wchar_t* face) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", face,
                   RRF_RT_ANY, nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
    return true;
  }
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  query.lfHeight = -12;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&query);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  WORD glyph = 0xFFFF;
  GetGlyphIndicesW(dc, L"\uD1B5", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);  // "통"
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return glyph != 0xFFFF;
}

}  // namespace

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int ToPixels(int twips) { return static_cast<int>(std::lround(twips * ScreenDpi() / 1440.0)); }

RECT ToPixels(const TwipsRect& rect) {
  const int left = ToPixels(rect.left);
  const int top = ToPixels(rect.top);
  return RECT{left, top, left + ToPixels(rect.width), top + ToPixels(rect.height)};
}

HFONT MakeFont(std::initializer_list<const wchar_t*> faces, double points, bool bold, bool italic) {
  LOGFONTW font{};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font = metrics.lfMessageFont;
  for (const wchar_t* face : faces) {
    if (Installed(face)) {
      wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
      break;
    }
  }
  font.lfHeight = -static_cast<LONG>(std::lround(points * ScreenDpi() / 72.0));
  font.lfWidth = 0;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  return CreateFontIndirectW(&font);
}

HFONT Gulim(double points, bool bold, bool italic) {
  return MakeFont({L"굴림", L"Gulim", L"NanumGothic", L"Noto Sans CJK KR"}, points, bold, italic);
}

HFONT Gungsuh(double points, bool bold) {
  return MakeFont({L"궁서", L"Gungsuh", L"NanumMyeongjo", L"Noto Serif CJK KR"}, points, bold, false);
}

HFONT Arial(double points, bool bold) {
  // Its texts may be Korean (the status text, a folder's name): a face that
  // cannot show Hangul gives way to the Hangul faces of Gulim.
  for (const wchar_t* face : {L"Arial", L"Liberation Sans"}) {
    if (Installed(face) && ShowsHangul(face)) return MakeFont({face}, points, bold, false);
  }
  return Gulim(points, bold, false);
}

HFONT NarrowedToFit(HFONT font, const std::string& text, int width) {
  const std::wstring wide = Wide(text);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  if (size.cx <= width || size.cx <= 0) return nullptr;
  LOGFONTW narrow{};
  GetObjectW(font, sizeof narrow, &narrow);
  // A little below the exact ratio: the advance does not shrink linearly.
  narrow.lfWidth = std::max<LONG>(1, metrics.tmAveCharWidth * width / size.cx - 1);
  return CreateFontIndirectW(&narrow);
}

std::wstring FaceOf(HFONT font) {
  LOGFONTW info{};
  GetObjectW(font, sizeof info, &info);
  return info.lfFaceName;
}

std::wstring Text(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

void SetText(HWND window, const std::string& utf8) { SetWindowTextW(window, Wide(utf8).c_str()); }

HWND AddChild(HWND parent, const wchar_t* className, const std::string& text, DWORD style, const TwipsRect& where,
              int id, HFONT font, DWORD exStyle) {
  const RECT r = ToPixels(where);
  HWND child = CreateWindowExW(exStyle, className, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (child != nullptr && font != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void SetClientSize(HWND window, int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOver(HWND window, HWND owner) {
  RECT area{};
  if (owner != nullptr) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT frame{};
  GetWindowRect(window, &frame);
  const int x = area.left + ((area.right - area.left) - (frame.right - frame.left)) / 2;
  const int y = area.top + ((area.bottom - area.top) - (frame.bottom - frame.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR RunModal(HWND owner, const std::string& title, DLGPROC proc, LPARAM param) {
  // DLGTEMPLATE, then no menu, the default class, the title; no controls.
  const std::wstring caption = Wide(title);
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3 + caption.size(), 0);
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
  dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  dialog->cdit = 0;
  WORD* after = words.data() + sizeof(DLGTEMPLATE) / sizeof(WORD);
  after[0] = 0;  // no menu
  after[1] = 0;  // the dialog class
  std::copy(caption.begin(), caption.end(), after + 2);
  after[2 + caption.size()] = 0;
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, owner, proc, param);
}

int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

}  // namespace Win32Ui
