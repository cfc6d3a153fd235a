#pragma once
// Where windows go on the screens there are: the score box whole on one screen,
// and the operator's own windows (a notice, the options dialog, help) never over
// the box while it is on air, when the screens leave room.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// A top-left point for a window of `size` that keeps it whole on a screen and off
// `box`: below the box, above it, right of it or left of it on the screen the box
// overlaps most, else centred on another screen; nothing when no screen has room.
std::optional<QPoint> placeBesideBox(const QRect& box, const QSize& size, const QList<QRect>& screens);

// Where a window whose outer size (its frame included) is `size` goes: as
// placeBesideBox puts it when a screen has room; else shrunk to the screen the box
// overlaps most when larger, and beside the box if that makes room, or else as
// near below the box as it stays whole on that screen. Empty without screens.
QRect placeWholeBesideBox(const QRect& box, const QSize& size, const QList<QRect>& screens);

// The top-left point for `box` that shows it whole: its own when it lies whole on
// a screen, else the nearest one on the screen it overlaps most (`primary` when
// it overlaps none). A box larger than the screen keeps its top-left corner on it.
QPoint wholeOnScreen(const QRect& box, const QList<QRect>& screens, const QRect& primary);
