// RTKelvane's Win32 windows under Wine on a display: the main window's
// controls, ids, places from the twips tables, texts and tab order; the
// settings in the registry and their code tables; the port settings dialog,
// the directory chooser, the exit question and the splash window; the
// notification after a transfer and its balloon in the notification area. With
// VANTOR_SCREENSHOTS set (a Linux folder), screenshots are written there.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "Clock.h"
#include "Environment.h"
#include "FirstInstance.h"
#include "InstanceLock.h"
#include "ModalWatch.h"
#include "MousePointer.h"
#include "Notifier_win32.h"
#include "PictureBox_win32.h"
#include "PortDevices.h"
#include "RecordingNotifier.h"
#include "SettingsStore_win32.h"
#include "TransferLibrary_win32.h"
#include "VarDefine.h"
#include "WideText.h"
#include "Win32Ui.h"
#include "frmFlash_win32.h"
#include "frmMainLayout.h"
#include "frmMain_win32.h"
#include "frmPortSettingLayout.h"
#include "frmPortSetting_win32.h"
#include "resource_ids.h"
#include "screenshot_win32.h"
#include "standin_vantor.h"

namespace {

const std::wstring kTestRoot = L"Software\\Kelvane tests\\Kelvane";

class StillClock final : public Clock {
 public:
  LocalDateTime Now() const override { return {2026, 3, 15, 14, 25, 30, 0}; }
  void RunEventsFor(int) override {}
};

void Shot(HWND window, const char* name) {
  const char* folder = std::getenv("VANTOR_SCREENSHOTS");
  if (folder == nullptr || *folder == '\0') return;
  const std::string path = std::string("Z:") + folder + "/" + name;
  EXPECT_TRUE(SaveWindowPng(window, path)) << path;
}

// A control's place in its parent's client area.
RECT PlaceOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// True when a label's text, in the label's font, fits the label's width.
bool TextFits(HWND label) {
  const std::wstring text = Win32Ui::Text(label);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT client{};
  GetClientRect(label, &client);
  return size.cx <= client.right;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::string RegistryValue(const std::string& name) {
  RegistryStore store(kTestRoot);
  return store.Read(name, "<missing>");
}

void PumpFor(int ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
  MSG msg;
  while (GetTickCount64() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    // A main window destroyed by the test before posted WM_QUIT (it ends the
    // program); left in the queue it would end the next modal loop at once.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kelvane tests");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kelvane tests"); }

  HWND Open() {
    HWND hWnd = window.Create();
    window.Show();
    PumpFor(300);
    return hWnd;
  }
  HWND Item(int id) { return GetDlgItem(window.Handle(), id); }
  std::string StatusText(int part) {
    wchar_t text[256] = {};
    SendMessageW(Item(IDC_SBRSTATUS), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
  }

  RegistryStore store{kTestRoot};
  StillClock clock;
  Vantor2Library library{L"C:\\no such folder\\Vantor2.dll"};
  RecordingNotifier notifier;
  frmMain window{{store, clock, library, notifier}};
};

struct ControlRow {
  int id;
  const wchar_t* className;
  const char* text;
  TwipsRect where;
};

TEST_F(MainWindow, ControlsSitAtTheirTwipsPlacesWithTheirTexts) {
  using namespace frmMainLayout;
  HWND main = Open();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Win32Ui::Text(main), L"Kelvane");
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, Win32Ui::ToPixels(kClientWidth));
  EXPECT_EQ(client.bottom, Win32Ui::ToPixels(kClientHeight));
  const ControlRow rows[] = {
      {IDC_LABEL2, L"Static", kLabel2Text, kLabel2},
      {IDC_LABEL1_2, L"Static", kLabel1_2Text, kLabel1_2},
      {IDC_TXTSENDDIR, L"Edit", "C:\\send", kTxtSendDir},
      {IDC_CMDSENDDIRSET, L"Button", "...", kCmdSendDirSet},
      {IDC_LABEL1_0, L"Static", kLabel1_0Text, kLabel1_0},
      {IDC_TXTRECVDIR, L"Edit", "C:\\recv", kTxtRecvDir},
      {IDC_CMDRECVDIRSET, L"Button", "...", kCmdRecvDirSet},
      {IDC_CHKFILEMODE, L"Button", "Append Mode Save", kChkFileMode},
      {IDC_SHAPE1, L"Static", "", kShape1},
      {IDC_PICSENDBUTTON, PictureBox::kClassName, "", kPicSendButton},
      {IDC_PICTURE6, PictureBox::kClassName, "", kPicture6},
      {IDC_PICDISP, PictureBox::kClassName, "", kPicDisp},
      {IDC_LABEL3, L"Static", kLabel3Text, kLabel3},
  };
  for (const ControlRow& row : rows) {
    HWND control = Item(row.id);
    ASSERT_NE(control, nullptr) << row.id;
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), row.className), 0) << row.id;
    EXPECT_EQ(Utf8(Win32Ui::Text(control)), row.text) << row.id;
    EXPECT_TRUE(SameRect(PlaceOf(control), Win32Ui::ToPixels(row.where)))
        << row.id << ": " << Describe(PlaceOf(control)) << " for " << Describe(Win32Ui::ToPixels(row.where));
  }
  for (int id : {IDC_LABEL2, IDC_LABEL1_2, IDC_LABEL1_0, IDC_LABEL3}) EXPECT_TRUE(TextFits(Item(id))) << id;
  EXPECT_FALSE(IsWindowVisible(Item(IDC_SHAPE1)));
  EXPECT_EQ(IsDlgButtonChecked(main, IDC_CHKFILEMODE), BST_UNCHECKED);
  EXPECT_EQ(PlaceOf(Item(IDC_TOOLBAR1)).top, 0);
  EXPECT_EQ(PlaceOf(Item(IDC_SBRSTATUS)).top, Win32Ui::ToPixels(kStatusTop));
  EXPECT_EQ(PlaceOf(Item(IDC_SBRSTATUS)).bottom, client.bottom);
  Shot(main, "main_window_win32.png");
}

