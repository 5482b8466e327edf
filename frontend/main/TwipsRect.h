#pragma once
// A control's place as the layouts give it: left, top, width and height in
// twips (1/1440 inch) from the client area's top-left corner. At 96 dots per
// inch one pixel is 15 twips.

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};
