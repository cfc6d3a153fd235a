#pragma once
// Clock seconds: seconds as a fixed-point decimal with four places, held as a signed
// 64-bit count of ten-thousandths. Every clock value and comparison uses it, so
// arithmetic on it is exact.

#include <QtGlobal>

#include <compare>

class ClockSeconds
{
public:
    static constexpr qint64 TicksPerSecond = 10000;

    constexpr ClockSeconds() = default;
    static constexpr ClockSeconds fromTicks(qint64 ticks) { return ClockSeconds(ticks); }
    static constexpr ClockSeconds fromSeconds(qint64 seconds) { return ClockSeconds(seconds * TicksPerSecond); }
    // Nearest ten-thousandth, ties to even; out-of-range and not-a-number values clamp.
    static ClockSeconds fromDouble(double seconds);
    // Whole seconds and tenths, as typed on the game clock.
    static constexpr ClockSeconds fromTenths(qint64 tenths) { return ClockSeconds(tenths * 1000); }

    constexpr qint64 ticks() const { return m_ticks; }
    double toDouble() const { return double(m_ticks) / TicksPerSecond; }
    float toFloat() const { return float(toDouble()); }

    // Rounded to the nearest whole second, ties to even.
    qint64 roundedToWholeSeconds() const;

    constexpr ClockSeconds operator+(ClockSeconds o) const { return ClockSeconds(m_ticks + o.m_ticks); }
    constexpr ClockSeconds operator-(ClockSeconds o) const { return ClockSeconds(m_ticks - o.m_ticks); }
    constexpr ClockSeconds operator-() const { return ClockSeconds(-m_ticks); }
    ClockSeconds& operator+=(ClockSeconds o) { m_ticks += o.m_ticks; return *this; }
    ClockSeconds& operator-=(ClockSeconds o) { m_ticks -= o.m_ticks; return *this; }
    constexpr auto operator<=>(const ClockSeconds&) const = default;

private:
    constexpr explicit ClockSeconds(qint64 ticks) : m_ticks(ticks) {}
    qint64 m_ticks = 0;
};
