// The score box's keyboard: every key-down from the window, its picture boxes and
// its displays reaches AllKeyCode exactly once; a display then also takes the key
// as typed entry. Key-ups only matter for NumLock. A click marks a display.

#include "frmscoreboard.h"

#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "entrytext.h"
#include "gameclockstate.h"
#include "gamestate.h"
#include "keycodetoasci.h"
#include "numlock.h"
#include "units.h"
#include "virtualkeys.h"

#include <QKeyEvent>
#include <QLoggingCategory>

// What each key did to the displays; off unless QT_LOGGING_RULES turns it on.
Q_LOGGING_CATEGORY(lcKeys, "tallivox.keys", QtWarningMsg)

using game::BlankCaption;
using game::MaxGameSeconds;
using game::MaxPeriod;
using game::MaxScore;

void frmScoreboard::afterKey(int keyCode)
{
    if (m_unloaded)
        return;
    noteGameChange();
    noteShownChange();
    if (!lcKeys().isDebugEnabled())
        return;
    qCDebug(lcKeys).noquote() << QStringLiteral("key %1: home=%2 visitor=%3 period=%4 clock=%5 shot=%6 running=%7")
                                     .arg(keyCode)
                                     .arg(ddHomeScore->shownText(), ddVisitorScore->shownText(), ddPeriod->shownText(),
                                          cdGame->shownText(), ddShotClock->shownText())
                                     .arg(chGame->running() ? QStringLiteral("true") : QStringLiteral("false"));
}

void frmScoreboard::connectElementEvents()
{
    const auto toDispatcher = [this](QKeyEvent* e) {
        AllKeyCode(virtualKeyCode(*e));
        afterKey(virtualKeyCode(*e));
    };
    const auto toKeyUp = [this](QKeyEvent* e) { AllKeyUp(virtualKeyCode(*e)); };

    for (PictureBox* box : {picScoreBox, picScoreTime, picLogoContainer}) {
        connect(box, &PictureBox::KeyDown, this, toDispatcher);
        connect(box, &PictureBox::KeyUp, this, toKeyUp);
    }

    connect(cdGame, &ClockDisplay::KeyDown, this, [this](QKeyEvent* e) {
        cdGame_KeyDown(virtualKeyCode(*e));
        afterKey(virtualKeyCode(*e));
    });
    connect(cdGame, &ClockDisplay::KeyUp, this, toKeyUp);
    connect(cdGame, &ClockDisplay::Click, this, [this] { ObjectSelected(cdGame); });

    const std::pair<DigitDisplay*, int> scoreDisplays[] = {
        {ddHomeScore, MaxScore}, {ddVisitorScore, MaxScore}, {ddPeriod, MaxPeriod}};
    for (const auto& entry : scoreDisplays) {
        DigitDisplay* display = entry.first;
        const int maxValue = entry.second;
        connect(display, &DigitDisplay::KeyDown, this,
                [this, display, maxValue](QKeyEvent* e) {
                    scoreDisplay_KeyDown(display, virtualKeyCode(*e), maxValue);
                    afterKey(virtualKeyCode(*e));
                });
        connect(display, &DigitDisplay::KeyUp, this, toKeyUp);
        connect(display, &DigitDisplay::Click, this, [this, display] { ObjectSelected(display); });
    }

    // The shot clock display takes no typed values and has no key-up handling.
    connect(ddShotClock, &DigitDisplay::KeyDown, this, [this](QKeyEvent* e) {
        ddShotClock_KeyDown(virtualKeyCode(*e));
        afterKey(virtualKeyCode(*e));
    });
}

// The window sees a key only when none of its elements has the focus.
void frmScoreboard::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    AllKeyCode(virtualKeyCode(*event));
    afterKey(virtualKeyCode(*event));
}

