// The score box's keyboard: every key-down from the window, its picture boxes and
// its displays reaches AllKeyCode exactly once, which turns it into the game's
// command; a display then also takes the key as typed entry. Key-ups only matter
// for NumLock. A click marks a display.

#include "frmscoreboard.h"

#include "clockdisplay.h"
#include "configrecord.h"
#include "controls.h"
#include "arrowdisplay.h"
#include "digitdisplay.h"
#include "tallydisplay.h"
#include "game.h"
#include "keycodetoasci.h"
#include "numlock.h"
#include "units.h"
#include "virtualkeys.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLoggingCategory>

#include <optional>

// What each key did to the displays; off unless QT_LOGGING_RULES turns it on.
Q_LOGGING_CATEGORY(lcKeys, "tallivox.keys", QtWarningMsg)

using game::Display;

namespace {

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
std::optional<GameCommand> undoRedoCommand(int keyCode, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier) || (modifiers & (Qt::AltModifier | Qt::MetaModifier)))
        return std::nullopt;
    if (keyCode == 'Z')
        return modifiers & Qt::ShiftModifier ? GameCommand::redo() : GameCommand::undo();
    if (keyCode == 'Y' && !(modifiers & Qt::ShiftModifier))
        return GameCommand::redo();
    return std::nullopt;
}

} // namespace

void frmScoreboard::afterKey(int keyCode)
{
    if (m_unloaded)
        return;
    noteShownChange();
    if (!lcKeys().isDebugEnabled())
        return;
    qCDebug(lcKeys).noquote() << QStringLiteral("key %1: home=%2 visitor=%3 period=%4 clock=%5 shot=%6 running=%7")
                                     .arg(keyCode)
                                     .arg(ddHomeScore->shownText(), ddVisitorScore->shownText(), ddPeriod->shownText(),
                                          cdGame->shownText(), ddShotClock->shownText())
                                     .arg(m_game.gameClock().running() ? QStringLiteral("true") : QStringLiteral("false"))
                              << QStringLiteral("fouls=%1,%2 timeouts=%3,%4 possession=%5")
                                     .arg(ddHomeFouls->shownText(), ddVisitorFouls->shownText(),
                                          tdHomeTimeouts->shownText(), tdVisitorTimeouts->shownText(),
                                          adPossession->shownText());
}

void frmScoreboard::connectElementEvents()
{
    const auto toDispatcher = [this](QKeyEvent* e) {
        AllKeyCode(virtualKeyCode(*e), e->modifiers());
        afterKey(virtualKeyCode(*e));
    };
    const auto toKeyUp = [this](QKeyEvent* e) { AllKeyUp(virtualKeyCode(*e)); };

    for (PictureBox* box : {picScoreBox, picScoreTime, picLogoContainer}) {
        connect(box, &PictureBox::KeyDown, this, toDispatcher);
        connect(box, &PictureBox::KeyUp, this, toKeyUp);
    }

    connect(cdGame, &ClockDisplay::KeyDown, this, [this](QKeyEvent* e) {
        cdGame_KeyDown(e);
        afterKey(virtualKeyCode(*e));
    });
    connect(cdGame, &ClockDisplay::KeyUp, this, toKeyUp);
    connect(cdGame, &ClockDisplay::Click, this, [this] { ObjectSelected(cdGame); });

    // The scores, the period, and the team fouls band's fouls and timeouts take typed values.
    const std::pair<LedDisplay*, Display> scoreDisplays[] = {
        {ddHomeScore, Display::HomeScore},       {ddVisitorScore, Display::VisitorScore},
        {ddPeriod, Display::Period},             {ddHomeFouls, Display::HomeFouls},
        {ddVisitorFouls, Display::VisitorFouls}, {tdHomeTimeouts, Display::HomeTimeouts},
        {tdVisitorTimeouts, Display::VisitorTimeouts}};
    for (const auto& entry : scoreDisplays) {
        LedDisplay* display = entry.first;
        const Display which = entry.second;
        connect(display, &LedDisplay::KeyDown, this, [this, which](QKeyEvent* e) {
            scoreDisplay_KeyDown(which, e);
            afterKey(virtualKeyCode(*e));
        });
        connect(display, &LedDisplay::KeyUp, this, toKeyUp);
        connect(display, &LedDisplay::Click, this, [this, display] { ObjectSelected(display); });
    }
    // The possession arrow is clicked and keyed like the box around it.
    connect(adPossession, &LedDisplay::KeyDown, this, toDispatcher);
    connect(adPossession, &LedDisplay::KeyUp, this, toKeyUp);

    // The shot clock display takes no typed values and has no key-up handling.
    connect(ddShotClock, &DigitDisplay::KeyDown, this, [this](QKeyEvent* e) {
        ddShotClock_KeyDown(e);
        afterKey(virtualKeyCode(*e));
    });
}

