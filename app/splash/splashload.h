#pragma once
// What the splash works out at its load: where it goes and what its version
// line says. Plain values in, plain values out.

#include <QPointF>
#include <QSize>
#include <QString>

// The splash's designed size, in twips.
constexpr int SplashWidthTwips = 6240;
constexpr int SplashHeightTwips = 3480;

// "Version 1.0.4": each number in plain decimal.
QString splashVersionText(int major, int minor, int revision);

// The splash's top-left corner on a screen of the given size, both in twips:
// centred across, and vertically centred as if it were 5880 twips tall, so that
// it sits a little above the middle. Never above or left of the screen.
// Halves stay: they round only when they become pixels.
QPointF splashTopLeftTwips(QSize screenTwips, int windowWidthTwips = SplashWidthTwips);
