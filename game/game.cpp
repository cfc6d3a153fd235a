#include "game.h"

#include <algorithm>

using game::Display;

namespace {

constexpr int RefreshIntervalMs = 50;
// The last two minutes of a period, for the rule that gives the bonus there.
const ClockSeconds LastTwoMinutes = ClockSeconds::fromSeconds(120);

// Which display a typed entry belongs to, and what a refusal calls it:
// switching display starts a new entry.
QString displayName(Display display)
{
    switch (display) {
    case Display::HomeScore:
        return QStringLiteral("home score");
    case Display::VisitorScore:
        return QStringLiteral("visitor score");
    case Display::Period:
        return QStringLiteral("period");
    case Display::GameClock:
        return QStringLiteral("game clock");
    case Display::HomeFouls:
        return QStringLiteral("home fouls");
    case Display::VisitorFouls:
        return QStringLiteral("visitor fouls");
    case Display::HomeTimeouts:
        return QStringLiteral("home timeouts");
    case Display::VisitorTimeouts:
        return QStringLiteral("visitor timeouts");
    case Display::ShotClock:
        break;
    }
    return QStringLiteral("shot clock");
}

bool isNumberDisplay(Display display)
{
    return display != Display::GameClock && display != Display::ShotClock;
}

bool isFouls(Display display)
{
    return display == Display::HomeFouls || display == Display::VisitorFouls;
}

int maxOf(Display display)
{
    switch (display) {
    case Display::Period:
        return game::MaxPeriod;
    case Display::HomeFouls:
    case Display::VisitorFouls:
        return game::MaxFouls;
    case Display::HomeTimeouts:
    case Display::VisitorTimeouts:
        return game::MaxTimeouts;
    default:
        return game::MaxScore;
    }
}

// A blank count counts as none.
int counted(int value)
{
    return std::max(0, value);
}

game::Bonus bonusFrom(const GameRules& rules, int period, int opponentFouls, int opponentLastTwo)
{
    const int threshold = rules::bonusThreshold(rules, period);
    const bool overtimeOfItsOwn = rules::isOvertime(rules, period) && !rules.overtimeFoulsCarry;
    if (rules.doubleBonusFouls > 0 && !overtimeOfItsOwn && counted(opponentFouls) >= rules.doubleBonusFouls)
        return game::Bonus::DoubleBonus;
    if ((threshold > 0 && counted(opponentFouls) >= threshold)
        || (rules.lastTwoMinutesBonus && counted(opponentLastTwo) >= 2))
        return game::Bonus::Bonus;
    return game::Bonus::None;
}

} // namespace

Game::Game(const TimeSource& time, Rules rules, QObject* parent)
    : QObject(parent)
    , m_rules(rules)
    , m_gameClock(time)
    , m_gameClockResetTime(ClockSeconds::fromSeconds(m_rules.periodMinutes * 60))
    , m_shotClock(time)
{
    m_homeTimeouts = m_visitorTimeouts = m_rules.timeoutsFirstHalf;
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
    const Rules before = m_rules;
    m_rules = rules;
    // A clock not yet started from its length takes the new length.
    const ClockSeconds oldLength = ClockSeconds::fromSeconds(before.periodMinutes * 60);
    if (rules.periodMinutes != before.periodMinutes && !m_gameClock.running() && m_gameClockResetTime == oldLength
        && m_gameClock.seconds() == oldLength && !rules::isOvertime(before, m_period))
        setGameTime(ClockSeconds::fromSeconds(rules.periodMinutes * 60));
    // New timeout rules give each team what they give at this point of the game.
    const auto timeouts = [](const Rules& r) {
        return std::tuple(r.timeoutsFirstHalf, r.timeoutsSecondHalf, r.timeoutsOvertime, r.timeoutsCarryOver);
    };
    if (timeouts(rules) != timeouts(before)) {
        int given = rules.timeoutsFirstHalf;
        if (rules::isOvertime(rules, m_period))
            given = rules.timeoutsOvertime;
        else if (rules::isSecondHalf(rules, m_period) && rules.timeoutsSecondHalf > 0)
            given = rules.timeoutsSecondHalf;
        m_homeTimeouts = m_visitorTimeouts = given;
    }
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
    m_refusal.clear();
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
        accepted = undo() || refuse(QStringLiteral("nothing to undo"));
        break;
    case Kind::Redo:
        accepted = redo() || refuse(QStringLiteral("nothing to redo"));
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
    case Kind::Possession:
        accepted = setPossession(command.number);
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
            return refuse(QStringLiteral("the game clock must be from 0:00 to 99:59"));
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
        return refuse(QStringLiteral("the %1 takes no such value").arg(displayName(display)));
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
        return refuse(QStringLiteral("%1 must be from 0 to %2").arg(displayName(display)).arg(maxOf(display)));
    const int before = value;
    value = *next;
    valueChanged(display, before);
    return true;
}

