#pragma once
// The start procedure on Windows. It ends at once, silently, when another
// instance runs in the user's session; otherwise it shows the splash window,
// waits one second while windows paint, shows the main window and runs the
// message loop until the main window has closed.

namespace StartMain {

int Main();

}  // namespace StartMain
