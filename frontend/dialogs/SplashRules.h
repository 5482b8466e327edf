#pragma once
// Where the splash window opens: centred on the screen by its outer size.
// The caption animation, where the system has one, grows from an empty
// rectangle at the screen's origin to the window's place.

namespace SplashRules {

struct Point {
  int x;
  int y;
  bool operator==(const Point&) const = default;
};

// The top-left corner that centres a window of the given outer size on a
// screen.
Point CentredOn(int screenLeft, int screenTop, int screenWidth, int screenHeight, int width, int height);

}  // namespace SplashRules
