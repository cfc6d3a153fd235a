#pragma once
// The program's logo: a basketball beside a small shot clock panel, painted in
// code so that the program carries no picture files of its own.

#include <QImage>

// The splash's logo at its designed size.
constexpr int LogoWidth = 136;
constexpr int LogoHeight = 85;

// The logo at its designed size times `scale`: the desktop's icons are drawn
// from the same strokes at their own sizes.
QImage paintLogo(qreal scale = 1);