TEST_F(MainWindow, ToolbarAndStatusBar) {
  Open();
  HWND bar = Item(IDC_TOOLBAR1);
  ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 2);
  wchar_t text[64] = {};
  SendMessageW(bar, TB_GETBUTTONTEXTW, IDC_TOOL_EXIT, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(Utf8(text), "종료");
  SendMessageW(bar, TB_GETBUTTONTEXTW, IDC_TOOL_SETTING, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(Utf8(text), "설정");
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
  EXPECT_EQ(ImageList_GetImageCount(images), 8);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 22);
  EXPECT_EQ(cy, 22);
  EXPECT_EQ(StatusText(0), "통신설정 : COM1 - 19200, N, 8, 1");
  wchar_t date[80] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 80);
  EXPECT_EQ(StatusText(1), Utf8(date));
}

TEST_F(MainWindow, TabOrderFollowsTheTabIndexes) {
  HWND main = Open();
  EXPECT_EQ(GetFocus(), Item(IDC_CMDSENDDIRSET));
  std::vector<int> order;
  HWND at = Item(IDC_CMDSENDDIRSET);
  for (int i = 0; i < 7; ++i) {
    order.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(main, at, FALSE);
  }
  EXPECT_EQ(order, (std::vector<int>{IDC_CMDSENDDIRSET, IDC_CMDRECVDIRSET, IDC_PICSENDBUTTON, IDC_TXTRECVDIR,
                                     IDC_TXTSENDDIR, IDC_CHKFILEMODE, IDC_CMDSENDDIRSET}));
  // The outline shows while the transfer button has the focus.
  SetFocus(Item(IDC_PICSENDBUTTON));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_SHAPE1)));
  SetFocus(Item(IDC_TXTRECVDIR));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_SHAPE1)));
}

TEST_F(MainWindow, FirstStartStoresThreeKeys) {
  Open();
  EXPECT_EQ(RegistryValue("CommPortNo"), "1");
  EXPECT_EQ(RegistryValue("SendDir"), "C:\\send");
  EXPECT_EQ(RegistryValue("RecvDir"), "C:\\recv");
  EXPECT_EQ(RegistryValue("CommSpeed"), "<missing>");
  EXPECT_EQ(gPortNo, 1);
  EXPECT_EQ(gBaudRate, 19200);
}

TEST_F(MainWindow, ATypedFolderIsKeptWhenTheBoxIsLeftOrEnterPressed) {
  Open();
  // Typed, then the box left for the other one.
  SetFocus(Item(IDC_TXTRECVDIR));
  Win32Ui::SetText(Item(IDC_TXTRECVDIR), "C:\\typed");
  SetFocus(Item(IDC_TXTSENDDIR));
  PumpFor(50);
  EXPECT_EQ(RegistryValue("RecvDir"), "C:\\typed\\");
  // Typed, then Enter, which the window's dialog navigation turns into IDOK.
  Win32Ui::SetText(Item(IDC_TXTSENDDIR), "C:\\typed2");
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(RegistryValue("SendDir"), "C:\\typed2\\");
}

TEST_F(MainWindow, ASecondStartBringsItToTheFrontRestored) {
  Open();
  ShowWindow(window.Handle(), SW_MINIMIZE);
  PumpFor(50);
  ASSERT_TRUE(IsIconic(window.Handle()));
  EXPECT_TRUE(FirstInstance::AskToComeForward(InstanceLock::DefaultName()));
  PumpFor(50);
  EXPECT_FALSE(IsIconic(window.Handle()));
}

struct StoredRow {
  const char* port;
  const char* speed;
  const char* sendDir;
  int portNo;
  int baudRate;
  const char* portAfter;
  const char* sendBox;
};

class StoredSettings : public MainWindow, public ::testing::WithParamInterface<StoredRow> {};

