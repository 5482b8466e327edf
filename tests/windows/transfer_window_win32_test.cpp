// The native transfer window (transfer_window_win32.cpp) under Wine on a
// display: built from the template, coloured as OnCtlColor says, every cancel
// path reaching OnCancel, wakes from other threads. With VANTOR_SCREENSHOTS
// set (a Linux folder), a screenshot of a transfer in progress is written there.
// control_ids.h before <windows.h>, whose IDCANCEL is a macro.
// clang-format off
#include "control_ids.h"
#include "dialog_template.h"
#include "transfer_window_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "screenshot_win32.h"

namespace {

using namespace vantor;

std::wstring Wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

std::wstring TextOf(HWND hWnd) {
  wchar_t buf[256] = {};
  GetWindowTextW(hWnd, buf, 256);
  return buf;
}

std::wstring ClassOf(HWND hWnd) {
  wchar_t buf[64] = {};
  GetClassNameW(hWnd, buf, 64);
  return buf;
}

// Runs the window with scripted events: init and each wake call the test's
// functions on the dialog's thread.
class ScriptedEvents : public CDialogEvents {
 public:
  std::function<void()> onInit = [] {};
  std::function<void()> onCancel = [] {};
  std::function<void()> onWake = [] {};
  int inits = 0, cancels = 0, wakes = 0;

  void OnInitDialog() override {
    ++inits;
    onInit();
  }
  void OnCancel() override {
    ++cancels;
    onCancel();
  }
  void OnWake() override {
    ++wakes;
    onWake();
  }
};

// Pumps nothing itself: posts a message from another thread after a pause,
// so the dialog's own loop handles it as user input would arrive.
void PostLater(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, int ms = 50) {
  std::thread([=] {
    Sleep(ms);
    PostMessageW(hWnd, msg, wParam, lParam);
  }).detach();
}

TEST(Win32DialogTemplate, FollowsTheTemplateTable) {
  const std::basic_string<std::uint16_t> t = BuildDialogTemplate();
  const auto* header = reinterpret_cast<const DLGTEMPLATE*>(t.data());
  const DialogTemplate& dialog = TransferDialogTemplate();
  EXPECT_EQ(header->style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(header->dwExtendedStyle, 0u);
  EXPECT_EQ(header->cdit, dialog.controls.size());
  EXPECT_EQ(header->cx, 187);
  EXPECT_EQ(header->cy, 113);
}

class Win32Window : public ::testing::Test {
 protected:
  CTransferWindowWin32 window;
  ScriptedEvents events;
};

TEST_F(Win32Window, BuildsTheControlsInTemplateOrder) {
  events.onInit = [&] {
    const HWND dlg = window.Window();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(TextOf(dlg), L"MERIDEX - VANTOR2  [ VER 5.2.1 ]");
    HWND child = GetWindow(dlg, GW_CHILD);
    for (const DialogControl& control : TransferDialogTemplate().controls) {
      ASSERT_NE(child, nullptr) << control.text;
      EXPECT_EQ(GetDlgCtrlID(child), control.id == -1 ? 0xFFFF : control.id) << control.text;
      const wchar_t* cls = control.kind == ControlKind::PushButton ? L"Button"
                           : control.kind == ControlKind::Static   ? L"Static"
                                                                   : L"msctls_progress32";
      EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), cls), 0) << control.text;
      if (control.kind != ControlKind::ProgressBar) {
        EXPECT_EQ(TextOf(child), Wide(control.text));
      }
      // Dialog units to pixels by the dialog's own font; the dialog manager
      // converts the place and the size each on its own, so each rounds alone.
      RECT expected{control.x, control.y, control.cx, control.cy};
      MapDialogRect(dlg, &expected);
      RECT actual{};
      GetWindowRect(child, &actual);
      MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(actual.left, expected.left) << control.text;
      EXPECT_EQ(actual.top, expected.top) << control.text;
      EXPECT_EQ(actual.right - actual.left, expected.right) << control.text;
      const LONG style = GetWindowLongW(child, GWL_STYLE);
      // The dialog manager may draw a template's WS_BORDER as a client edge.
      const LONG edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
      const bool bordered = (style & WS_BORDER) || (GetWindowLongW(child, GWL_EXSTYLE) & edges);
      // A progress bar draws its border its own way (Wine drops the style).
      if (control.kind == ControlKind::ProgressBar) {
        EXPECT_TRUE(style & PBS_SMOOTH) << control.text;
      } else if (control.id == IDC_STATUS) {
        EXPECT_TRUE(bordered) << control.text;
      } else {
        EXPECT_FALSE(bordered) << control.text;
      }
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no control beyond the template's";
    window.EndDialog(7);
  };
  EXPECT_EQ(window.RunModal(events), 7);
  EXPECT_EQ(events.inits, 1);
}

