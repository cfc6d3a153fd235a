#include "game.h"

#include "configrecord.h"

#include <algorithm>

using game::Display;

namespace {

constexpr int RefreshIntervalMs = 50;

// Which display a typed entry belongs to: switching display starts a new entry.
QString entryTarget(Display display)
{
    switch (display) {
    case Display::HomeScore:
        return QStringLiteral("home");
    case Display::VisitorScore:
        return QStringLiteral("visitor");
    case Display::Period:
        return QStringLiteral("period");
    case Display::GameClock:
        return QStringLiteral("gameClock");
    case Display::ShotClock:
        break;
    }
    return QStringLiteral("shotClock");
}

bool isNumberDisplay(Display display)
{
    return display == Display::HomeScore || display == Display::VisitorScore || display == Display::Period;
}

int maxOf(Display display)
{
    return display == Display::Period ? game::MaxPeriod : game::MaxScore;
}

} // namespace

GameRules GameRules::from(const ConfigRecord& config)
{
    return {config.UseShotClock, config.ShotClockResetTime};
}

Game::Game(const TimeSource& time, Rules rules, QObject* parent)
    : QObject(parent)
    , m_rules(rules)
    , m_gameClock(time)
    , m_gameClockResetTime(ClockSeconds::fromSeconds(600))
    , m_shotClock(time)
{
    m_gameClock.setSeconds(m_gameClockResetTime);
    m_shotClock.setSeconds(ClockSeconds::fromSeconds(m_rules.shotClockResetSeconds));
    decideExpiry();
    m_lastAnnounced = state();
    m_lastFaces = faces();

    m_refreshTimer.setTimerType(Qt::PreciseTimer);
    m_refreshTimer.setInterval(RefreshIntervalMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &Game::refresh);
    m_refreshTimer.start();
    m_expiryRefresh.setSingleShot(true);
    m_expiryRefresh.setTimerType(Qt::PreciseTimer);
    connect(&m_expiryRefresh, &QTimer::timeout, this, &Game::refresh);
}

void Game::setRules(const Rules& rules)
{
    m_rules = rules;
    refresh();
}

void Game::stopRefreshing()
{
    m_refreshTimer.stop();
    m_expiryRefresh.stop();
}

bool Game::apply(const GameCommand& command)
{
    using Kind = GameCommand::Kind;
    bool accepted = true;
    switch (command.kind) {
    case Kind::StartStop:
        startStop();
        break;
    case Kind::SwitchClock:
        m_showsTimeOfDay = !m_showsTimeOfDay;
        break;
    case Kind::Buzzer:
        Q_EMIT buzzerDue();
        break;
    case Kind::Undo:
        accepted = undo();
        break;
    case Kind::Redo:
        accepted = redo();
        break;
    default:
        accepted = applyUndoable(command);
        break;
    }
    armExpiryRefresh();
    announce();
    return accepted;
}

bool Game::applyUndoable(const GameCommand& command)
{
    using Kind = GameCommand::Kind;
    const UndoableGame before = undoable();
    bool accepted = false;
    switch (command.kind) {
    case Kind::ResetClock:
        resetClock();
        accepted = true;
        break;
    case Kind::ResetShotClock:
        accepted = resetShotClock(command.number);
        break;
    case Kind::TypeKey:
        accepted = typeKey(command.display, command.number);
        break;
    default:
        accepted = changeValue(command.display, command);
        break;
    }
    const UndoableGame after = undoable();
    if (after != before)
        m_history.record({before, after});
    return accepted;
}

