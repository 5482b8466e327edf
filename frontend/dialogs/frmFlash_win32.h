#pragma once
// The splash window on Windows: the product artwork in a fixed window with a
// dialog frame, titled "Kelvane", centred on the screen by its outer size. On
// load, before it shows, the system's caption animation (DrawAnimatedRects,
// IDANI_CAPTION) grows from an empty rectangle at the screen's origin to the
// window's place. The main window destroys it when it becomes active; the
// splash then ends the hourglass that start-up set.

#include <windows.h>

class frmFlash {
 public:
  frmFlash() = default;
  ~frmFlash();
  frmFlash(const frmFlash&) = delete;
  frmFlash& operator=(const frmFlash&) = delete;

  // Form_Load and show, without waiting; false when the window cannot be made.
  bool Show();
  HWND Handle() const { return m_hWnd; }
  // The rectangle the caption animation ended on (the window's own).
  RECT AnimatedTo() const { return m_animatedTo; }

  static constexpr wchar_t kClassName[] = L"RTKelvaneSplash";

 private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void Form_Unload();

  HWND m_hWnd = nullptr;
  HBITMAP m_artwork = nullptr;
  RECT m_animatedTo{};
};
