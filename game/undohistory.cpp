#include "undohistory.h"

#include <algorithm>

namespace {

ClockSeconds takeBackClock(ClockSeconds from, ClockSeconds to, ClockSeconds now)
{
    if (from == to)
        return now;
    // `to - now` is the time the clock has run since the step, stops included.
    return std::max(ClockSeconds(), from - (to - now));
}

template <typename T>
T takeBackField(const T& from, const T& to, const T& now)
{
    return from == to ? now : from;
}

} // namespace

UndoableGame takeBack(const UndoStep& step, const UndoableGame& now)
{
    const UndoableGame& f = step.from;
    const UndoableGame& t = step.to;
    UndoableGame g;
    g.homeScore = takeBackField(f.homeScore, t.homeScore, now.homeScore);
    g.visitorScore = takeBackField(f.visitorScore, t.visitorScore, now.visitorScore);
    g.period = takeBackField(f.period, t.period, now.period);
    g.gameClock = takeBackClock(f.gameClock, t.gameClock, now.gameClock);
    g.gameClockResetTime = takeBackField(f.gameClockResetTime, t.gameClockResetTime, now.gameClockResetTime);
    g.shotClock = takeBackClock(f.shotClock, t.shotClock, now.shotClock);
    g.shotClockFollowsGame = takeBackField(f.shotClockFollowsGame, t.shotClockFollowsGame, now.shotClockFollowsGame);
    g.shotClockBlank = takeBackField(f.shotClockBlank, t.shotClockBlank, now.shotClockBlank);
    return g;
}

void UndoHistory::record(const UndoStep& step)
{
    m_redo.clear();
    m_undo.push_back(step);
    if (int(m_undo.size()) > Capacity)
        m_undo.pop_front();
}

std::optional<UndoStep> UndoHistory::takeUndo()
{
    if (m_undo.empty())
        return std::nullopt;
    const UndoStep step = m_undo.back();
    m_undo.pop_back();
    return step;
}

std::optional<UndoStep> UndoHistory::takeRedo()
{
    if (m_redo.empty())
        return std::nullopt;
    const UndoStep step = m_redo.back();
    m_redo.pop_back();
    return step;
}

void UndoHistory::undone(const UndoStep& step)
{
    m_redo.push_back(step);
}

void UndoHistory::redone(const UndoStep& step)
{
    m_undo.push_back(step);
}

void UndoHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}
