#pragma once
// The port settings dialog as the operator knows it: client area, controls
// in twips (left, top, width, height), texts (UTF-8) and colours. Both the Qt
// and the Win32 dialog are built from it.

#include "TwipsRect.h"

namespace frmPortSettingLayout {

inline constexpr int kClientWidth = 5415;
// 3075 before the device picker; the rows below the frame added the rest.
inline constexpr int kClientHeight = 4005;

struct Label {
  const char* name;
  const char* text;
  TwipsRect where;
};

// The labels of the frame, in the order of their tab indexes (2 to 9).
inline constexpr Label kLabels[] = {
    {"Label9", "COM PORT  :", {600, 2280, 1290, 240}}, {"Label8", "1 Bit", {2430, 1860, 555, 240}},
    {"Label7", "8 Bit", {2430, 1485, 555, 240}},       {"Label6", "None", {2430, 1095, 570, 240}},
    {"Label4", "Stop Bit", {495, 1890, 1395, 240}},    {"Label3", "Data Length", {495, 1500, 1395, 240}},
    {"Label1", "COM Speed :", {495, 720, 1395, 240}},  {"Label2", "Parity", {495, 1110, 1395, 240}},
};

inline constexpr TwipsRect kLabel10{270, 255, 2400, 240};
inline constexpr char kLabel10Text[] = "핸디터미널 프로토콜";
inline constexpr TwipsRect kShp1{195, 600, 3690, 2130};
inline constexpr TwipsRect kCboSpeed{1935, 690, 1740, 360};
inline constexpr TwipsRect kCboPortNo{1950, 2220, 1740, 360};
inline constexpr TwipsRect kCmdOK{4065, 1830, 1215, 360};
inline constexpr TwipsRect kCmdCancel{4065, 2370, 1215, 360};
inline constexpr char kOkText[] = "확인";
inline constexpr char kCancelText[] = "취소";

// The device picker below the frame (PortDevicePicker): its caption, the
// list of the selected COM port's devices across the dialog's width (by-id
// names are long), and a note under it. The list and the note use the
// default font (굴림 9 pt), so that more of a long name shows.
inline constexpr TwipsRect kLabel11{600, 2850, 1290, 240};
inline constexpr char kLabel11Text[] = "Device    :";
inline constexpr TwipsRect kCboDevice{195, 3150, 5085, 360};
inline constexpr TwipsRect kLabel12{195, 3570, 5085, 240};

// Label10 is purple, Label9 dark blue; the others are drawn in the default
// text colour. RGB components.
inline constexpr unsigned char kLabel10Colour[3] = {128, 0, 128};
inline constexpr unsigned char kLabel9Colour[3] = {0, 0, 192};

}  // namespace frmPortSettingLayout
