// control_ids.h before <windows.h>, whose IDCANCEL is a macro.
// clang-format off
#include "control_ids.h"
#include "dialog_template.h"
#include "transfer_window_win32.h"

#include <windows.h>
// clang-format on
#include <commctrl.h>
#include <uxtheme.h>

#include <vector>

namespace vantor {
namespace {

// Posted by Wake. Not WM_USER + n: a dialog's own messages (DM_SETDEFID...)
// live there.
constexpr UINT kWakeMessage = WM_APP + 1;
// Never posted: looked for only so that the window system shows what was
// painted (ShowNow).
constexpr UINT kNeverPosted = WM_APP + 2;
constexpr UINT kCp949 = 949;

std::wstring Widen(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

COLORREF ToColorRef(Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

// Paints a control now and puts it on the screen although the dialog's
// thread stays busy (a protocol step, a cancel's pauses of 1.5 s). Windows
// shows what UpdateWindow painted at once; Wine shows a window's painting
// when its thread looks for messages, so a look for one that is never posted
// follows. It runs nothing of the dialog's loop (only a message sent from
// another thread would be handled there, and the dialog is sent none).
void ShowNow(HWND control) {
  UpdateWindow(control);
  MSG msg{};
  PeekMessageW(&msg, control, kNeverPosted, kNeverPosted, PM_NOREMOVE);
}

// The module this code lies in (the DLL, not the calling program), whose
// instance the dialog is created for.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

class CTemplateWriter {
 public:
  void Word(WORD w) { m_words.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const char* utf8) {
    for (wchar_t c : Widen(CP_UTF8, utf8)) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignDword() {
    if (m_words.size() % 2 != 0) Word(0);
  }
  std::basic_string<std::uint16_t> Take() { return {m_words.begin(), m_words.end()}; }

 private:
  std::vector<std::uint16_t> m_words;
};

// The predefined window classes by atom; the progress bar by name.
void ControlClass(CTemplateWriter& out, ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
      out.Word(0xFFFF);
      out.Word(0x0080);
      return;
    case ControlKind::Static:
      out.Word(0xFFFF);
      out.Word(0x0082);
      return;
    case ControlKind::ProgressBar: out.Text("msctls_progress32"); return;
  }
}

}  // namespace

std::basic_string<std::uint16_t> BuildDialogTemplate() {
  const DialogTemplate& dialog = TransferDialogTemplate();
  CTemplateWriter out;
  out.Dword(dialog.style);
  out.Dword(0);  // no extended style
  out.Word(static_cast<WORD>(dialog.controls.size()));
  out.Word(0);  // x, y: centred at initialisation
  out.Word(0);
  out.Word(static_cast<WORD>(dialog.cx));
  out.Word(static_cast<WORD>(dialog.cy));
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(dialog.caption);
  out.Word(static_cast<WORD>(dialog.fontPointSize));
  out.Text(dialog.fontFace);
  for (const DialogControl& control : dialog.controls) {
    out.AlignDword();
    out.Dword(control.style | WS_CHILD);
    out.Dword(0);
    out.Word(static_cast<WORD>(control.x));
    out.Word(static_cast<WORD>(control.y));
    out.Word(static_cast<WORD>(control.cx));
    out.Word(static_cast<WORD>(control.cy));
    out.Word(static_cast<WORD>(control.id));  // -1 becomes 0xFFFF, as the resource compiler writes it
    ControlClass(out, control.kind);
    out.Text(control.text);
    out.Word(0);  // no creation data
  }
  return out.Take();
}

CTransferWindowWin32::CTransferWindowWin32()
    : m_wake([this] { return PostMessageW(m_hWnd, kWakeMessage, 0, 0) != 0; }) {}

struct CTransferWindowWin32::Proc {
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
      auto* self = reinterpret_cast<CTransferWindowWin32*>(lParam);
      self->m_hWnd = hWnd;
      return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CTransferWindowWin32*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    return static_cast<INT_PTR>(
        self->OnMessage(msg, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam)));
  }
};

CTransferWindowWin32::~CTransferWindowWin32() { m_wake.Close(); }

int CTransferWindowWin32::RunModal(CDialogEvents& events) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  const std::basic_string<std::uint16_t> dialogTemplate = BuildDialogTemplate();
  m_events = &events;
  // Owned by the caller's active window (a front end's main window), so that
  // it can never fall behind it; none for a caller without windows.
  const INT_PTR result =
      DialogBoxIndirectParamW(ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), GetActiveWindow(),
                              &CTransferWindowWin32::Proc::DialogProc, reinterpret_cast<LPARAM>(this));
  m_wake.Close();
  m_hWnd = nullptr;
  m_events = nullptr;
  if (m_brGray != nullptr) DeleteObject(m_brGray);
  if (m_brStatus != nullptr) DeleteObject(m_brStatus);
  m_brGray = m_brStatus = nullptr;
  // A dialog that could not be created ends the run as a transfer error.
  if (!m_ended) return result == -1 ? -1 : static_cast<int>(result);
  return m_code;
}

