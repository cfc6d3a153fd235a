// The score box's clocks: the 50 ms refresh that shows both clocks and decides
// their expiry, the three clock commands, the time-of-day view and the sounds.

#include "frmscoreboard.h"

#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "digitdisplay.h"
#include "gameclockstate.h"
#include "sounddevice.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 RefreshIntervalNs = 50 * 1000000LL;

// Hours as the operator's clock shows them: 0-23, or 1-12 on a 12-hour clock.
int clockFaceHours(int hour24, bool twelveHour)
{
    if (!twelveHour)
        return hour24;
    const int h = hour24 % 12;
    return h == 0 ? 12 : h;
}
}

void frmScoreboard::setLocalTime(std::function<QTime()> now, bool twelveHour)
{
    m_localTime = std::move(now);
    m_twelveHourClock = twelveHour;
}

void frmScoreboard::tmrClock1_Timer()
{
    RefreshTime();
}

void frmScoreboard::RefreshTime()
{
    const ConfigRecord& config = Config();
    const ClockSeconds game = chGame->seconds();

    const GameClockReading reading = [&] {
        if (!ClockTime)
            return gameClockReading(game);
        const QTime now = m_localTime ? m_localTime() : QTime::currentTime();
        return timeOfDayReading(clockFaceHours(now.hour(), m_twelveHourClock), now.minute());
    }();
    cdGame->setFormat(reading.format);
    cdGame->setValue(reading.value);

    const RefreshInput input{game, chGame->running(), chShotClock->seconds(), config.UseShotClock, ShotClockFollowsGame,
                             ddShotClock->caption()};
    const RefreshActions actions = decideRefresh(input, m_expiry);
    if (actions.shotCaption) {
        ddShotClock->setCaption(*actions.shotCaption);
        if (config.ShowShotClockScreen && m_links.copyShotClockCaption)
            m_links.copyShotClockCaption(ddShotClock->caption());
    }
    if (actions.stopGame)
        chGame->setRunning(false);
    if (actions.stopShot)
        chShotClock->setRunning(false);
    if (actions.soundBuzzer)
        Buzzer();
    if (actions.soundHorn)
        PlayShotClock();
    armExpiryRefresh();
}

// The regular refresh finds an expiry up to 50 ms late; a single refresh armed
// for the moment a running clock reaches zero sounds it on time.
void frmScoreboard::armExpiryRefresh()
{
    qint64 soonest = -1;
    for (const Chronometer* clock : {chGame, chShotClock}) {
        const qint64 ns = clock->nanosecondsToZero();
        if (ns > 0 && (soonest < 0 || ns < soonest))
            soonest = ns;
    }
    if (soonest < 0 || soonest > RefreshIntervalNs) {
        m_expiryRefresh.stop();
        return;
    }
    m_expiryRefresh.start(int((soonest + 999999) / 1000000));
}

void frmScoreboard::StartStopClock()
{
    chGame->setRunning(!chGame->running());
    if (Config().UseShotClock)
        chShotClock->setRunning(chGame->running());
    armExpiryRefresh();
}

void frmScoreboard::ResetClock()
{
    chGame->setRunning(false);
    chGame->setSeconds(GameClockResetTime());
    if (Config().UseShotClock) {
        ShotClockFollowsGame = false;
        chShotClock->setRunning(false);
        chShotClock->setSeconds(ClockSeconds::fromSeconds(Config().ShotClockResetTime));
    }
    RefreshTime();
}

void frmScoreboard::ResetShotClock()
{
    const ConfigRecord& config = Config();
    if (!config.UseShotClock)
        return;
    const ClockSeconds full = ClockSeconds::fromSeconds(config.ShotClockResetTime);
    // Once a full shot period no longer fits in the game, the shot clock follows the game clock.
    if (chGame->seconds() > full) {
        ShotClockFollowsGame = false;
        chShotClock->setSeconds(full);
        ddShotClock->setCaption(config.ShotClockResetTime);
        if (chGame->running())
            chShotClock->setRunning(true);
    } else {
        ShotClockFollowsGame = true;
    }
    RefreshTime();
}

void frmScoreboard::Buzzer()
{
    if (!mmcBuzzer->fileName().isEmpty())
        mmcBuzzer->play();
}

void frmScoreboard::PlayShotClock()
{
    if (!mmcShotClock->fileName().isEmpty())
        mmcShotClock->play();
}
