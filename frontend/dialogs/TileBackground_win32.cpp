#include "TileBackground_win32.h"

void TileBackground(HDC dc, HBITMAP tile, HWND window) {
  RECT client;
  GetClientRect(window, &client);
  BITMAP info{};
  if (tile == nullptr || GetObjectW(tile, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, tile);
  for (int y = 0; y <= client.bottom; y += info.bmHeight) {
    for (int x = 0; x <= client.right; x += info.bmWidth) {
      BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
  }
  SelectObject(source, old);
  DeleteDC(source);
}
