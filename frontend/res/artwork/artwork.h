#pragma once
// The pictures of the program, drawn with QPainter when the program is built.
// Each function returns one finished picture at its natural size.

#include <QImage>

class QDir;

namespace Artwork {

QImage Computers();                  // 51 x 48: two desktop computers, the transfer button
QImage TwoWayArrow();                // 163 x 19: a two-way arrow between a red and a blue dot
QImage Terminal();                   // 35 x 72: a hand-held terminal
QImage PortTile();                   // 125 x 125: light grey paper
QImage DirTile();                    // 150 x 149: light grey texture
QImage Splash();                     // 408 x 203: the splash artwork
QImage ProgramIcon(int size = 128);  // size x size, 128 for the windows
// Toolbar icon number index (0 to 7), 22 x 22.
QImage ToolIcon(int index);

// The pictures as BMP files and the program icon as an ICO file, for the
// Windows program's resource script. False when a file cannot be written.
bool SaveWindowsPictures(const QDir& dir);

}  // namespace Artwork
