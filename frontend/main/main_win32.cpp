// RTKelvane: exchanges data files with the hand-held terminal.

#include <windows.h>

#include "StartMain_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return StartMain::Main(); }