bool Game::refuse(const QString& why)
{
    m_refusal = why;
    return false;
}

// What follows from a value changed by a step, a typed entry or outright.
void Game::valueChanged(Display display, int before)
{
    if (display == Display::Period && m_period > before && before >= 1)
        periodMoved(before);
    if (isFouls(display)) {
        int& lastTwo = display == Display::HomeFouls ? m_homeFoulsLastTwo : m_visitorFoulsLastTwo;
        const int fouls = counted(valueOf(display));
        if (m_gameClock.seconds() <= LastTwoMinutes)
            lastTwo += fouls - counted(before);
        lastTwo = std::clamp(lastTwo, 0, fouls);
    }
}

void Game::periodMoved(int from)
{
    const Rules& r = m_rules;
    if (rules::foulSpan(r, from) != rules::foulSpan(r, m_period))
        m_homeFouls = m_visitorFouls = 0;
    // The last two minutes are those of the new period.
    m_homeFoulsLastTwo = m_visitorFoulsLastTwo = 0;
    for (int p = from + 1; p <= m_period; ++p) {
        if (rules::isOvertime(r, p))
            giveTimeouts(r.timeoutsOvertime);
        else if (rules::isSecondHalf(r, p) && !rules::isSecondHalf(r, p - 1) && r.timeoutsSecondHalf > 0)
            giveTimeouts(r.timeoutsSecondHalf);
    }
    // A named rule set knows how long the new period is: the reset key puts that back.
    if (rules::namedRuleSet(r.ruleSet))
        m_gameClockResetTime =
            ClockSeconds::fromSeconds((rules::isOvertime(r, m_period) ? r.overtimeMinutes : r.periodMinutes) * 60);
}

void Game::giveTimeouts(int given)
{
    for (int* left : {&m_homeTimeouts, &m_visitorTimeouts})
        *left = m_rules.timeoutsCarryOver ? std::min(game::MaxTimeouts, counted(*left) + given) : given;
}

bool Game::setPossession(int number)
{
    using game::Possession;
    if (number == GameCommand::PossessionSwitch) {
        m_possession = m_possession == Possession::Home ? Possession::Visitor : Possession::Home;
        return true;
    }
    if (number < int(Possession::None) || number > int(Possession::Visitor))
        return refuse(QStringLiteral("possession is none, home or visitor"));
    m_possession = Possession(number);
    return true;
}

