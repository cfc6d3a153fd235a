#pragma once
// A stored colour (colour.h) as Qt draws it, and back.

#include "colour.h"

#include <QColor>

inline QColor toQColor(Colour c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

inline Colour fromQColor(const QColor& c)
{
    return Colour(c.red() | (c.green() << 8) | (c.blue() << 16));
}