TEST_F(Win32Window, ColoursComeFromOnCtlColor) {
  events.onInit = [&] {
    const HWND dlg = window.Window();
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brushColour = [](LRESULT brush) {
      LOGBRUSH lb{};
      EXPECT_NE(brush, 0);
      GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
      return lb.lbColor;
    };
    const LRESULT dialog =
        SendMessageW(dlg, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dlg));
    EXPECT_EQ(brushColour(dialog), RGB(230, 230, 230));
    const HWND status = GetDlgItem(dlg, IDC_STATUS);
    const LRESULT statusBrush =
        SendMessageW(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(status));
    EXPECT_EQ(brushColour(statusBrush), RGB(150, 200, 200));
    EXPECT_EQ(GetBkColor(dc), RGB(150, 200, 200));
    const HWND name = GetDlgItem(dlg, IDC_FILE_NAME);
    const LRESULT nameBrush =
        SendMessageW(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(brushColour(nameBrush), RGB(230, 230, 230));
    EXPECT_EQ(GetBkColor(dc), RGB(230, 230, 230));
    EXPECT_EQ(statusBrush == nameBrush, false);
    EXPECT_EQ(dialog, nameBrush) << "one gray brush, made once";
    const HWND cancel = GetDlgItem(dlg, IDCANCEL);
    const LRESULT button =
        SendMessageW(dlg, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(cancel));
    EXPECT_NE(button, dialog) << "buttons keep the platform's colours";
    EXPECT_NE(button, statusBrush) << "buttons keep the platform's colours";
    DeleteDC(dc);
    window.EndDialog(1);
  };
  EXPECT_EQ(window.RunModal(events), 1);
}

TEST_F(Win32Window, TextsInCodePage949AndBarsReachTheControls) {
  events.onInit = [&] {
    window.SetItemText(IDC_STATUS, "\xBB\xE7\xBF\xEB\xC0\xDA \xC1\xDF\xB4\xDC...");  // "사용자 중단..."
    window.SetItemText(IDC_FILE_COUNT, "4000/12000");
    window.SetBar(IDC_PROGRESS_FILE, 0, 12000, 4000);
    const HWND dlg = window.Window();
    wchar_t text[64] = {};
    GetDlgItemTextW(dlg, IDC_STATUS, text, 64);
    EXPECT_EQ(std::wstring(text), Wide("사용자 중단..."));
    GetDlgItemTextW(dlg, IDC_FILE_COUNT, text, 64);
    EXPECT_EQ(std::wstring(text), L"4000/12000");
    PBRANGE range{};
    SendDlgItemMessageW(dlg, IDC_PROGRESS_FILE, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 12000);
    EXPECT_EQ(SendDlgItemMessageW(dlg, IDC_PROGRESS_FILE, PBM_GETPOS, 0, 0), 4000);
    window.EndDialog(2);
  };
  EXPECT_EQ(window.RunModal(events), 2);
}

