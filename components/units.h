#pragma once
// Small value helpers shared by every layer: the rounding rule, twips and pixels,
// and the text form of Booleans.

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <limits>

namespace units {

// Every fractional-to-whole conversion rounds to the nearest number, ties to the even one.
inline double roundHalfEven(double x) { return std::nearbyint(x); }

// Rounds half to even and clamps into [lo, hi]; a not-a-number gives `fallback`.
inline qint64 roundHalfEvenClamped(double x, qint64 lo, qint64 hi, qint64 fallback = 0)
{
    if (std::isnan(x))
        return fallback;
    const double r = roundHalfEven(x);
    if (r <= double(lo))
        return lo;
    if (r >= double(hi))
        return hi;
    return qint64(r);
}

inline qint16 toInt16(double x) { return qint16(roundHalfEvenClamped(x, -32768, 32767)); }
inline qint32 toInt32(double x)
{
    return qint32(roundHalfEvenClamped(x, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

// The program measures lengths in twips and takes a pixel as 15 of them.
constexpr int TwipsPerPixel = 15;
inline double twipsToPixels(double twips) { return twips / TwipsPerPixel; }
inline int twipsToWholePixels(double twips) { return int(roundHalfEvenClamped(twips / TwipsPerPixel, -1000000, 1000000)); }
inline double pixelsToTwips(double pixels) { return pixels * TwipsPerPixel; }

// Booleans are -1 (True) and 0 (False) in the record, "True"/"False" as text.
constexpr qint16 VbTrue = -1;
constexpr qint16 VbFalse = 0;
inline qint16 toVbBoolean(bool b) { return b ? VbTrue : VbFalse; }
inline QString booleanText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

} // namespace units
