#include "clockseconds.h"

#include "units.h"

#include <limits>

ClockSeconds ClockSeconds::fromDouble(double seconds)
{
    constexpr qint64 lo = std::numeric_limits<qint64>::min() / 2;
    constexpr qint64 hi = std::numeric_limits<qint64>::max() / 2;
    return ClockSeconds(units::roundHalfEvenClamped(seconds * TicksPerSecond, lo, hi));
}

qint64 ClockSeconds::roundedToWholeSeconds() const
{
    // Floor division, then ties to the even whole second.
    qint64 q = m_ticks / TicksPerSecond;
    qint64 r = m_ticks % TicksPerSecond;
    if (r < 0) {
        r += TicksPerSecond;
        --q;
    }
    if (r > TicksPerSecond / 2 || (r == TicksPerSecond / 2 && (q & 1)))
        ++q;
    return q;
}
