#pragma once
// Values shared by the windows of the program for its whole run, and the
// program's names. Plain C++: the Qt windows and the Win32 windows use the same
// values and texts.
//
// gPortNo and gBaudRate are the port and line speed in effect; only
// frmMain::FP_SetPortNo writes them, at the main window's load and after the
// port settings dialog closes. gSelectDir (UTF-8) carries a directory to the
// directory chooser and back: OK replaces it, Cancel leaves it as the caller
// set it.

#include <cstdint>
#include <string>

inline std::int16_t gPortNo = 0;
inline std::int32_t gBaudRate = 0;
inline std::string gSelectDir;

namespace VarDefine {

// Caption of message boxes that carry no caption of their own.
inline constexpr char kAppTitle[] = "RTKelvane";
// Organisation and application under which the settings are stored.
inline constexpr char kSettingsApp[] = "Kelvane";
// The group that holds the operator's choices.
inline constexpr char kSettingsSection[] = "Handy Terminal";
// The group that names the device of each COM port (keys "COM1" to "COM4").
inline constexpr char kPortsSection[] = "Ports";
// Caption of the main window and of the splash window.
inline constexpr char kMainCaption[] = "Kelvane";

// The keys of the settings.
inline constexpr char kKeyPortNo[] = "CommPortNo";
inline constexpr char kKeySpeed[] = "CommSpeed";
inline constexpr char kKeySendDir[] = "SendDir";
inline constexpr char kKeyRecvDir[] = "RecvDir";
// Read only: "0" turns off the desktop notification after each transfer.
inline constexpr char kKeyNotify[] = "Notify";

// Defaults of the settings that have one fixed text.
inline constexpr char kDefaultPortCode[] = "1";
inline constexpr char kDefaultSpeedCode[] = "2";

// The start-up wait while the splash window paints, in seconds.
inline constexpr float kSplashSeconds = 1.0f;

// The user data every transfer hands to the library.
inline constexpr char kUserData[] = "abc";

}  // namespace VarDefine
