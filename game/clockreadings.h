#pragma once
// What the clocks show and do on each refresh: decisions kept apart from the
// window so they can be checked without a screen.

#include "clockseconds.h"

#include <QString>
#include <QTime>

#include <optional>

inline const QString MinutesSecondsFormat = QStringLiteral("60,1");
inline const QString SecondsTenthsFormat = QStringLiteral("1,.1");

struct GameClockReading
{
    QString format;
    float value = 0;
};

// Above 59.9 s the game clock shows minutes and seconds, rounded up to the next
// whole second; from 59.9 s down it shows seconds and tenths, rounded up to the
// next tenth.
GameClockReading gameClockReading(ClockSeconds gameTime);

// The time of day reads hours:minutes on the minutes-and-seconds face: 0-23, or
// 1-12 on a 12-hour clock.
GameClockReading timeOfDayReading(QTime now, bool twelveHour);
// Whether the system's short time format reads 12-hour.
bool systemClockIsTwelveHour();

// Whole seconds the shot clock shows: rounded up, so 23.2 shows 24 and 0.3 shows 1.
int shotClockReading(ClockSeconds shotTime);

// What the shot clock shows: whole seconds, or tenths of a second below five
// seconds where the rules ask for them ("4.9" is 49 with `tenths`); -1 blank.
struct ShotClockFace
{
    int caption = 0;
    bool tenths = false;
    bool operator==(const ShotClockFace&) const = default;
    // "24", "4.9", "" when blank.
    QString text() const;
};
ShotClockFace shotClockReading(ClockSeconds shotTime, bool tenths);

// For a clock counting down from `time`: the time, in whole ten-thousandths, at
// which what it shows next changes (the game clock's face, or the shot clock's
// number); -1 when it shows no change before zero.
ClockSeconds nextGameClockChange(ClockSeconds time);
ClockSeconds nextShotClockChange(ClockSeconds time, bool tenths = false);

struct RefreshInput
{
    ClockSeconds game;
    bool gameRunning = false;
    ClockSeconds shot;
    bool useShotClock = false;
    bool shotClockFollowsGame = false;
    int shotCaption = 0; // -1 while the shot clock display is blank
};

// Kept from one refresh to the next.
struct ExpiryFlags
{
    bool gameBuzzerSounded = false; // the buzzer has sounded for this expiry of the game clock
    bool shotClockHornArmed = false; // the shot clock was seen above zero since the last horn
};

struct RefreshActions
{
    std::optional<int> shotCaption; // the shot clock display's new number
    bool stopGame = false;
    bool stopShot = false;
    bool soundBuzzer = false;
    bool soundHorn = false;
};

// One refresh's decisions. The game expiry is decided before the shot clock's and
// disarms the horn, so a game clock that runs out sounds only the buzzer, even
// when the shot clock follows it or reaches zero on the same refresh.
RefreshActions decideRefresh(const RefreshInput& in, ExpiryFlags& flags);