// The window sees a key only when none of its elements has the focus.
void frmScoreboard::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    AllKeyCode(virtualKeyCode(*event), event->modifiers());
    afterKey(virtualKeyCode(*event));
}

bool frmScoreboard::AllKeyCode(int keyCode, Qt::KeyboardModifiers modifiers)
{
    // Keys without a code of their own (media keys and the like) do nothing.
    if (keyCode == 0)
        return false;
    // Undo and redo are fixed keys, checked before any binding and taken whole.
    if (const auto command = undoRedoCommand(keyCode, modifiers)) {
        m_game.apply(*command);
        return true;
    }
    ConfigRecord& config = Config();
    // The order decides which binding wins when two are the same key.
    if (keyCode == vk::Escape)
        EndProgram();
    else if (keyCode == config.StartStopClockKey)
        m_game.apply(GameCommand::startStop());
    else if (keyCode == config.ResetClockKey)
        m_game.apply(GameCommand::resetClock());
    else if (keyCode == config.ResetShotClockKey)
        m_game.apply(GameCommand::resetShotClock());
    else if (keyCode == config.ClockSwitchKey)
        m_game.apply(GameCommand::switchClock());
    else if (keyCode == config.BuzzerKey)
        m_game.apply(GameCommand::buzzer());
    else if (keyCode == vk::F1) {
        Q_EMIT helpRequested();
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
        const struct { qint16 key; Display display; int step; } quickKeys[] = {
            {config.QScoreH1, Display::HomeScore, 1},    {config.QScoreH2, Display::HomeScore, 2},
            {config.QScoreH3, Display::HomeScore, 3},    {config.QScoreV1, Display::VisitorScore, 1},
            {config.QScoreV2, Display::VisitorScore, 2}, {config.QScoreV3, Display::VisitorScore, 3},
            {config.QPeriod1, Display::Period, 1},
            {config.QHomeFoul, Display::HomeFouls, 1},   {config.QVisitorFoul, Display::VisitorFouls, 1},
            {config.QHomeTimeout, Display::HomeTimeouts, -1}, {config.QVisitorTimeout, Display::VisitorTimeouts, -1},
        };
        // The keys that came later lose to any older binding of the same key, so a
        // settings file from before them keeps doing what it did.
        const auto quick = std::find_if(std::begin(quickKeys), std::end(quickKeys),
                                        [&](const auto& q) { return q.key == keyCode; });
        if (quick != std::end(quickKeys))
            m_game.apply(GameCommand::quickAdd(quick->display, quick->step));
        else if (keyCode == config.QPossession)
            m_game.apply(GameCommand::switchPossession());
        else if (keyCode == config.ResetShotClockShortKey)
            m_game.apply(GameCommand::resetShotClockShort());
    }
    return false;
}

void frmScoreboard::AllKeyUp(int keyCode)
{
    if (keyCode == vk::NumLock)
        UpdateNumLock();
}

// A display runs the key's command first, then takes the key as typed entry.
void frmScoreboard::cdGame_KeyDown(QKeyEvent* event)
{
    const int keyCode = virtualKeyCode(*event);
    if (AllKeyCode(keyCode, event->modifiers()) || m_unloaded)
        return;
    m_game.apply(GameCommand::typeKey(Display::GameClock, KeyCodeToAsci(keyCode, Config().ClearKey)));
}

void frmScoreboard::scoreDisplay_KeyDown(Display display, QKeyEvent* event)
{
    const int keyCode = virtualKeyCode(*event);
    if (AllKeyCode(keyCode, event->modifiers()) || m_unloaded)
        return;
    m_game.apply(GameCommand::typeKey(display, KeyCodeToAsci(keyCode, Config().ClearKey)));
}

void frmScoreboard::ddShotClock_KeyDown(QKeyEvent* event)
{
    const int keyCode = virtualKeyCode(*event);
    if (AllKeyCode(keyCode, event->modifiers()) || m_unloaded || keyCode != Config().ClearKey)
        return;
    m_game.apply(GameCommand::clear(Display::ShotClock));
}

void frmScoreboard::ObjectSelected(QWidget* selectedObject)
{
    shpObjectSelected->hide();
    m_selected = selectedObject;
    if (!selectedObject)
        return;
    // The marker frames its display from behind, so it goes where the display is
    // (the timeouts sit under the names, outside the score and time block).
    if (shpObjectSelected->parentWidget() != selectedObject->parentWidget())
        shpObjectSelected->setParent(selectedObject->parentWidget());
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
