#pragma once
// The main window as the operator knows it: its controls' places in twips
// (left, top, width, height from the client area's top-left corner), their
// texts (UTF-8) and fonts. Both the Qt window and the Win32 window are built
// from these tables.

#include "TwipsRect.h"

namespace frmMainLayout {

inline constexpr int kClientWidth = 7395;
inline constexpr int kClientHeight = 5310;

inline constexpr int kToolbarHeight = 555;
inline constexpr TwipsRect kLabel2{195, 675, 1980, 240};
inline constexpr TwipsRect kLabel1_2{705, 1065, 2595, 195};
inline constexpr TwipsRect kTxtSendDir{690, 1305, 5490, 360};
inline constexpr TwipsRect kCmdSendDirSet{6180, 1290, 570, 345};
inline constexpr TwipsRect kLabel1_0{705, 1920, 2715, 195};
inline constexpr TwipsRect kTxtRecvDir{690, 2160, 5475, 360};
inline constexpr TwipsRect kCmdRecvDirSet{6165, 2145, 570, 345};
inline constexpr TwipsRect kChkFileMode{720, 2640, 2295, 375};
inline constexpr TwipsRect kShape1{1590, 3465, 930, 960};
inline constexpr TwipsRect kPicSendButton{1680, 3600, 765, 720};
inline constexpr TwipsRect kPicture6{2655, 3840, 2445, 285};
inline constexpr TwipsRect kPicDisp{5280, 3480, 525, 1080};
inline constexpr TwipsRect kLabel3{120, 4680, 6375, 375};
inline constexpr int kStatusTop = 4965;
inline constexpr int kStatusHeight = 345;
inline constexpr int kStatePanelWidth = 8996;
inline constexpr int kDatePanelWidth = 3528;

inline constexpr char kLabel2Text[] = "▣ 데이터 송수신";
inline constexpr char kLabel1_2Text[] = "마스터 파일이 있는 디렉토리";
inline constexpr char kLabel1_0Text[] = "데이터 파일이 저장될 디렉토리";
inline constexpr char kDirButtonText[] = "...";
inline constexpr char kChkFileModeText[] = "Append Mode Save";
inline constexpr char kPicSendButtonTip[] = "송수신 시작";
// The fixed line naming the customer's system and its service number.
inline constexpr char kLabel3Text[] = "Kelvane 재고관리 시스템   ☎ 서비스 문의 02-000-0000";

// The toolbar's buttons; the handler compares the key in upper case.
inline constexpr char kExitCaption[] = "종료";
inline constexpr char kExitKey[] = "Exit";
inline constexpr char kExitTip[] = "Exit Tarnwick";
inline constexpr char kSettingCaption[] = "설정";
inline constexpr char kSettingKey[] = "Setting";

inline constexpr char kStateKey[] = "STATE";
inline constexpr char kStateTip[] = "통신설정 상태";
inline constexpr char kDateKey[] = "SYSDATE";
inline constexpr char kDateTip[] = "날짜";

// The exit question of Form_QueryUnload: Yes and No, the question icon, No
// the default.
inline constexpr char kExitQuestion[] = " 프로그램을 종료 하시겠습니까? ";
inline constexpr char kExitQuestionCaption[] = "Exit Applicatein";

}  // namespace frmMainLayout