// Quick adds, clears and values set outright.
bool Game::changeValue(Display display, const GameCommand& command)
{
    using Kind = GameCommand::Kind;
    if (command.kind == Kind::SetGameTime) {
        if (command.time < ClockSeconds() || command.time > ClockSeconds::fromSeconds(game::MaxGameSeconds))
            return false;
        setGameTime(command.time);
        return true;
    }
    if (command.kind == Kind::Clear && display == Display::ShotClock) {
        // A cleared shot clock shows nothing and never sounds until it is reset.
        m_shotClockBlank = true;
        m_shotClock.setSeconds(ClockSeconds());
        return true;
    }
    if (!isNumberDisplay(display))
        return false;
    int& value = valueOf(display);
    std::optional<int> next;
    switch (command.kind) {
    case Kind::QuickAdd: {
        // Through the same limits as a typed step.
        const QString step = (command.number < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                             + QString::number(std::abs(qint64(command.number)));
        next = SetDisplayValue(value, step, game::BlankCaption, maxOf(display));
        break;
    }
    case Kind::Clear:
        next = game::BlankCaption;
        break;
    case Kind::SetValue:
        if (command.number >= game::BlankCaption && command.number <= maxOf(display))
            next = command.number;
        break;
    default:
        break;
    }
    if (!next)
        return false;
    value = *next;
    return true;
}

bool Game::typeKey(Display display, int charCode)
{
    if (isNumberDisplay(display)) {
        int& value = valueOf(display);
        value = EnterDisplayDigit(m_digitEntry, entryTarget(display), value, charCode, game::BlankCaption,
                                  maxOf(display));
        return true;
    }
    if (display == Display::ShotClock) {
        // The shot clock takes no typed values, only the clear mark.
        if (charCode != charcode::ClearMark)
            return false;
        return changeValue(display, GameCommand::clear(Display::ShotClock));
    }
    const auto typed = EnterClockDigit(m_clockEntry, entryTarget(display), charCode, game::MaxGameSeconds);
    if (typed)
        setGameTime(*typed);
    return true;
}

// A game time typed or set is also what the reset key puts back.
void Game::setGameTime(ClockSeconds time)
{
    m_gameClock.setSeconds(time);
    m_gameClockResetTime = time;
    decideExpiry();
}

void Game::startStop()
{
    m_gameClock.setRunning(!m_gameClock.running());
    if (m_rules.useShotClock)
        m_shotClock.setRunning(m_gameClock.running());
}

void Game::resetClock()
{
    m_gameClock.setRunning(false);
    m_gameClock.setSeconds(m_gameClockResetTime);
    if (m_rules.useShotClock) {
        m_shotClockFollowsGame = false;
        m_shotClock.setRunning(false);
        m_shotClock.setSeconds(ClockSeconds::fromSeconds(m_rules.shotClockResetSeconds));
    }
    decideExpiry();
}

bool Game::resetShotClock(int seconds)
{
    if (!m_rules.useShotClock)
        return false;
    const ClockSeconds full = ClockSeconds::fromSeconds(seconds > 0 ? seconds : m_rules.shotClockResetSeconds);
    // Once a full shot period no longer fits in the game, the shot clock follows
    // the game clock. A blank shot clock stays blank then.
    if (m_gameClock.seconds() > full) {
        m_shotClockFollowsGame = false;
        m_shotClock.setSeconds(full);
        m_shotClockBlank = false;
        if (m_gameClock.running())
            m_shotClock.setRunning(true);
    } else {
        m_shotClockFollowsGame = true;
    }
    decideExpiry();
    return true;
}

bool Game::undo()
{
    // The first undo while an entry is being typed only drops the entry.
    if (entryPending()) {
        m_digitEntry.text.clear();
        m_clockEntry.text.clear();
        return true;
    }
    return takeBackStep(m_history.takeUndo(), &UndoHistory::undone);
}

bool Game::redo()
{
    return takeBackStep(m_history.takeRedo(), &UndoHistory::redone);
}

// Undo and redo are the same move: the step taken back, and kept the other way
// round for the move back again.
bool Game::takeBackStep(const std::optional<UndoStep>& step, void (UndoHistory::*keep)(const UndoStep&))
{
    if (!step)
        return false;
    const UndoableGame now = undoable();
    const UndoableGame then = takeBack(*step, now);
    setUndoable(then);
    (m_history.*keep)({now, then});
    decideExpiry();
    return true;
}

int& Game::valueOf(Display display)
{
    switch (display) {
    case Display::VisitorScore:
        return m_visitorScore;
    case Display::Period:
        return m_period;
    default:
        return m_homeScore;
    }
}

UndoableGame Game::undoable() const
{
    return {m_homeScore,         m_visitorScore,          m_period,         m_gameClock.seconds(),
            m_gameClockResetTime, m_shotClock.seconds(), m_shotClockFollowsGame, m_shotClockBlank};
}

void Game::setUndoable(const UndoableGame& g)
{
    m_homeScore = g.homeScore;
    m_visitorScore = g.visitorScore;
    m_period = g.period;
    // Written only when it moves: a running clock keeps its finer count.
    if (g.gameClock != m_gameClock.seconds())
        m_gameClock.setSeconds(g.gameClock);
    m_gameClockResetTime = g.gameClockResetTime;
    if (g.shotClock != m_shotClock.seconds())
        m_shotClock.setSeconds(g.shotClock);
    m_shotClockFollowsGame = g.shotClockFollowsGame;
    m_shotClockBlank = g.shotClockBlank;
}

GameState Game::state() const
{
    return GameState{m_homeScore,           m_visitorScore,        m_period,
                     m_gameClock.seconds(), m_gameClock.running(), m_gameClockResetTime,
                     m_shotClock.seconds(), m_shotClock.running(), m_shotClockFollowsGame,
                     m_showsTimeOfDay,      m_shotClockBlank};
}

void Game::restore(const GameState& s)
{
    m_homeScore = s.homeScore;
    m_visitorScore = s.visitorScore;
    m_period = s.period;
    m_gameClockResetTime = s.gameClockResetTime;
    m_gameClock.setRunning(false);
    m_gameClock.setSeconds(s.gameClock);
    m_shotClock.setRunning(false);
    m_shotClock.setSeconds(s.shotClock);
    m_shotClockFollowsGame = s.shotClockFollowsGame;
    m_shotClockBlank = s.shotClockBlank;
    m_showsTimeOfDay = s.showsTimeOfDay;
    m_history.clear();
    refresh();
}

int Game::caption(Display display) const
{
    switch (display) {
    case Display::HomeScore:
        return m_homeScore;
    case Display::VisitorScore:
        return m_visitorScore;
    case Display::Period:
        return m_period;
    case Display::ShotClock:
        return shotClockCaption();
    case Display::GameClock:
        break;
    }
    return game::BlankCaption;
}

GameClockReading Game::gameClockFace() const
{
    return gameClockReading(m_gameClock.seconds());
}

int Game::shotClockCaption() const
{
    return ::shotClockCaption(state());
}

bool Game::entryPending() const
{
    return !m_digitEntry.text.isEmpty() || !m_clockEntry.text.isEmpty();
}

void Game::refresh()
{
    decideExpiry();
    armExpiryRefresh();
    announce();
}

void Game::decideExpiry()
{
    const RefreshInput input{m_gameClock.seconds(),    m_gameClock.running(),  m_shotClock.seconds(),
                             m_rules.useShotClock,     m_shotClockFollowsGame, m_shotClockBlank ? -1 : 0};
    const RefreshActions actions = decideRefresh(input, m_expiry);
    if (actions.stopGame)
        m_gameClock.setRunning(false);
    if (actions.stopShot)
        m_shotClock.setRunning(false);
    if (actions.soundBuzzer)
        Q_EMIT buzzerDue();
    if (actions.soundHorn)
        Q_EMIT hornDue();
}

// The regular refresh finds a change of the digits, or an expiry, up to 50 ms
// late, at a different phase after every start. A single refresh armed for the
// next instant at which a running clock's shown text changes (its zero included)
// draws every change, and sounds every expiry, on time.
void Game::armExpiryRefresh()
{
    constexpr qint64 NsPerTick = 1000000000 / ClockSeconds::TicksPerSecond;
    qint64 soonest = -1;
    // `changeAt`: the time left at which what the clock shows changes next.
    const auto consider = [&](const Chronometer& clock, ClockSeconds changeAt) {
        const qint64 toZero = clock.nanosecondsToZero();
        if (toZero <= 0 || changeAt.ticks() < 0)
            return;
        const qint64 ns = toZero - changeAt.ticks() * NsPerTick;
        if (ns > 0 && (soonest < 0 || ns < soonest))
            soonest = ns;
    };
    // The time of day needs no more than the regular refresh; the game clock's
    // zero still does.
    consider(m_gameClock, m_showsTimeOfDay ? ClockSeconds() : nextGameClockChange(m_gameClock.seconds()));
    if (m_rules.useShotClock) {
        if (m_shotClockFollowsGame)
            consider(m_gameClock, nextShotClockChange(m_gameClock.seconds()));
        consider(m_shotClock, nextShotClockChange(m_shotClock.seconds()));
    } else {
        consider(m_shotClock, ClockSeconds());
    }
    if (soonest < 0) {
        m_expiryRefresh.stop();
        return;
    }
    m_expiryRefresh.start(int(std::min<qint64>((soonest + 999999) / 1000000, 60000)));
}

Game::Faces Game::faces() const
{
    return {gameClockFace(), m_rules.useShotClock ? shotClockCaption() : -2};
}

void Game::announce()
{
    const GameState now = state();
    const Faces shown = faces();
    if (!differsBeyondRunningTime(now, m_lastAnnounced) && shown == m_lastFaces)
        return;
    m_lastAnnounced = now;
    m_lastFaces = shown;
    m_announcing = true;
    Q_EMIT changed(now);
    m_announcing = false;
}
