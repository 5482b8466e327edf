#include <windows.h>

#include "MousePointer.h"

// The windows of the program answer WM_SETCURSOR with the hourglass while it
// is set, so that it stays over them until start-up or a dialog ends it.
namespace MousePointer {

namespace {
bool g_hourglass = false;
}  // namespace

void SetHourglass() {
  g_hourglass = true;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void SetDefault() {
  g_hourglass = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool IsHourglass() { return g_hourglass; }

}  // namespace MousePointer
