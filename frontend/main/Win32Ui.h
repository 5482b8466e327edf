#pragma once
// Small helpers over window handles for the Win32 windows: twips to pixels at
// the screen's resolution, fonts by face name with a fallback, texts through
// the wide-character API, child controls at their twips places, and a modal
// dialog from an empty in-memory template whose controls the dialog makes
// itself.

#include <windows.h>

#include <initializer_list>
#include <string>

#include "TwipsRect.h"

namespace Win32Ui {

// Pixels per logical inch of the screen (96 unless the system is scaled; the
// program is DPI aware).
int ScreenDpi();
int ToPixels(int twips);
RECT ToPixels(const TwipsRect& rect);

// The first installed face of faces; the system's message font when none is.
// Sizes in points.
HFONT MakeFont(std::initializer_list<const wchar_t*> faces, double points, bool bold = false, bool italic = false);
// 굴림, or a Hangul face in its place (NanumGothic from fonts-nanum); 궁서 or
// NanumMyeongjo; Arial where it shows Hangul (its own glyphs or the system's
// font link, as on Windows), else the faces of 굴림 (Wine links none).
HFONT Gulim(double points, bool bold = false, bool italic = false);
HFONT Gungsuh(double points, bool bold = false);
HFONT Arial(double points, bool bold = false);
// font narrowed just enough that text fits width pixels, as a new font the
// caller owns; null when the text fits as it is. The stand-in faces run wider
// than the ones the layouts were made for; narrowing keeps every text whole
// inside its fixed box.
HFONT NarrowedToFit(HFONT font, const std::string& text, int width);
// The face name a font was made with, for tests and reports.
std::wstring FaceOf(HFONT font);

std::wstring Text(HWND window);
void SetText(HWND window, const std::string& utf8);

HWND AddChild(HWND parent, const wchar_t* className, const std::string& text, DWORD style, const TwipsRect& where,
              int id, HFONT font, DWORD exStyle = 0);

// Resizes window so that its client area is width x height pixels.
void SetClientSize(HWND window, int width, int height);
// Moves window so that it is centred over owner (on the screen's work area
// when owner is null).
void CentreOver(HWND window, HWND owner);

// Runs a modal dialog titled title over owner; its procedure builds its
// controls in WM_INITDIALOG. Returns EndDialog's value.
INT_PTR RunModal(HWND owner, const std::string& title, DLGPROC proc, LPARAM param);

// A message box: the text and caption through the wide API.
int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags);

}  // namespace Win32Ui
