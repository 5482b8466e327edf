#pragma once
// A window as the screen shows it, saved as a PNG file, for test artefacts.

#include <windows.h>

#include <string>

namespace vtest {

// Copies the window's rectangle (frame included) from the screen and writes
// it as an uncompressed PNG. False when the window or the file fails.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace vtest

using vtest::SaveWindowPng;
