#pragma once
// The help window's size rules as plain arithmetic in twips, so that they are
// tested without a window: the smallest outer size the window may take, and
// where its text view goes inside the client area.

#include <QRect>
#include <QSize>

namespace helpgeometry {

// The window's outer size never goes below this.
constexpr QSize MinimumOuterTwips(2700, 1700);
// The text view keeps this margin on the left; its text wraps this far before
// the view's right edge.
constexpr int TextViewLeftTwips = 120;
constexpr int WrapInsetTwips = 450;

// The outer size with each side brought up to the minimum.
QSize clampOuterSize(QSize outerTwips);

// The text view fills the client area right of the left margin.
QRect textViewRect(QSize clientTwips);

// The width at which the text wraps, for a text view of the given width.
int wrapWidth(int textViewWidthTwips);

} // namespace helpgeometry
