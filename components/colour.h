#pragma once
// Colours travel through the settings and the record as 32-bit values with red in
// the low byte, green in the next and blue in the third (0x00BBGGRR).

#include <QColor>
#include <QtGlobal>

using Colour = qint32;

inline QColor toQColor(Colour c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

inline Colour fromQColor(const QColor& c)
{
    return Colour(c.red() | (c.green() << 8) | (c.blue() << 16));
}