TEST_P(StoredSettings, AreReadThroughTheCodeTablesAndWrittenBack) {
  const StoredRow& row = GetParam();
  store.Write("CommPortNo", row.port);
  store.Write("CommSpeed", row.speed);
  store.Write("SendDir", row.sendDir);
  Open();
  EXPECT_EQ(gPortNo, row.portNo);
  EXPECT_EQ(gBaudRate, row.baudRate);
  EXPECT_EQ(RegistryValue("CommPortNo"), row.portAfter);
  EXPECT_EQ(RegistryValue("CommSpeed"), row.speed);  // never corrected
  EXPECT_EQ(RegistryValue("SendDir"), row.sendDir);  // blanks kept
  EXPECT_EQ(Utf8(Win32Ui::Text(Item(IDC_TXTSENDDIR))), row.sendBox);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredSettings,
                         ::testing::Values(StoredRow{" 4 ", "1", "C:\\send", 4, 9600, "4", "C:\\send"},
                                           StoredRow{"7", "2", "C:\\send", 1, 19200, "7", "C:\\send"},
                                           StoredRow{"3", "9600", "  C:\\send  ", 3, 19200, "3", "C:\\send"},
                                           StoredRow{"2", "4", "C:\\데이터", 2, 115200, "2", "C:\\데이터"}));

TEST_F(MainWindow, ThePortDialogStoresTheChoiceAndTheStatusFollows) {
  using namespace frmPortSettingLayout;
  Open();
  std::vector<std::string> speeds, ports;
  int speedSelected = -2, portSelected = -2;
  bool placesRight = false, focusOnPort = false;
  std::string title;
  std::vector<int> cutLabels;
  {
    ModalWatch watch(L"통신포트 선택", [&](HWND dialog) {
      HWND speed = GetDlgItem(dialog, IDC_PS_CBOSPEED);
      HWND port = GetDlgItem(dialog, IDC_PS_CBOPORTNO);
      for (int i = 0; i < SendMessageW(speed, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[64] = {};
        SendMessageW(speed, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        speeds.push_back(Utf8(text));
      }
      for (int i = 0; i < SendMessageW(port, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[64] = {};
        SendMessageW(port, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        ports.push_back(Utf8(text));
      }
      speedSelected = static_cast<int>(SendMessageW(speed, CB_GETCURSEL, 0, 0));
      portSelected = static_cast<int>(SendMessageW(port, CB_GETCURSEL, 0, 0));
      RECT client{};
      GetClientRect(dialog, &client);
      const RECT device = PlaceOf(GetDlgItem(dialog, IDC_PS_CBODEVICE));
      const RECT deviceWanted = Win32Ui::ToPixels(kCboDevice);
      placesRight =
          client.right == Win32Ui::ToPixels(kClientWidth) && client.bottom == Win32Ui::ToPixels(kClientHeight) &&
          SameRect(PlaceOf(GetDlgItem(dialog, IDC_PS_CMDOK)), Win32Ui::ToPixels(kCmdOK)) &&
          SameRect(PlaceOf(GetDlgItem(dialog, IDC_PS_CMDCANCEL)), Win32Ui::ToPixels(kCmdCancel)) &&
          SameRect(PlaceOf(GetDlgItem(dialog, IDC_PS_LABEL10)), Win32Ui::ToPixels(kLabel10)) &&
          SameRect(PlaceOf(GetDlgItem(dialog, IDC_PS_LABEL11)), Win32Ui::ToPixels(kLabel11)) &&
          SameRect(PlaceOf(GetDlgItem(dialog, IDC_PS_LABEL12)), Win32Ui::ToPixels(kLabel12)) &&
          device.left == deviceWanted.left && device.top == deviceWanted.top && device.right == deviceWanted.right;
      GUITHREADINFO gui{};
      gui.cbSize = sizeof gui;
      GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
      focusOnPort = gui.hwndFocus == port;
      title = Utf8(Win32Ui::Text(dialog));
      for (int id = IDC_PS_LABEL10; id <= IDC_PS_LABEL9; ++id) {
        if (id != IDC_PS_SHP1 && !TextFits(GetDlgItem(dialog, id))) cutLabels.push_back(id);
      }
      if (!TextFits(GetDlgItem(dialog, IDC_PS_LABEL11))) cutLabels.push_back(IDC_PS_LABEL11);
      Shot(dialog, "port_setting_win32.png");
      SendMessageW(speed, CB_SETCURSEL, 3, 0);
      SendMessageW(port, CB_SETCURSEL, 2, 0);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PS_CMDOK, BN_CLICKED), 0);
    });
    window.Toolbar1_ButtonClick("Setting");
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(title, "통신포트 선택");
  EXPECT_EQ(speeds, (std::vector<std::string>{"9600 BPS", "19200 BPS", "38400 BPS", "115200 BPS"}));
  EXPECT_EQ(ports, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4"}));
  EXPECT_EQ(speedSelected, 1);
  EXPECT_EQ(portSelected, 0);
  EXPECT_TRUE(placesRight);
  EXPECT_TRUE(focusOnPort);
  EXPECT_EQ(cutLabels, std::vector<int>{});  // every label's text reads whole in its box
  EXPECT_EQ(RegistryValue("CommSpeed"), "4");
  EXPECT_EQ(RegistryValue("CommPortNo"), "3");
  EXPECT_EQ(StatusText(0), "통신설정 : COM3 - 115200, N, 8, 1");
  EXPECT_EQ(gPortNo, 3);
}

TEST_F(MainWindow, CancelInThePortDialogStoresNothing) {
  store.Write("CommSpeed", "3");
  Open();
  {
    ModalWatch watch(L"통신포트 선택", [&](HWND dialog) {
      SendDlgItemMessageW(dialog, IDC_PS_CBOSPEED, CB_SETCURSEL, 0, 0);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PS_CMDCANCEL, BN_CLICKED), 0);
    });
    window.Toolbar1_ButtonClick("SETTING");
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(RegistryValue("CommSpeed"), "3");
  EXPECT_EQ(StatusText(0), "통신설정 : COM1 - 38400, N, 8, 1");
}

// The device picker, with the COM devices given: the system's list under
// Wine depends on the machine.
class PortDevicePick : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    for (int n = 1; n <= 4; ++n) Environment::Unset(PortDevices::VariableOf(n));
  }
  void TearDown() override {
    for (int n = 1; n <= 4; ++n) Environment::Unset(PortDevices::VariableOf(n));
    MainWindow::TearDown();
  }
  static std::vector<ports::SerialDevice> Detected() { return {{"\\\\.\\COM5", {}}, {"\\\\.\\COM12", {}}}; }
  static std::vector<std::string> DeviceItems(HWND dialog) {
    HWND device = GetDlgItem(dialog, IDC_PS_CBODEVICE);
    std::vector<std::string> items;
    for (int i = 0; i < SendMessageW(device, CB_GETCOUNT, 0, 0); ++i) {
      wchar_t text[256] = {};
      SendMessageW(device, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(Utf8(text));
    }
    return items;
  }
  static std::string DeviceText(HWND dialog) { return Utf8(Win32Ui::Text(GetDlgItem(dialog, IDC_PS_CBODEVICE))); }
  // What the port list sends when the operator picks another COM port.
  static void PickPort(HWND dialog, int position) {
    HWND port = GetDlgItem(dialog, IDC_PS_CBOPORTNO);
    SendMessageW(port, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PS_CBOPORTNO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(port));
  }
  static std::string PortsValue(int portNo) {
    const RegistryStore registry(kTestRoot);
    return registry.PortDevice(portNo);
  }
};

TEST_F(PortDevicePick, OkWritesThePickedDeviceIntoThePortsKeyAndCancelNothing) {
  for (const bool ok : {false, true}) {
    std::vector<std::string> items;
    std::string shown;
    bool enabled = false;
    {
      ModalWatch watch(L"통신포트 선택", [&](HWND dialog) {
        items = DeviceItems(dialog);
        shown = DeviceText(dialog);
        enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PS_CBODEVICE)) != FALSE;
        SendDlgItemMessageW(dialog, IDC_PS_CBODEVICE, CB_SETCURSEL, 1, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ok ? IDC_PS_CMDOK : IDC_PS_CMDCANCEL, BN_CLICKED), 0);
      });
      const PortDevices ports;
      EXPECT_EQ(ShowPortSetting(nullptr, store, ports, Detected()), ok);
      EXPECT_TRUE(watch.Came());
    }
    EXPECT_EQ(items, (std::vector<std::string>{"\\\\.\\COM1 (기본)", "\\\\.\\COM5", "\\\\.\\COM12"}));
    EXPECT_EQ(shown, "\\\\.\\COM1 (기본)");
    EXPECT_TRUE(enabled);
    EXPECT_EQ(PortsValue(1), ok ? "\\\\.\\COM5" : "") << ok;
    EXPECT_EQ(RegistryValue("CommPortNo"), ok ? "1" : "<missing>") << ok;
  }
}

