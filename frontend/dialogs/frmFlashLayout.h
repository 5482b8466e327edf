#pragma once
// The splash window: its client area and its picture, larger than the client
// area and shifted up and left so that its frame lies outside the visible
// part, in twips.

#include "TwipsRect.h"

namespace frmFlashLayout {

inline constexpr int kClientWidth = 6045;
inline constexpr int kClientHeight = 2820;
inline constexpr TwipsRect kPicture1{-120, -120, 6225, 2985};
inline constexpr unsigned char kPicture1Background[3] = {224, 224, 224};

}  // namespace frmFlashLayout
