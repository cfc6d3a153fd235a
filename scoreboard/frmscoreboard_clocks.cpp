// The score box's clocks: the 50 ms refresh that shows both clocks and decides
// their expiry, the three clock commands, the time-of-day view and the sounds.

#include "frmscoreboard.h"

#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "digitdisplay.h"
#include "gameclockstate.h"
#include "sounddevice.h"
#include "timesource.h"

#include <algorithm>
#include <cmath>

namespace {

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
    noteGameChange();
}

GameState frmScoreboard::gameState() const
{
    return GameState{ddHomeScore->caption(), ddVisitorScore->caption(), ddPeriod->caption(),
                     chGame->seconds(),      chGame->running(),          GameClockResetTime(),
                     chShotClock->seconds(), chShotClock->running(),     ShotClockFollowsGame,
                     ClockTime};
}

void frmScoreboard::restoreGame(const GameState& state)
{
    ddHomeScore->setCaption(state.homeScore);
    ddVisitorScore->setCaption(state.visitorScore);
    ddPeriod->setCaption(state.period);
    GameClockResetTime() = state.gameClockResetTime;
    chGame->setRunning(false);
    chGame->setSeconds(state.gameClock);
    chShotClock->setRunning(false);
    chShotClock->setSeconds(state.shotClock);
    ShotClockFollowsGame = state.shotClockFollowsGame;
    ClockTime = state.showsTimeOfDay;
    RefreshTime();
    noteGameChange();
}

void frmScoreboard::noteGameChange()
{
    if (m_unloaded || !m_links.gameChanged)
        return;
    constexpr qint64 RunningSaveIntervalNs = 1000 * 1000000LL;
    const GameState now = gameState();
    const qint64 nowNs = m_time.nowNs();
    const bool clockRuns = now.gameClockRunning || now.shotClockRunning;
    if (!differsBeyondRunningTime(now, m_lastHandedOut)
        && !(clockRuns && nowNs - m_lastHandedOutNs >= RunningSaveIntervalNs))
        return;
    m_lastHandedOut = now;
    m_lastHandedOutNs = nowNs;
    m_links.gameChanged(now);
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
    noteShownChange();
}

// The regular refresh finds a change of the digits, or an expiry, up to 50 ms
// late, at a different phase after every start. A single refresh armed for the
// next instant at which a running clock's shown text changes (its zero included)
// draws every change, and sounds every expiry, on time.
void frmScoreboard::armExpiryRefresh()
{
    constexpr qint64 NsPerTick = 1000000000 / ClockSeconds::TicksPerSecond;
    qint64 soonest = -1;
    // `changeAt`: the time left at which what the clock shows changes next.
    const auto consider = [&](const Chronometer* clock, ClockSeconds changeAt) {
        const qint64 toZero = clock->nanosecondsToZero();
        if (toZero <= 0 || changeAt.ticks() < 0)
            return;
        const qint64 ns = toZero - changeAt.ticks() * NsPerTick;
        if (ns > 0 && (soonest < 0 || ns < soonest))
            soonest = ns;
    };
    // The time of day needs no more than the regular refresh; the game clock's
    // zero still does.
    consider(chGame, ClockTime ? ClockSeconds() : nextGameClockChange(chGame->seconds()));
    if (Config().UseShotClock) {
        if (ShotClockFollowsGame)
            consider(chGame, nextShotClockChange(chGame->seconds()));
        consider(chShotClock, nextShotClockChange(chShotClock->seconds()));
    } else {
        consider(chShotClock, ClockSeconds());
    }
    if (soonest < 0) {
        m_expiryRefresh.stop();
        return;
    }
    m_expiryRefresh.start(int(std::min<qint64>((soonest + 999999) / 1000000, 60000)));
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
