#pragma once
// The fonts of the windows. Gulim and Gungsuh are not on a Linux desktop; a
// font with Hangul glyphs stands in for each (NanumGothic and NanumMyeongjo
// from the Nanum family), and Arial falls to the metric-compatible sans serif
// of the system. Sizes are given in points and set in pixels at 96 dots per
// inch, so that text fits the fixed layouts whatever the screen reports.

#include <QFont>

namespace Fonts {

QFont Gulim(double points, bool bold = false, bool italic = false);
QFont Gungsuh(double points, bool bold = false);
QFont Arial(double points, bool bold = false);
// The font every control uses unless the layout names another.
QFont Default();
// font, narrowed just enough that text fits width pixels. The stand-in
// fonts run wider than the ones the layouts were made for; narrowing keeps
// every text whole inside its fixed box.
QFont FittedTo(const QFont& font, const QString& text, int width);

}  // namespace Fonts
