#pragma once
// The transfer window's template, as data: the caption, the size in dialog
// units, the font, and every control in template order (which is also the
// z-order and the tab order) with its id, kind, initial text, position, size
// and style. The colours that OnCtlColor gives each drawn item are here too.
// A window toolkit builds the window from this table; nothing here depends on
// one. Texts are UTF-8.

#include <cstdint>
#include <optional>
#include <span>

namespace vantor {

// Style bits, with the values the template format gives them.
enum DialogStyle : std::uint32_t {
  kStylePopup = 0x80000000u,
  kStyleVisible = 0x10000000u,
  kStyleCaption = 0x00C00000u,
  kStyleBorder = 0x00800000u,
  kStyleSysMenu = 0x00080000u,
  kStyleGroup = 0x00020000u,
  kStyleTabStop = 0x00010000u,
  kStyleModalFrame = 0x00000080u,  // dialog only
  kStyleSetFont = 0x00000040u,     // dialog only
  kStyleSmooth = 0x00000001u,      // progress bar only: one continuous bar
};

enum class ControlKind { PushButton, Static, ProgressBar };

struct DialogControl {
  int id;  // -1: a static text that is never addressed
  ControlKind kind;
  const char* text;
  int x, y, cx, cy;  // dialog units
  std::uint32_t style;
};

struct DialogTemplate {
  int id;
  const char* caption;
  const char* fontFace;
  int fontPointSize;
  int cx, cy;  // client area, dialog units
  std::uint32_t style;
  std::span<const DialogControl> controls;
};

const DialogTemplate& TransferDialogTemplate();

struct Rgb {
  int r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What is being drawn, as the window asks for its colours.
enum class CtlKind { Dialog, Static, Other };

// OnCtlColor's answer: the background (brush and text background are the same
// colour) of the dialog and of each static text; none for buttons and bars,
// which keep the platform's colours.
std::optional<Rgb> CtlColor(CtlKind kind, int controlId);

inline constexpr Rgb kBarBackground{255, 255, 255};
inline constexpr Rgb kBarColour{255, 0, 0};

}  // namespace vantor
