#include "frmPortSetting_win32.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "MousePointer.h"
#include "PortChoices.h"
#include "PortDevicePicker.h"
#include "TileBackground_win32.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmPortSettingLayout.h"
#include "resource_ids.h"

namespace {

using namespace frmPortSettingLayout;

struct Dialog {
  Dialog(SettingsStore& store, const PortDevices& ports, std::vector<ports::SerialDevice> detected)
      : settings(store), picker(store, ports, std::move(detected)) {}

  SettingsStore& settings;
  PortDevicePicker::Picker picker;
  int shownPort = -1;  // the COM port whose devices the picker shows
  HFONT gungsuh = nullptr;
  HFONT heading = nullptr;
  HFONT buttons = nullptr;
  HFONT small = nullptr;  // the device picker and its note
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

bool IsLabel(int id) {
  return (id >= IDC_PS_LABEL10 && id <= IDC_PS_LABEL9) || id == IDC_PS_LABEL11 || id == IDC_PS_LABEL12;
}

// The widest text of a combo box's list, in pixels, in the box's font.
int WidestItem(HWND box) {
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  int widest = 0;
  const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(wcslen(text.c_str())), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  return widest;
}

// Shows the devices of the port at position in the COM port list.
void ShowDevices(HWND dialog, Dialog& d, int position) {
  const PortDevicePicker::View view = d.picker.ViewOf(position);
  HWND box = GetDlgItem(dialog, IDC_PS_CBODEVICE);
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const PortDevicePicker::Choice& choice : view.choices) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(choice.text).c_str()));
  }
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(view.selected), 0);
  if (view.selected < 0) SetWindowTextW(box, L"");
  EnableWindow(box, view.enabled ? TRUE : FALSE);
  // The drop-down as wide as its longest name; the box keeps its place.
  SendMessageW(box, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(WidestItem(box) + GetSystemMetrics(SM_CXVSCROLL) + 8), 0);
  HWND note = GetDlgItem(dialog, IDC_PS_LABEL12);
  Win32Ui::SetText(note, view.note);
  // The note has no background of its own: the tiles behind it are drawn
  // anew, or the old text would stay.
  RECT place{};
  GetWindowRect(note, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  InvalidateRect(dialog, &place, TRUE);
  d.shownPort = position;
}

// The text in the device picker's box: a list text or a typed name.
std::string DeviceBoxText(HWND dialog) { return Utf8(Win32Ui::Text(GetDlgItem(dialog, IDC_PS_CBODEVICE))); }

void Build(HWND dialog, Dialog& d) {
  d.gungsuh = Win32Ui::Gungsuh(12);
  d.heading = Win32Ui::Gulim(12, true, true);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  d.buttons = CreateFontIndirectW(&metrics.lfMessageFont);
  d.small = Win32Ui::Gulim(9);
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
  // The device picker comes last in the tab order, so the others keep
  // theirs. A device that is not listed (a cradle unplugged now) can be
  // typed.
  Win32Ui::AddChild(dialog, L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                    {kCboDevice.left, kCboDevice.top, kCboDevice.width, 1500}, IDC_PS_CBODEVICE, d.small);
  AddLabel(dialog, d, IDC_PS_LABEL10, kLabel10Text, kLabel10, d.heading);
  for (std::size_t i = 0; i < std::size(kLabels); ++i) {
    AddLabel(dialog, d, kLabelIds[i], kLabels[i].text, kLabels[i].where, d.gungsuh);
  }
  AddLabel(dialog, d, IDC_PS_LABEL11, kLabel11Text, kLabel11, d.gungsuh);
  Win32Ui::AddChild(dialog, L"STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel12, IDC_PS_LABEL12, d.small);
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
  ShowDevices(dialog, d, selection.port);
  MousePointer::SetDefault();
  Win32Ui::CentreOver(dialog, GetWindow(dialog, GW_OWNER));
  SetFocus(port);
}

void Release(Dialog& d) {
  for (HFONT font : {d.gungsuh, d.heading, d.buttons, d.small}) {
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
      // The disabled device picker's edit asks too; it keeps its own colours.
      if (!IsLabel(id)) return FALSE;
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
          d->picker.Choose(d->shownPort, DeviceBoxText(dialog));
          d->picker.Store(d->settings);
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDC_PS_CMDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDC_PS_CBOPORTNO:
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            // The box's text is the choice for the port it showed until now.
            d->picker.Choose(d->shownPort, DeviceBoxText(dialog));
            ShowDevices(dialog, *d,
                        static_cast<int>(SendDlgItemMessageW(dialog, IDC_PS_CBOPORTNO, CB_GETCURSEL, 0, 0)));
          }
          return TRUE;
        default: return TRUE;  // Enter and Esc belong to no button here
      }
    case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
    case WM_DESTROY: Release(*d); return FALSE;
    default: return FALSE;
  }
}

}  // namespace

bool ShowPortSetting(HWND owner, SettingsStore& settings, const PortDevices& ports) {
  return ShowPortSetting(owner, settings, ports, ports::ListSerialDevices());
}

bool ShowPortSetting(HWND owner, SettingsStore& settings, const PortDevices& ports,
                     std::vector<ports::SerialDevice> detected) {
  Dialog dialog(settings, ports, std::move(detected));
  return Win32Ui::RunModal(owner, PortChoices::kTitle, Proc, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}