// Each row: how the user cancels. Only OnCancel (which ends the run) closes.
TEST_F(Win32Window, CancelButtonEscapeAndCloseBoxReachOnCancel) {
  struct Row {
    const char* name;
    std::function<void(HWND)> act;
  };
  const std::vector<Row> rows = {
      {"Cancel button", [](HWND dlg) { PostLater(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0); }},
      {"Escape key", [](HWND dlg) { PostLater(GetDlgItem(dlg, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
      {"close box", [](HWND dlg) { PostLater(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Row& row : rows) {
    CTransferWindowWin32 w;
    ScriptedEvents e;
    e.onInit = [&] { row.act(w.Window()); };
    // The first cancel is ignored by the events, the second one ends the run:
    // the window itself never closes on a cancel.
    e.onCancel = [&] {
      if (e.cancels == 1) {
        row.act(w.Window());
      } else {
        w.EndDialog(-2);
      }
    };
    EXPECT_EQ(w.RunModal(e), -2) << row.name;
    EXPECT_EQ(e.cancels, 2) << row.name;
  }
}

TEST_F(Win32Window, WakesFromOtherThreadsBecomeOnWake) {
  window.Wake();  // before the loop: kept
  std::thread other;
  events.onWake = [&] {
    if (events.wakes == 1) {
      other = std::thread([&] {
        for (int i = 0; i < 5; ++i) window.Wake();
      });
    } else {
      window.EndDialog(9);
    }
  };
  EXPECT_EQ(window.RunModal(events), 9);
  other.join();
  EXPECT_GE(events.wakes, 2);
  window.Wake();  // after the end: dropped
  EXPECT_LE(events.wakes, 6);
}

// Pixels of a window's rectangle as the screen shows them.
std::vector<COLORREF> ScreenPixels(HWND hWnd) {
  RECT r{};
  GetWindowRect(hWnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(mem, x, y));
  }
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The protocol's steps keep the dialog's thread from its loop (a cancel
// pauses it for 1.5 s): what they set must be on the screen before the call
// returns, so that "사용자 중단..." shows during a cancel and no count is left
// blank or stale.
TEST_F(Win32Window, TextsAndBarsShowWhileTheThreadStaysBusy) {
  events.onInit = [&] { window.Wake(); };
  std::thread later;
  events.onWake = [&] {
    if (events.wakes == 1) {
      // Let the loop show and paint the window, then come back.
      later = std::thread([&] {
        Sleep(1000);
        window.Wake();
      });
      return;
    }
    const HWND dlg = window.Window();
    ASSERT_TRUE(IsWindowVisible(dlg));
    const std::vector<std::pair<int, const char*>> texts = {
        {IDC_STATUS, "\xBB\xE7\xBF\xEB\xC0\xDA \xC1\xDF\xB4\xDC..."},  // "사용자 중단..."
        {IDC_FILE_NAME, "ORDER.DAT"},
        {IDC_FILE_COUNT, "0/2400"},
        {IDC_TOTAL_COUNT, "6000/8400"}};
    for (const auto& [id, text] : texts) {
      const HWND control = GetDlgItem(dlg, id);
      const std::vector<COLORREF> before = ScreenPixels(control);
      window.SetItemText(id, text);
      EXPECT_NE(ScreenPixels(control), before) << "control " << id << " not shown";
    }
    const HWND bar = GetDlgItem(dlg, IDC_PROGRESS_FILE);
    const std::vector<COLORREF> before = ScreenPixels(bar);
    window.SetBar(IDC_PROGRESS_FILE, 0, 2400, 1200);
    EXPECT_NE(ScreenPixels(bar), before) << "file bar not shown";
    window.EndDialog(3);
  };
  EXPECT_EQ(window.RunModal(events), 3);
  later.join();
}

TEST_F(Win32Window, ARunEndedInItsInitialisationShowsNothing) {
  events.onInit = [&] { window.EndDialog(-4); };
  EXPECT_EQ(window.RunModal(events), -4);
}

TEST_F(Win32Window, ScreenshotOfATransferInProgress) {
  const char* folder = std::getenv("VANTOR_SCREENSHOTS");
  if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "VANTOR_SCREENSHOTS not set";
  events.onInit = [&] {
    window.SetItemText(IDC_STATUS, "\xB5\xA5\xC0\xCC\xC5\xCD \xBC\xF6\xBD\xC5\xC1\xDF...");  // "데이터 수신중..."
    window.SetItemText(IDC_FILE_NAME, "STOCK.TXT");
    window.SetItemText(IDC_FILE_COUNT, "4000/10000");
    window.SetItemText(IDC_TOTAL_COUNT, "14000/30000");
    window.SetBar(IDC_PROGRESS_FILE, 0, 10000, 4000);
    window.SetBar(IDC_PROGRESS_TOTAL, 0, 30000, 14000);
    window.Wake();
  };
  std::thread later;
  events.onWake = [&] {
    if (events.wakes == 1) {
      // Let the loop show and paint the window, then come back.
      later = std::thread([&] {
        Sleep(1500);
        window.Wake();
      });
      return;
    }
    const std::string path = std::string("Z:") + folder + "/transfer_window_win32.png";
    EXPECT_TRUE(SaveWindowPng(window.Window(), path)) << path;
    // The file bar at 40 %: red where it is filled, white beyond.
    RECT bar{};
    GetWindowRect(GetDlgItem(window.Window(), IDC_PROGRESS_FILE), &bar);
    HDC screen = GetDC(nullptr);
    const int y = (bar.top + bar.bottom) / 2;
    EXPECT_EQ(GetPixel(screen, bar.left + 4, y), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(screen, bar.right - 4, y), RGB(255, 255, 255));
    ReleaseDC(nullptr, screen);
    window.EndDialog(1);
  };
  EXPECT_EQ(window.RunModal(events), 1);
  later.join();
}

}  // namespace