TEST_F(PortDevicePick, EachComPortKeepsItsChoiceAndTheDefaultRemovesTheValue) {
  store.WritePortDevice(3, "\\\\.\\COM12");
  std::string com3Shown, com1Again;
  {
    ModalWatch watch(L"통신포트 선택", [&](HWND dialog) {
      // COM1: a COM name typed as the system writes it elsewhere.
      SetWindowTextW(GetDlgItem(dialog, IDC_PS_CBODEVICE), L"com7");
      PickPort(dialog, 2);
      com3Shown = DeviceText(dialog);
      SendDlgItemMessageW(dialog, IDC_PS_CBODEVICE, CB_SETCURSEL, 0, 0);  // COM3 back to its own
      PickPort(dialog, 0);
      com1Again = DeviceText(dialog);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PS_CMDOK, BN_CLICKED), 0);
    });
    const PortDevices ports;
    EXPECT_TRUE(ShowPortSetting(nullptr, store, ports, Detected()));
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(com3Shown, "\\\\.\\COM12");
  EXPECT_EQ(com1Again, "\\\\.\\COM7");  // the line opens it by that name
  EXPECT_EQ(PortsValue(1), "\\\\.\\COM7");
  EXPECT_EQ(PortsValue(3), "");
  EXPECT_EQ(RegistryValue("CommPortNo"), "1");
}

