#pragma once
// Top-level windows open centred on their screen by their outer frame, title
// bar included. The frame's size is known only once the window is shown: the
// window is centred first by its client size, shown, and centred again by
// its frame when that differs.

class QWidget;

void ShowCentred(QWidget& window);
