#pragma once
// Ids of the transfer window's template, through which the protocol steps
// address the window's controls.

namespace vantor {

inline constexpr int IDD_TRANSFER = 1000;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_PROGRESS_TOTAL = 1000;  // bytes of the whole transfer
inline constexpr int IDC_STATUS = 1001;          // status line
inline constexpr int IDC_PROGRESS_FILE = 1002;   // bytes of the current file
inline constexpr int IDC_FILE_COUNT = 1003;      // "so far/size" of the file
inline constexpr int IDC_TOTAL_COUNT = 1004;     // "so far/total" of the transfer
inline constexpr int IDC_FILE_NAME = 1005;       // name of the current file

}  // namespace vantor
