#pragma once
// The settings of the terminal's serial line with termios, for both ends the
// project has: the PC's COM port (com_line_posix.cpp) and the simulated
// terminal on a serial device (hht-sim).
//
// The line is raw 8N1 with XON/XOFF both ways (only XON restarts output),
// receiver on, modem lines ignored. A speed with a classic termios constant
// (9600, 19200, 38400, 57600, 115200) goes into the settings; the others are
// set after them through the arbitrary-rate interface (SetLineSpeed).

#include <termios.h>

namespace vantor {

// The line's settings, made from the device's current ones in t; vmin is the
// read's minimum count (VTIME 0). False when the speed's constant is refused.
bool MakeLineSettings(termios& t, int speed, cc_t vmin);

// After the settings are applied: true when the device runs at speed, read
// back for a classic speed, set through the arbitrary-rate interface for the
// others.
bool ApplyLineSpeed(int fd, int speed);

}  // namespace vantor
