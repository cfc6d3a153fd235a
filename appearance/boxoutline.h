#pragma once
// The score box's outline and the arithmetic of moving and resizing it, free of
// any window so it can be checked exactly.

#include <QRegion>
#include <QSize>

// A rounded rectangle of `width` × `height` pixels whose corners are quarter
// ellipses `corner` pixels wide and high, as the box is cut to.
QRegion roundedOutline(int width, int height, int corner);

// The corner ellipse for a box `boxHeightTwips` high: a hundredth of the height,
// in pixels.
int outlineCorner(double boxHeightTwips);

// The box size (twips) for a grip dragged to `w` × `h`, keeping the ratio of the
// box as it was at the press, and never lower than 600 twips.
QSize resizedBoxTwips(int boxWidth, int boxHeight, int w, int h);

constexpr int MinimumBoxHeightTwips = 600;
