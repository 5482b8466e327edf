#pragma once
// The directory chooser as the operator knows it: client area and controls
// in twips (left, top, width, height).

#include "TwipsRect.h"

namespace frmDirSelectLayout {

inline constexpr int kClientWidth = 4500;
inline constexpr int kClientHeight = 2610;
inline constexpr TwipsRect kDirList{150, 165, 2805, 1980};
inline constexpr TwipsRect kDrvList{150, 2145, 2805, 300};
inline constexpr TwipsRect kCmdOK{3150, 1575, 1215, 420};
inline constexpr TwipsRect kCmdCancel{3150, 2025, 1215, 420};

}  // namespace frmDirSelectLayout
