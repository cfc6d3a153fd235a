#pragma once
// Where the operator's own windows (a notice, the options dialog, help) go while
// the score box is on air: never over the box when the screens leave room.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// A top-left point for a window of `size` that keeps it whole on a screen and off
// `box`: below the box, above it, right of it or left of it on the screen the box
// overlaps most, else centred on another screen; nothing when no screen has room.
std::optional<QPoint> placeBesideBox(const QRect& box, const QSize& size, const QList<QRect>& screens);