TEST_F(PortDevicePick, APortTheEnvironmentNamesIsShownDisabledAndKept) {
  store.Write("CommPortNo", "2");
  store.WritePortDevice(2, "\\\\.\\COM5");
  Environment::Set("VANTOR_COM2", "\\\\.\\COM9");
  std::string shown, note;
  bool enabled = true;
  {
    ModalWatch watch(L"통신포트 선택", [&](HWND dialog) {
      shown = DeviceText(dialog);
      enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PS_CBODEVICE)) != FALSE;
      note = Utf8(Win32Ui::Text(GetDlgItem(dialog, IDC_PS_LABEL12)));
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PS_CMDOK, BN_CLICKED), 0);
    });
    const PortDevices ports;
    EXPECT_TRUE(ShowPortSetting(nullptr, store, ports, Detected()));
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(shown, "\\\\.\\COM9");
  EXPECT_FALSE(enabled);
  EXPECT_EQ(note, "환경 변수 VANTOR_COM2 이 정한 장치 (설정보다 우선)");
  EXPECT_EQ(PortsValue(2), "\\\\.\\COM5");
}

TEST_F(MainWindow, TheExitQuestionAsksAndNoKeepsTheWindow) {
  Open();
  std::string text, caption;
  bool noIsDefault = false;
  {
    ModalWatch watch(L"Exit Applicatein", [&](HWND box) {
      caption = Utf8(Win32Ui::Text(box));
      text = Utf8(Win32Ui::Text(GetDlgItem(box, 0xFFFF)));
      noIsDefault = (GetWindowLongPtrW(GetDlgItem(box, IDNO), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON &&
                    GetDlgItem(box, IDYES) != nullptr;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    });
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(caption, "Exit Applicatein");
  EXPECT_EQ(text, " 프로그램을 종료 하시겠습니까? ");
  EXPECT_TRUE(noIsDefault);
  EXPECT_TRUE(IsWindow(window.Handle()));
}

TEST_F(MainWindow, TheChooserOnCancelAddsTheSeparatorAndStores) {
  Open();
  SetWindowTextW(Item(IDC_TXTSENDDIR), L"C:\\windows");
  std::vector<std::string> drives;
  std::string firstEntry, title;
  {
    ModalWatch watch(L" 마스터 파일이 있는 디렉토리 설정", [&](HWND dialog) {
      HWND list = GetDlgItem(dialog, IDC_DS_DRVLIST);
      for (int i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[128] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        drives.push_back(Utf8(text).substr(0, 2));
      }
      wchar_t entry[128] = {};
      SendDlgItemMessageW(dialog, IDC_DS_DIRLIST, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
      firstEntry = Utf8(entry);
      title = Utf8(Win32Ui::Text(dialog));
      Shot(dialog, "dir_select_win32.png");
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    window.cmdSendDirSet_Click();
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(title, " 마스터 파일이 있는 디렉토리 설정");
  EXPECT_NE(std::find(drives.begin(), drives.end(), "C:"), drives.end());
  EXPECT_EQ(firstEntry, "C:\\");
  EXPECT_EQ(Utf8(Win32Ui::Text(Item(IDC_TXTSENDDIR))), "C:\\windows\\");
  EXPECT_EQ(RegistryValue("SendDir"), "C:\\windows\\");
}

TEST_F(MainWindow, TheChooserOnOkReturnsTheDirectoryItShows) {
  // The program works on drive C: (its own folder): the chooser opens there.
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(L"C:\\windows\\system32");
  Open();
  SetWindowTextW(Item(IDC_TXTRECVDIR), L"c:\\windows");
  {
    ModalWatch watch(L" 데이터 파일이 저장될 디렉토리 설정",
                     [&](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    window.cmdRecvDirSet_Click();
    EXPECT_TRUE(watch.Came());
  }
  SetCurrentDirectoryW(before);
  EXPECT_EQ(_wcsicmp(Win32Ui::Text(Item(IDC_TXTRECVDIR)).c_str(), L"C:\\windows\\"), 0)
      << Utf8(Win32Ui::Text(Item(IDC_TXTRECVDIR)));
}

TEST_F(MainWindow, TheChooserOnAnotherDriveShowsThatDrivesCurrentDirectory) {
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(L"C:\\windows");
  Open();
  // Z: is the Linux root under Wine; its current directory is its root
  // unless the program has been there.
  SetWindowTextW(Item(IDC_TXTRECVDIR), L"z:\\tmp");
  {
    ModalWatch watch(L" 데이터 파일이 저장될 디렉토리 설정",
                     [&](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    window.cmdRecvDirSet_Click();
    EXPECT_TRUE(watch.Came());
  }
  SetCurrentDirectoryW(before);
  const std::wstring chosen = Win32Ui::Text(Item(IDC_TXTRECVDIR));
  EXPECT_EQ(_wcsnicmp(chosen.c_str(), L"Z:\\", 3), 0) << Utf8(chosen);
  EXPECT_NE(_wcsicmp(chosen.c_str(), L"Z:\\TMP\\"), 0) << Utf8(chosen);
}

TEST_F(MainWindow, WithoutTheLibraryTheStockFileIsStillRenamed) {
  Open();
  const std::string recv = "C:\\rtk-test-recv";
  CreateDirectoryW(Wide(recv).c_str(), nullptr);
  HANDLE file = CreateFileW(Wide(recv + "\\STOCK.TXT").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  Win32Ui::SetText(Item(IDC_TXTRECVDIR), recv);
  window.picSendButton_Click();
  EXPECT_NE(GetFileAttributesW(Wide(recv + "\\STOCK_20260315142530.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(Wide(recv + "\\STOCK.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
  DeleteFileW(Wide(recv + "\\STOCK_20260315142530.txt").c_str());
  RemoveDirectoryW(Wide(recv).c_str());
}

// The stand-in library beside the test program, bound the way the program
// binds Vantor2.dll; the test reaches its extra functions through the same
// loaded module.
class Transfers : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    const std::wstring path = Vantor2Library::BesideProgram();
    standInPath = path.substr(0, path.find_last_of(L'\\') + 1) + STANDIN_DLL;
    module = LoadLibraryW(standInPath.c_str());
    ASSERT_NE(module, nullptr);
    setResult = reinterpret_cast<void (*)(int)>(reinterpret_cast<void*>(GetProcAddress(module, "StandIn_SetResult")));
    setHook = reinterpret_cast<void (*)(StandInHook, void*)>(
        reinterpret_cast<void*>(GetProcAddress(module, "StandIn_SetHook")));
    lastCall = reinterpret_cast<StandInCall (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StandIn_LastCall")));
    callCount = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StandIn_CallCount")));
    ASSERT_NE(setResult, nullptr);
    ASSERT_NE(lastCall, nullptr);
    ASSERT_NE(callCount, nullptr);
    ASSERT_NE(setHook, nullptr);
  }
  void TearDown() override {
    setHook(nullptr, nullptr);
    MainWindow::TearDown();
  }

  std::wstring standInPath;
  HMODULE module = nullptr;
  void (*setResult)(int) = nullptr;
  void (*setHook)(StandInHook, void*) = nullptr;
  StandInCall (*lastCall)() = nullptr;
  int (*callCount)() = nullptr;
};

struct ResultRow {
  int result;
  const char* message;  // nullptr: no box
  const char* notice;   // how the notification begins
};

class ResultMessages : public Transfers, public ::testing::WithParamInterface<ResultRow> {};

TEST_P(ResultMessages, OnlyArgumentErrorsSpeakAndTheStockFileIsRenamedAlways) {
  const ResultRow& row = GetParam();
  Vantor2Library standIn(standInPath);
  frmMain withStandIn({store, clock, standIn, notifier});
  withStandIn.Create();
  withStandIn.Show();
  setResult(row.result);
  const std::string recv = "C:\\rtk-test-result";
  CreateDirectoryW(Wide(recv).c_str(), nullptr);
  CloseHandle(CreateFileW(Wide(recv + "\\STOCK.TXT").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  Win32Ui::SetText(GetDlgItem(withStandIn.Handle(), IDC_TXTRECVDIR), recv);
  // Both folders exist, so that a folder's message offers nothing to make
  // (AMissingFolderIsMadeOnYesAndTheRunStartsAgain) whatever the prefix holds.
  Win32Ui::SetText(GetDlgItem(withStandIn.Handle(), IDC_TXTSENDDIR), recv);
  CheckDlgButton(withStandIn.Handle(), IDC_CHKFILEMODE, BST_CHECKED);
  std::string text;
  bool okOnly = false;
  {
    ModalWatch watch(L"RTKelvane", [&](HWND box) {
      text = Utf8(Win32Ui::Text(GetDlgItem(box, 0xFFFF)));
      okOnly =
          GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr && GetDlgItem(box, IDYES) == nullptr;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    withStandIn.picSendButton_Click();
    EXPECT_EQ(watch.Came(), row.message != nullptr);
  }
  if (row.message != nullptr) {
    // A folder's message goes on with the folder and why.
    EXPECT_EQ(text.substr(0, text.find('\n')), row.message);
    EXPECT_TRUE(okOnly);
  }
  ASSERT_EQ(notifier.shown.size(), 1u);
  EXPECT_EQ(notifier.shown[0].title, "RTKelvane");
  EXPECT_EQ(notifier.shown[0].text.rfind(row.notice, 0), 0u) << notifier.shown[0].text;
  const StandInCall call = lastCall();
  EXPECT_EQ(std::string(call.recvDir), recv);
  EXPECT_EQ(call.portNo, 1);
  EXPECT_EQ(call.speed, 19200);
  EXPECT_EQ(call.appendMode, 1);
  EXPECT_EQ(std::string(call.userData), "abc");
  EXPECT_NE(GetFileAttributesW(Wide(recv + "\\STOCK_20260315142530.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(IsWindowEnabled(withStandIn.Handle()));
  DeleteFileW(Wide(recv + "\\STOCK_20260315142530.txt").c_str());
  RemoveDirectoryW(Wide(recv).c_str());
}

INSTANTIATE_TEST_SUITE_P(Rows, ResultMessages,
                         ::testing::Values(
                             ResultRow{-11, "Recv 디렉토리 설정에러",
                                       "송수신 에러: Recv 디렉토리 설정에러 (C:\\rtk-test-result)"},
                             ResultRow{-12, "Send 디렉토리 설정에러", "송수신 에러: Send 디렉토리 설정에러 ("},
                             ResultRow{-13, "통신포트 설정에러", "송수신 에러: 통신포트 설정에러 (COM1)"},
                             ResultRow{-14, "통신속도 설정에러", "송수신 에러: 통신속도 설정에러 (19200)"},
                             ResultRow{1, nullptr, "데이터 수신 완료"},
                             ResultRow{-2, nullptr, "송수신 중단: PC에서 취소했습니다. 로그: "}));

TEST_F(Transfers, AMissingFolderIsMadeOnYesAndTheRunStartsAgain) {
  Vantor2Library standIn(standInPath);
  frmMain withStandIn({store, clock, standIn, notifier});
  withStandIn.Create();
  withStandIn.Show();
  setResult(VANTOR_RECV_DIR_ERROR);
  const std::string recv = "C:\\rtk-test-new\\수신\\";
  Win32Ui::SetText(GetDlgItem(withStandIn.Handle(), IDC_TXTRECVDIR), recv);
  const int before = callCount();
  std::string text;
  bool yesNo = false;
  {
    ModalWatch watch(L"RTKelvane", [&](HWND box) {
      text = Utf8(Win32Ui::Text(GetDlgItem(box, 0xFFFF)));
      yesNo = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr;
      setResult(1);  // the run after the folder is made goes through
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    });
    withStandIn.picSendButton_Click();
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(text, "Recv 디렉토리 설정에러\n[" + recv + "] 폴더가 없습니다.\n\n폴더를 만들고 다시 전송하시겠습니까?");
  EXPECT_TRUE(yesNo);
  EXPECT_EQ(callCount() - before, 2);
  const DWORD made = GetFileAttributesW(Wide("C:\\rtk-test-new\\수신").c_str());
  EXPECT_TRUE(made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_DIRECTORY));
  RemoveDirectoryW(Wide("C:\\rtk-test-new\\수신").c_str());
  RemoveDirectoryW(Wide("C:\\rtk-test-new").c_str());
}

TEST_F(Transfers, APortThatCannotBeOpenedIsNamedWithItsDeviceAndReason) {
  Vantor2Library standIn(standInPath);
  frmMain withStandIn({store, clock, standIn, notifier});
  withStandIn.Create();
  withStandIn.Show();
  PumpFor(200);
  setResult(VANTOR_PORT_ERROR);
  store.Write("CommPortNo", "3");
  // The Ports key names COM3's device: one that exists nowhere (Wine would
  // open its own COM3, a Linux serial device, which may wait for a line).
  const std::wstring device = L"\\\\.\\KelvaneNoSuchPort";
  RegSetKeyValueW(HKEY_CURRENT_USER, (kTestRoot + L"\\Ports").c_str(), L"COM3", REG_SZ, device.c_str(),
                  static_cast<DWORD>((device.size() + 1) * sizeof(wchar_t)));
  withStandIn.FP_SetPortNo();
  std::string text;
  {
    ModalWatch watch(L"RTKelvane", [&](HWND box) {
      text = Utf8(Win32Ui::Text(GetDlgItem(box, 0xFFFF)));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    withStandIn.picSendButton_Click();
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_EQ(text.rfind("통신포트를 열 수 없습니다: COM3\n장치: \\\\.\\KelvaneNoSuchPort\n원인: ", 0), 0u) << text;
  EXPECT_NE(text.find("Ports"), std::string::npos) << text;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A receive run through the window: the stand-in stores STOCK.TXT and writes
// the log as the library does, in the folder the program works in.
TEST_F(Transfers, AReceiveIsNotifiedWithItsRecordsAndNotifyZeroSilencesIt) {
  const std::string work = "C:\\rtk-test-notice";
  const std::string recv = work + "\\recv";
  for (const std::string& dir : {work, work + "\\Log", recv}) CreateDirectoryW(Wide(dir).c_str(), nullptr);
  wchar_t saved[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryW(Wide(work).c_str()));
  Vantor2Library standIn(standInPath);
  frmMain withStandIn({store, clock, standIn, notifier});
  withStandIn.Create();
  withStandIn.Show();
  setResult(VANTOR_RECEIVED);
  setHook(
      [](void* context) {
        const std::string& dir = *static_cast<const std::string*>(context);
        WriteBytes(dir + "\\STOCK.TXT", "S000001\r\nS000002\r\n");
        WriteBytes("Log\\comm.log", "Port Open\r\nPort Close\r\nFile name = [STOCK.TXT.Tmp], Record Length = [9]\r\n"
                                    "FileName = [" + dir + "\\STOCK.TXT], Num of Delete = [3]\r\n");
      },
      const_cast<std::string*>(&recv));
  Win32Ui::SetText(GetDlgItem(withStandIn.Handle(), IDC_TXTRECVDIR), recv);
  withStandIn.picSendButton_Click();
  store.Write("Notify", "0");
  withStandIn.picSendButton_Click();
  SetCurrentDirectoryW(saved);
  ASSERT_EQ(notifier.shown.size(), 1u);
  EXPECT_EQ(notifier.shown[0].title, "RTKelvane");
  EXPECT_EQ(notifier.shown[0].text, "데이터 수신 완료: STOCK_20260315142530.txt 2건 저장");
  for (const char* name : {"\\recv\\STOCK_20260315142530.txt", "\\recv\\STOCK.TXT", "\\Log\\comm.log"}) {
    DeleteFileW(Wide(work + name).c_str());
  }
  for (const std::string& dir : {recv, work + "\\Log", work}) RemoveDirectoryW(Wide(dir).c_str());
}

// The real notification area of the system (Wine's): the balloon carries
// the texts and the program's icon, and the icon goes when the balloon is
// clicked; the shell's word about an earlier balloon leaves a new one.
TEST(TrayBalloon, ShowsTheProgramsIconAndGoesWhenTheBalloonIsClicked) {
  TrayNotifier notifier;
  ASSERT_NE(notifier.Handle(), nullptr);
  notifier.Notify("RTKelvane", "데이터 수신 완료: STOCK.TXT 3건 저장");
  ASSERT_TRUE(notifier.IconShown());
  const NOTIFYICONDATAW& sent = notifier.Sent();
  EXPECT_EQ(std::wstring(sent.szInfoTitle), L"RTKelvane");
  EXPECT_EQ(std::wstring(sent.szInfo), L"데이터 수신 완료: STOCK.TXT 3건 저장");
  EXPECT_EQ(std::wstring(sent.szTip), L"RTKelvane");
  EXPECT_TRUE(sent.uFlags & NIF_INFO);
  EXPECT_NE(sent.hIcon, nullptr);
  const UINT first = notifier.IconId();
  notifier.Notify("RTKelvane", "마스터 파일 송신 완료");
  ASSERT_TRUE(notifier.IconShown());
  SendMessageW(notifier.Handle(), TrayNotifier::kCallbackMessage, first, NIN_BALLOONTIMEOUT);
  EXPECT_TRUE(notifier.IconShown());
  SendMessageW(notifier.Handle(), TrayNotifier::kCallbackMessage, notifier.IconId(), NIN_BALLOONUSERCLICK);
  EXPECT_FALSE(notifier.IconShown());
  // The shell no longer has the icon.
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = notifier.Handle();
  probe.uID = notifier.IconId();
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
}

TEST(TrayBalloon, ALongLineIsCutWithoutSplittingACharacter) {
  TrayNotifier notifier;
  // 253 letters, then a character of two UTF-16 units across the cut.
  notifier.Notify(std::string(70, 'T'), std::string(253, 'x') + "\xF0\x9F\x93\xA6" + "tail");
  EXPECT_EQ(std::wstring(notifier.Sent().szInfo), std::wstring(253, L'x') + L"\u2026");
  EXPECT_EQ(std::wstring(notifier.Sent().szInfoTitle), std::wstring(62, L'T') + L"\u2026");
}

// Every window of fixed size: no maximise box and no sizing border.
bool FixedSize(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0;
}

TEST(Splash, IsCentredAndAnimatedFromTheScreensCorner) {
  MousePointer::SetHourglass();
  {
    frmFlash splash;
    ASSERT_TRUE(splash.Show());
    PumpFor(500);
    RECT client{}, frame{};
    GetClientRect(splash.Handle(), &client);
    GetWindowRect(splash.Handle(), &frame);
    EXPECT_EQ(client.right, Win32Ui::ToPixels(6045));
    EXPECT_EQ(client.bottom, Win32Ui::ToPixels(2820));
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
    EXPECT_TRUE(SameRect(splash.AnimatedTo(), frame));
    EXPECT_EQ(Win32Ui::Text(splash.Handle()), L"Kelvane");
    EXPECT_TRUE(FixedSize(splash.Handle()));
    EXPECT_TRUE(SameRect(PlaceOf(GetDlgItem(splash.Handle(), IDC_FL_PICTURE1)),
                         Win32Ui::ToPixels(TwipsRect{-120, -120, 6225, 2985})));
    Shot(splash.Handle(), "splash_win32.png");
    EXPECT_TRUE(MousePointer::IsHourglass());
  }
  // Unloading the splash ends the hourglass of start-up.
  EXPECT_FALSE(MousePointer::IsHourglass());
}

TEST_F(MainWindow, FixedWindowsOfferNoMaximise) {
  Open();
  EXPECT_TRUE(FixedSize(window.Handle()));
  bool portDialog = false, chooser = false;
  {
    ModalWatch watch(L"통신포트 선택", [&](HWND dialog) {
      portDialog = FixedSize(dialog);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PS_CMDCANCEL, BN_CLICKED), 0);
    });
    window.Toolbar1_ButtonClick("Setting");
    EXPECT_TRUE(watch.Came());
  }
  SetWindowTextW(Item(IDC_TXTSENDDIR), L"C:\\windows");
  {
    ModalWatch watch(L" 마스터 파일이 있는 디렉토리 설정", [&](HWND dialog) {
      chooser = FixedSize(dialog);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    window.cmdSendDirSet_Click();
    EXPECT_TRUE(watch.Came());
  }
  EXPECT_TRUE(portDialog);
  EXPECT_TRUE(chooser);
}

}  // namespace
