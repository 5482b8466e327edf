#include "frmPortSetting_win32.h"

#include <iterator>
#include <vector>

#include "MousePointer.h"
#include "PortChoices.h"
#include "TileBackground_win32.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmPortSettingLayout.h"
#include "resource_ids.h"

namespace {

using namespace frmPortSettingLayout;

struct Dialog {
  SettingsStore& settings;
  HFONT gungsuh = nullptr;
  HFONT heading = nullptr;
  HFONT buttons = nullptr;
  HBITMAP tile = nullptr;
  std::vector<HFONT> narrowed;  // labels' fonts narrowed to fit their boxes
};

// A label in font, narrowed when its text is wider than its box.
void AddLabel(HWND dialog, Dialog& d, int id, const char* text, const TwipsRect& where, HFONT font) {
  HFONT narrow = Win32Ui::NarrowedToFit(font, text, Win32Ui::ToPixels(where.width));
  if (narrow != nullptr) d.narrowed.push_back(narrow);
  Win32Ui::AddChild(dialog, L"STATIC", text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, where, id, narrow ? narrow : font);
}

// The ids of the labels of kLabels, in the same order.
constexpr int kLabelIds[] = {IDC_PS_LABEL9, IDC_PS_LABEL8, IDC_PS_LABEL7, IDC_PS_LABEL6,
                             IDC_PS_LABEL4, IDC_PS_LABEL3, IDC_PS_LABEL1, IDC_PS_LABEL2};
static_assert(std::size(kLabelIds) == std::size(kLabels));

void Build(HWND dialog, Dialog& d) {
  d.gungsuh = Win32Ui::Gungsuh(12);
  d.heading = Win32Ui::Gulim(12, true, true);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  d.buttons = CreateFontIndirectW(&metrics.lfMessageFont);
  d.tile = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TILE_PORT), IMAGE_BITMAP, 0, 0, 0));
  Win32Ui::SetClientSize(dialog, Win32Ui::ToPixels(kClientWidth), Win32Ui::ToPixels(kClientHeight));
  const DWORD list = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  const DWORD button = WS_TABSTOP | BS_PUSHBUTTON;
  // Tab order: cboPortNo, cmdOK, cmdCancel, cboSpeed; the labels take no
  // focus.
  HWND port = Win32Ui::AddChild(dialog, L"COMBOBOX", "", list,
                                {kCboPortNo.left, kCboPortNo.top, kCboPortNo.width, 1500}, IDC_PS_CBOPORTNO, d.gungsuh);
  Win32Ui::AddChild(dialog, L"BUTTON", kOkText, button, kCmdOK, IDC_PS_CMDOK, d.buttons);
  Win32Ui::AddChild(dialog, L"BUTTON", kCancelText, button, kCmdCancel, IDC_PS_CMDCANCEL, d.buttons);
  HWND speed = Win32Ui::AddChild(dialog, L"COMBOBOX", "", list, {kCboSpeed.left, kCboSpeed.top, kCboSpeed.width, 1500},
                                 IDC_PS_CBOSPEED, d.gungsuh);
  AddLabel(dialog, d, IDC_PS_LABEL10, kLabel10Text, kLabel10, d.heading);
  for (std::size_t i = 0; i < std::size(kLabels); ++i) {
    AddLabel(dialog, d, kLabelIds[i], kLabels[i].text, kLabels[i].where, d.gungsuh);
  }
  Win32Ui::AddChild(dialog, L"STATIC", "", SS_BLACKFRAME, kShp1, IDC_PS_SHP1, nullptr);

  for (const char* item : PortChoices::kSpeedItems) {
    SendMessageW(speed, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
  for (const char* item : PortChoices::kPortItems) {
    SendMessageW(port, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
  const PortChoices::Selection selection = PortChoices::Load(d.settings);
  SendMessageW(speed, CB_SETCURSEL, static_cast<WPARAM>(selection.speed), 0);
  SendMessageW(port, CB_SETCURSEL, static_cast<WPARAM>(selection.port), 0);
  MousePointer::SetDefault();
  Win32Ui::CentreOver(dialog, GetWindow(dialog, GW_OWNER));
  SetFocus(port);
}

void Release(Dialog& d) {
  for (HFONT font : {d.gungsuh, d.heading, d.buttons}) {
    if (font != nullptr) DeleteObject(font);
  }
  for (HFONT font : d.narrowed) DeleteObject(font);
  if (d.tile != nullptr) DeleteObject(d.tile);
}

INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      Build(dialog, *reinterpret_cast<Dialog*>(lParam));
      return FALSE;  // the focus is set
    case WM_ERASEBKGND: TileBackground(reinterpret_cast<HDC>(wParam), d->tile, dialog); return TRUE;
    case WM_CTLCOLORSTATIC: {
      // Labels without a background of their own: the tiles show through.
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      SetBkMode(dc, TRANSPARENT);
      if (id == IDC_PS_LABEL10) SetTextColor(dc, RGB(kLabel10Colour[0], kLabel10Colour[1], kLabel10Colour[2]));
      if (id == IDC_PS_LABEL9) SetTextColor(dc, RGB(kLabel9Colour[0], kLabel9Colour[1], kLabel9Colour[2]));
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_PS_CMDOK: {
          const int speed = static_cast<int>(SendDlgItemMessageW(dialog, IDC_PS_CBOSPEED, CB_GETCURSEL, 0, 0));
          const int port = static_cast<int>(SendDlgItemMessageW(dialog, IDC_PS_CBOPORTNO, CB_GETCURSEL, 0, 0));
          PortChoices::Store(d->settings, {speed, port});
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDC_PS_CMDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return TRUE;  // Enter and Esc belong to no button here
      }
    case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
    case WM_DESTROY: Release(*d); return FALSE;
    default: return FALSE;
  }
}

}  // namespace

bool ShowPortSetting(HWND owner, SettingsStore& settings) {
  Dialog dialog{settings, nullptr, nullptr, nullptr, nullptr, {}};
  return Win32Ui::RunModal(owner, PortChoices::kTitle, Proc, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}