bool Game::typeKey(Display display, int charCode)
{
    if (isNumberDisplay(display)) {
        int& value = valueOf(display);
        const int before = value;
        value = EnterDisplayDigit(m_digitEntry, displayName(display), value, charCode, game::BlankCaption,
                                  maxOf(display));
        valueChanged(display, before);
        return true;
    }
    if (display == Display::ShotClock) {
        // The shot clock takes no typed values, only the clear mark.
        if (charCode != charcode::ClearMark)
            return refuse(QStringLiteral("the shot clock takes no typed value"));
        return changeValue(display, GameCommand::clear(Display::ShotClock));
    }
    const auto typed = EnterClockDigit(m_clockEntry, displayName(display), charCode, game::MaxGameSeconds);
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
        return refuse(QStringLiteral("no shot clock is in use"));
    if (seconds < GameCommand::ShortReset || seconds > 99)
        return refuse(QStringLiteral("the shot clock resets to 1 to 99 seconds"));
    const int wanted = seconds == GameCommand::ShortReset ? m_rules.shotClockShortSeconds
                       : seconds > 0                      ? seconds
                                                          : m_rules.shotClockResetSeconds;
    const ClockSeconds full = ClockSeconds::fromSeconds(wanted);
    // Once a full shot period no longer fits in the game, the shot clock follows
    // the game clock, or goes off where the rules say so. A blank shot clock
    // stays blank then.
    if (m_gameClock.seconds() > full) {
        m_shotClockFollowsGame = false;
        m_shotClock.setSeconds(full);
        m_shotClockBlank = false;
        if (m_gameClock.running())
            m_shotClock.setRunning(true);
    } else if (m_rules.shotClockSwitchesOff) {
        m_shotClockFollowsGame = false;
        m_shotClockBlank = true;
        m_shotClock.setRunning(false);
        m_shotClock.setSeconds(ClockSeconds());
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

template <typename Self>
auto& Game::valueIn(Self& self, Display display)
{
    switch (display) {
    case Display::VisitorScore:
        return self.m_visitorScore;
    case Display::Period:
        return self.m_period;
    case Display::HomeFouls:
        return self.m_homeFouls;
    case Display::VisitorFouls:
        return self.m_visitorFouls;
    case Display::HomeTimeouts:
        return self.m_homeTimeouts;
    case Display::VisitorTimeouts:
        return self.m_visitorTimeouts;
    default:
        return self.m_homeScore;
    }
}

int& Game::valueOf(Display display)
{
    return valueIn(*this, display);
}

UndoableGame Game::undoable() const
{
    UndoableGame g{m_homeScore,         m_visitorScore,          m_period,         m_gameClock.seconds(),
                   m_gameClockResetTime, m_shotClock.seconds(), m_shotClockFollowsGame, m_shotClockBlank};
    g.homeFouls = m_homeFouls;
    g.visitorFouls = m_visitorFouls;
    g.homeFoulsLastTwoMinutes = m_homeFoulsLastTwo;
    g.visitorFoulsLastTwoMinutes = m_visitorFoulsLastTwo;
    g.homeTimeouts = m_homeTimeouts;
    g.visitorTimeouts = m_visitorTimeouts;
    g.possession = int(m_possession);
    return g;
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
    m_homeFouls = g.homeFouls;
    m_visitorFouls = g.visitorFouls;
    m_homeFoulsLastTwo = g.homeFoulsLastTwoMinutes;
    m_visitorFoulsLastTwo = g.visitorFoulsLastTwoMinutes;
    m_homeTimeouts = g.homeTimeouts;
    m_visitorTimeouts = g.visitorTimeouts;
    m_possession = game::Possession(g.possession);
}

GameState Game::state() const
{
    GameState s{m_homeScore,           m_visitorScore,        m_period,
                m_gameClock.seconds(), m_gameClock.running(), m_gameClockResetTime,
                m_shotClock.seconds(), m_shotClock.running(), m_shotClockFollowsGame,
                m_showsTimeOfDay,      m_shotClockBlank};
    s.homeFouls = m_homeFouls;
    s.visitorFouls = m_visitorFouls;
    s.homeFoulsLastTwoMinutes = m_homeFoulsLastTwo;
    s.visitorFoulsLastTwoMinutes = m_visitorFoulsLastTwo;
    s.homeTimeouts = m_homeTimeouts;
    s.visitorTimeouts = m_visitorTimeouts;
    s.possession = m_possession;
    // A team is in the bonus by its opponent's fouls.
    s.homeBonus = bonusFrom(m_rules, m_period, m_visitorFouls, m_visitorFoulsLastTwo);
    s.visitorBonus = bonusFrom(m_rules, m_period, m_homeFouls, m_homeFoulsLastTwo);
    s.ruleSet = m_rules.ruleSet;
    s.shotClockTenths = m_rules.shotClockTenths;
    return s;
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
    m_homeFouls = s.homeFouls;
    m_visitorFouls = s.visitorFouls;
    m_homeFoulsLastTwo = s.homeFoulsLastTwoMinutes;
    m_visitorFoulsLastTwo = s.visitorFoulsLastTwoMinutes;
    m_homeTimeouts = s.homeTimeouts;
    m_visitorTimeouts = s.visitorTimeouts;
    m_possession = s.possession;
    m_history.clear();
    refresh();
}

int Game::caption(Display display) const
{
    switch (display) {
    case Display::ShotClock:
        return shotClockCaption();
    case Display::GameClock:
        return game::BlankCaption;
    default:
        break;
    }
    return valueIn(*this, display);
}

GameClockReading Game::gameClockFace() const
{
    return gameClockReading(m_gameClock.seconds());
}

int Game::shotClockCaption() const
{
    return ::shotClockCaption(state());
}

ShotClockFace Game::shotClockFace() const
{
    return ::shotClockFace(state());
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
            consider(m_gameClock, nextShotClockChange(m_gameClock.seconds(), m_rules.shotClockTenths));
        consider(m_shotClock, nextShotClockChange(m_shotClock.seconds(), m_rules.shotClockTenths));
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
    return {gameClockFace(), m_rules.useShotClock ? shotClockFace() : ShotClockFace{-2, false}};
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
