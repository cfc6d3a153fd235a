// The score box draws the game: the scores, the period, the game clock's face
// or the time of day, and the shot clock; and it plays the buzzer and the horn
// when the game asks.

#include "frmscoreboard.h"

#include "clockdisplay.h"
#include "clockreadings.h"
#include "configrecord.h"
#include "digitdisplay.h"
#include "game.h"
#include "sounddevice.h"

using game::Display;

void frmScoreboard::setLocalTime(std::function<QTime()> now, bool twelveHour)
{
    m_localTime = std::move(now);
    m_twelveHourClock = twelveHour;
}

// The game hands out its own changes; the time of day changes on its own, and
// so does the box when it is dragged, resized or given new options.
void frmScoreboard::tmrClock1_Timer()
{
    if (m_game.showsTimeOfDay())
        drawGameClock();
    noteShownChange();
}

void frmScoreboard::drawGame()
{
    if (m_unloaded)
        return;
    ddHomeScore->setCaption(m_game.caption(Display::HomeScore));
    ddVisitorScore->setCaption(m_game.caption(Display::VisitorScore));
    ddPeriod->setCaption(m_game.caption(Display::Period));
    drawGameClock();
    // Without a shot clock in use its hidden display keeps what it last showed.
    if (m_game.rules().useShotClock) {
        const ShotClockFace face = m_game.shotClockFace();
        ddShotClock->setTenths(face.tenths);
        ddShotClock->setCaption(face.caption);
    }
    drawTeamFouls();
    noteShownChange();
}

void frmScoreboard::drawGameClock()
{
    const GameClockReading reading = [&] {
        if (!m_game.showsTimeOfDay())
            return m_game.gameClockFace();
        const QTime now = m_localTime ? m_localTime() : QTime::currentTime();
        return timeOfDayReading(now, m_twelveHourClock);
    }();
    cdGame->setFormat(reading.format);
    cdGame->setValue(reading.value);
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
