#pragma once
// The pictures of the windows, compiled into the program as resources. The
// artwork program under res/artwork draws them when the program is built.

#include <QIcon>
#include <QPixmap>

namespace Pictures {

QPixmap Computers();    // the transfer button: two desktop computers
QPixmap TwoWayArrow();  // a two-way arrow between a red and a blue dot
QPixmap Terminal();     // a hand-held terminal
QPixmap PortTile();     // 125 x 125 light grey paper, behind the port settings
QPixmap DirTile();      // 150 x 149 light grey texture, behind the directory chooser
QPixmap Splash();       // 408 x 203 artwork of the splash window
QIcon ProgramIcon();

// The eight 22 x 22 toolbar icons, in this order.
enum class ToolIcon { OpenDoor, Lightning, RedCross, Floppy, PhoneGreen, PhoneRed, ServerPlay, ServerStop };
QPixmap Tool(ToolIcon icon);

}  // namespace Pictures
