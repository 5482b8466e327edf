#pragma once
// A picture box: a child window that draws a bitmap from its top-left corner
// on its background colour. One that takes the focus (WS_TABSTOP) acts as a
// button: it tells its parent of a click, of a character key and of the focus
// coming and going, through WM_COMMAND with the codes below, and shows the
// hand pointer.

#include <windows.h>

namespace PictureBox {

inline constexpr wchar_t kClassName[] = L"RTKelvanePictureBox";

// WM_COMMAND notification codes (HIWORD of wParam).
inline constexpr WORD kClick = 1;
inline constexpr WORD kGotFocus = 2;
inline constexpr WORD kLostFocus = 3;
// A character key: the parent receives kKeyPress with the character code
// in the message PictureBox::kKeyPressMessage (wParam: the code; the parent
// returns 0 to consume the key).
inline constexpr UINT kKeyPressMessage = WM_APP + 10;

void Register();
// Sets the bitmap shown (not owned) and the background colour.
void SetPicture(HWND box, HBITMAP picture, COLORREF background, bool handCursor);

}  // namespace PictureBox
