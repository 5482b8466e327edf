#pragma once
// The windows are laid out in twips, as the operator knows them; the screen
// works in pixels. At the reference resolution one pixel is 15 twips, so every
// fixed position converts exactly by that factor.

#include <QRect>

#include "TwipsRect.h"

namespace Twips {

inline constexpr int kPerPixel = 15;

constexpr int ToPixels(int twips) {
  return twips >= 0 ? (twips + kPerPixel / 2) / kPerPixel : -((-twips + kPerPixel / 2) / kPerPixel);
}

// A rectangle given as left, top, width, height in twips.
inline QRect Rect(int left, int top, int width, int height) {
  return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

inline QRect Rect(const TwipsRect& r) { return Rect(r.left, r.top, r.width, r.height); }

inline QSize Size(int width, int height) { return QSize(ToPixels(width), ToPixels(height)); }

}  // namespace Twips
