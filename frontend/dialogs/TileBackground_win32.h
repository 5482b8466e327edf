#pragma once
// Fills a dialog's background with copies of a tile picture at its natural
// size, row by row from the top-left corner; tiles at the right and bottom
// edges are cut off by the window. No picture: the plain background.

#include <windows.h>

void TileBackground(HDC dc, HBITMAP tile, HWND window);
