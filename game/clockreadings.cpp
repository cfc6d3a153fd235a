#include "clockreadings.h"

#include <QLocale>

#include <algorithm>

namespace {
const ClockSeconds LastMinuteThreshold = ClockSeconds::fromTenths(599);
const ClockSeconds AlmostOneSecond = ClockSeconds::fromTicks(4999);
const ClockSeconds Zero;
}

GameClockReading gameClockReading(ClockSeconds gameTime)
{
    if (gameTime > LastMinuteThreshold)
        return {MinutesSecondsFormat, float((gameTime + AlmostOneSecond).roundedToWholeSeconds())};
    // Tenths are rounded up too, as basketball clocks do: 0.0 shows only once
    // time is up, at the refresh that sounds the buzzer. (Integer division
    // already rounds a negative time up, to zero.)
    const qint64 ticks = gameTime.ticks();
    const qint64 tenthsUp = ticks > 0 ? (ticks + 999) / 1000 : ticks / 1000;
    return {SecondsTenthsFormat, float(tenthsUp) / 10};
}

GameClockReading timeOfDayReading(QTime now, bool twelveHour)
{
    int hours = now.hour();
    if (twelveHour)
        hours = hours % 12 == 0 ? 12 : hours % 12;
    return {MinutesSecondsFormat, float(hours * 60 + now.minute())};
}

bool systemClockIsTwelveHour()
{
    return QLocale::system().timeFormat(QLocale::ShortFormat).contains(u'a', Qt::CaseInsensitive);
}

int shotClockReading(ClockSeconds shotTime)
{
    const qint64 seconds = (shotTime + AlmostOneSecond).roundedToWholeSeconds();
    return int(std::clamp<qint64>(seconds, -32768, 32767));
}

QString ShotClockFace::text() const
{
    if (caption < 0)
        return {};
    if (tenths)
        return QStringLiteral("%1.%2").arg(caption / 10).arg(caption % 10);
    return QString::number(caption);
}

ShotClockFace shotClockReading(ClockSeconds shotTime, bool tenths)
{
    if (tenths) {
        // Rounded up to the tenth, as the game clock is: 0.0 only at expiry.
        const qint64 ticks = shotTime.ticks();
        const qint64 tenthsUp = ticks > 0 ? (ticks + 999) / 1000 : 0;
        if (tenthsUp < 50)
            return {int(tenthsUp), true};
    }
    return {shotClockReading(shotTime), false};
}

namespace {

// The shown value never stays for more than a second and a half: the last time
// below `time` that reads differently is found by halving within that span.
template <typename Reading>
ClockSeconds nextChange(ClockSeconds time, Reading reading)
{
    const auto shown = reading(time);
    qint64 same = time.ticks();                                        // reads as now
    qint64 other = std::max<qint64>(0, same - 15000);                  // may read otherwise
    if (same <= 0 || reading(ClockSeconds::fromTicks(other)) == shown)
        return ClockSeconds::fromTicks(-1);
    while (same - other > 1) {
        const qint64 middle = other + (same - other) / 2;
        (reading(ClockSeconds::fromTicks(middle)) == shown ? same : other) = middle;
    }
    return ClockSeconds::fromTicks(other);
}

} // namespace

ClockSeconds nextGameClockChange(ClockSeconds time)
{
    return nextChange(time, [](ClockSeconds t) {
        const GameClockReading r = gameClockReading(t);
        return std::pair(r.format, r.value);
    });
}

ClockSeconds nextShotClockChange(ClockSeconds time, bool tenths)
{
    return nextChange(time, [tenths](ClockSeconds t) { return shotClockReading(t, tenths); });
}

RefreshActions decideRefresh(const RefreshInput& in, ExpiryFlags& flags)
{
    RefreshActions out;
    const ClockSeconds shot = in.shotClockFollowsGame ? in.game : in.shot;
    if (in.useShotClock && in.shotCaption >= 0)
        out.shotCaption = shotClockReading(shot);

    if (in.game <= Zero) {
        if (in.gameRunning && !flags.gameBuzzerSounded) {
            flags.gameBuzzerSounded = true;
            out.stopGame = true;
            out.stopShot = true;
            flags.shotClockHornArmed = false;
            out.soundBuzzer = true;
        }
    } else {
        flags.gameBuzzerSounded = false;
    }

    if (in.useShotClock) {
        if (shot <= Zero) {
            if (flags.shotClockHornArmed && in.shotCaption != -1) {
                out.stopShot = true;
                out.soundHorn = true;
                flags.shotClockHornArmed = false;
            }
        } else {
            flags.shotClockHornArmed = true;
        }
    }
    return out;
}
