#include "chronometer.h"

#include "timesource.h"

#include <algorithm>
#include <limits>

namespace {
constexpr qint64 NsPerTick = 1000000000 / ClockSeconds::TicksPerSecond;
// Keeps a written time far from the 64-bit edge once it is counted in nanoseconds.
constexpr qint64 LimitTicks = std::numeric_limits<qint64>::max() / NsPerTick / 4;
}

Chronometer::Chronometer(QObject* parent)
    : Chronometer(SteadyTimeSource::instance(), parent)
{
}

Chronometer::Chronometer(const TimeSource& time, QObject* parent)
    : QObject(parent)
    , m_time(time)
{
}

qint64 Chronometer::leftNs() const
{
    if (!m_running || m_leftAtStartNs <= 0)
        return m_leftAtStartNs;
    return std::max<qint64>(0, m_leftAtStartNs - (m_time.nowNs() - m_startedAtNs));
}

void Chronometer::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_leftAtStartNs = leftNs();
    m_startedAtNs = m_time.nowNs();
    m_running = running;
    Q_EMIT runningChanged(running);
}

ClockSeconds Chronometer::seconds() const
{
    // A part of a ten-thousandth still to go counts as time left, so the clock
    // reads zero exactly when its time is up.
    const qint64 ns = leftNs();
    const qint64 ticks = ns >= 0 ? (ns + NsPerTick - 1) / NsPerTick : -((-ns) / NsPerTick);
    return ClockSeconds::fromTicks(ticks);
}

void Chronometer::setSeconds(ClockSeconds seconds)
{
    m_leftAtStartNs = std::clamp(seconds.ticks(), -LimitTicks, LimitTicks) * NsPerTick;
    m_startedAtNs = m_time.nowNs();
}

qint64 Chronometer::nanosecondsToZero() const
{
    if (!m_running)
        return -1;
    return std::max<qint64>(0, leftNs());
}
