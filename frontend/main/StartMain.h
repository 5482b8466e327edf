#pragma once
// The start procedure. It ends at once, silently, when another instance runs;
// otherwise it shows the splash window, waits one second while windows paint,
// and shows the main window. Every other step that fails is skipped.

class QApplication;

namespace StartMain {

// Runs the program and returns its exit code.
int Main(QApplication& app);

}  // namespace StartMain
