#pragma once
// A desktop notification: one line under the program's name that the desktop
// shows beside the windows and takes away by itself. The main window sends one
// after every transfer (RunNotice decides the line). On Linux it goes to the
// desktop's notification service over the session bus (Notifier_qt.h), on
// Windows it is a balloon from the notification area (Notifier_win32.h).
// Tests hand the window a notifier that records the lines.

#include <string>

class Notifier {
 public:
  virtual ~Notifier() = default;
  // title and text in UTF-8. Returns at once: the desktop is never waited
  // for, and a desktop that shows nothing is no error for the operator.
  virtual void Notify(const std::string& title, const std::string& text) = 0;
};