int CTransferWindowWin32::OnInitDialog() {
  m_brGray = CreateSolidBrush(ToColorRef(*CtlColor(CtlKind::Dialog, IDD_TRANSFER)));
  m_brStatus = CreateSolidBrush(ToColorRef(*CtlColor(CtlKind::Static, IDC_STATUS)));
  for (int bar : {IDC_PROGRESS_TOTAL, IDC_PROGRESS_FILE}) {
    // A themed bar ignores its colours: these two are drawn the classic way.
    SetWindowTheme(GetDlgItem(m_hWnd, bar), L"", L"");
    SendDlgItemMessageW(m_hWnd, bar, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(ToColorRef(kBarBackground)));
    SendDlgItemMessageW(m_hWnd, bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(ToColorRef(kBarColour)));
  }
  // Centred on the screen's work area: the dialog has no owner to centre on.
  RECT frame{}, work{};
  GetWindowRect(m_hWnd, &frame);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + ((work.right - work.left) - (frame.right - frame.left)) / 2;
  const int y = work.top + ((work.bottom - work.top) - (frame.bottom - frame.top)) / 2;
  SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  m_initialising = true;
  m_events->OnInitDialog();
  m_initialising = false;
  if (m_ended) {
    // Ended in its initialisation (port not opened): never shown.
    ::EndDialog(m_hWnd, m_code);
    return FALSE;
  }
  m_wake.Open();
  return TRUE;  // the focus goes to the first tab stop, Cancel
}

std::intptr_t CTransferWindowWin32::OnMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (msg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<INT_PTR>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg));
    case WM_COMMAND:
      // The Cancel button, Escape and the close box all arrive as IDCANCEL.
      if (LOWORD(wParam) == IDCANCEL && !m_ended && m_events != nullptr) m_events->OnCancel();
      return TRUE;
    case kWakeMessage: DeliverWake(); return TRUE;
    default: return FALSE;
  }
}

HBRUSH CTransferWindowWin32::OnCtlColor(HDC dc, HWND control, unsigned msg) {
  const CtlKind kind = msg == WM_CTLCOLORDLG      ? CtlKind::Dialog
                       : msg == WM_CTLCOLORSTATIC ? CtlKind::Static
                                                  : CtlKind::Other;
  const int id = kind == CtlKind::Dialog ? IDD_TRANSFER : GetDlgCtrlID(control);
  const std::optional<Rgb> colour = CtlColor(kind, id);
  if (!colour) return nullptr;  // the platform's default
  if (kind == CtlKind::Static) SetBkColor(dc, ToColorRef(*colour));
  return *colour == *CtlColor(CtlKind::Static, IDC_STATUS) ? m_brStatus : m_brGray;
}

void CTransferWindowWin32::EndDialog(int code) {
  if (m_ended) return;
  m_ended = true;
  m_code = code;
  m_wake.Close();
  // During the initialisation the dialog ends once OnInitDialog returns.
  if (m_hWnd != nullptr && !m_initialising) ::EndDialog(m_hWnd, code);
}

void CTransferWindowWin32::Wake() { m_wake.Wake(); }

void CTransferWindowWin32::DeliverWake() {
  if (m_wake.Take() && m_events != nullptr) m_events->OnWake();
}

// Texts and bars show at once: the protocol's steps keep the dialog's thread
// from its loop, and a control left for the loop to show stays blank, half
// drawn or stale meanwhile ("사용자 중단..." would never show).
void CTransferWindowWin32::SetItemText(int id, const std::string& text) {
  if (m_hWnd == nullptr) return;
  SetDlgItemTextW(m_hWnd, id, Widen(kCp949, text).c_str());
  ShowNow(GetDlgItem(m_hWnd, id));
}

void CTransferWindowWin32::SetBar(int id, long low, long high, long pos) {
  if (m_hWnd == nullptr) return;
  SendDlgItemMessageW(m_hWnd, id, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
  SendDlgItemMessageW(m_hWnd, id, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
  ShowNow(GetDlgItem(m_hWnd, id));
}

void CTransferWindowWin32::ShowLogFailure(const std::string& text) {
  const std::wstring caption = Widen(CP_UTF8, TransferDialogTemplate().caption);
  MessageBoxW(m_hWnd, Widen(kCp949, text).c_str(), caption.c_str(),
              MB_OK | MB_ICONWARNING | (m_hWnd == nullptr ? MB_TASKMODAL : 0));
}

}  // namespace vantor