void frmScoreboard::AllKeyCode(int keyCode)
{
    // Keys without a code of their own (media keys and the like) do nothing.
    if (keyCode == 0)
        return;
    ConfigRecord& config = Config();
    // The order decides which binding wins when two are the same key.
    if (keyCode == vk::Escape)
        EndProgram();
    else if (keyCode == config.StartStopClockKey)
        StartStopClock();
    else if (keyCode == config.ResetClockKey)
        ResetClock();
    else if (keyCode == config.ResetShotClockKey)
        ResetShotClock();
    else if (keyCode == config.ClockSwitchKey)
        ClockTime = !ClockTime;
    else if (keyCode == config.BuzzerKey)
        Buzzer();
    else if (keyCode == vk::F1) {
        if (m_links.showHelp)
            m_links.showHelp();
    } else if (keyCode == vk::F2)
        ReapplyAfterOptions();
    else if (keyCode == vk::F11) {
        config.ScoreboardView = 1;
        UpdateScoreboardView(NoPosition, NoPosition, ConfiguredView);
    } else if (keyCode == vk::F12) {
        config.ScoreboardView = 0;
        UpdateScoreboardView(NoPosition, NoPosition, ConfiguredView);
    } else {
        // The quick keys add to a display through the same limits as typed entries.
        const struct { qint16 key; DigitDisplay* display; const char* step; int maxValue; } quickKeys[] = {
            {config.QScoreH1, ddHomeScore, "+1", MaxScore},    {config.QScoreH2, ddHomeScore, "+2", MaxScore},
            {config.QScoreH3, ddHomeScore, "+3", MaxScore},    {config.QScoreV1, ddVisitorScore, "+1", MaxScore},
            {config.QScoreV2, ddVisitorScore, "+2", MaxScore}, {config.QScoreV3, ddVisitorScore, "+3", MaxScore},
            {config.QPeriod1, ddPeriod, "+1", MaxPeriod},
        };
        for (const auto& q : quickKeys) {
            if (keyCode != q.key)
                continue;
            quickKey(q.display, QString::fromLatin1(q.step), q.maxValue);
            return;
        }
    }
}

void frmScoreboard::quickKey(DigitDisplay* display, const QString& step, int maxValue)
{
    if (const auto value = SetDisplayValue(display->caption(), step, -1, maxValue))
        display->setCaption(*value);
}

void frmScoreboard::AllKeyUp(int keyCode)
{
    if (keyCode == vk::NumLock)
        UpdateNumLock();
}

void frmScoreboard::cdGame_KeyDown(int keyCode)
{
    AllKeyCode(keyCode);
    if (m_unloaded)
        return;
    const auto typed = EnterClockDigit(ClockEntry(), cdGame->objectName(), KeyCodeToAsci(keyCode, Config().ClearKey),
                                       MaxGameSeconds);
    if (!typed)
        return;
    chGame->setSeconds(*typed);
    GameClockResetTime() = *typed;
    RefreshTime();
}

void frmScoreboard::scoreDisplay_KeyDown(DigitDisplay* display, int keyCode, int maxValue)
{
    AllKeyCode(keyCode);
    if (m_unloaded)
        return;
    display->setCaption(EnterDisplayDigit(DigitEntry(), display->objectName(), display->caption(),
                                          KeyCodeToAsci(keyCode, Config().ClearKey), -1, maxValue));
}

void frmScoreboard::ddShotClock_KeyDown(int keyCode)
{
    AllKeyCode(keyCode);
    if (m_unloaded || keyCode != Config().ClearKey)
        return;
    // A cleared shot clock shows nothing and never sounds until it is reset.
    ddShotClock->setCaption(BlankCaption);
    chShotClock->setSeconds(ClockSeconds());
}

void frmScoreboard::ObjectSelected(QWidget* selectedObject)
{
    shpObjectSelected->hide();
    m_selected = selectedObject;
    if (!selectedObject)
        return;
    // The frame width is a 16-bit product in twips: a huge stored width is held at its limit.
    const double m = double(units::toInt16(double(Config().LEDSelectedWidth) * units::TwipsPerPixel));
    const QRect r = selectedObject->geometry();
    const double left = units::pixelsToTwips(r.x()) - m;
    const double top = units::pixelsToTwips(r.y()) - m;
    const double width = units::pixelsToTwips(r.width()) + 2 * m + units::TwipsPerPixel;
    const double height = units::pixelsToTwips(r.height()) + 2 * m + units::TwipsPerPixel;
    using units::twipsToWholePixels;
    shpObjectSelected->setGeometry(twipsToWholePixels(left), twipsToWholePixels(top),
                                   std::max(0, twipsToWholePixels(width)), std::max(0, twipsToWholePixels(height)));
    shpObjectSelected->show();
    shpObjectSelected->lower();
}

void frmScoreboard::UpdateNumLock()
{
    if (m_numLock)
        ApplyNumLockPolicy(*m_numLock, Config().NumLockForce);
}
