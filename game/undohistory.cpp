#include "undohistory.h"

#include <algorithm>

namespace {

// `to - now` is the time the clock has run since the step, stops included; a
// clock the step did not change (`from == to`) stays as it is.
ClockSeconds takeBackClock(ClockSeconds from, ClockSeconds to, ClockSeconds now)
{
    return std::max(ClockSeconds(), from - (to - now));
}

} // namespace

// Steps are taken back in the order they were made, so every field but a
// running clock stands as the step left it.
UndoableGame takeBack(const UndoStep& step, const UndoableGame& now)
{
    UndoableGame g = step.from;
    g.gameClock = takeBackClock(step.from.gameClock, step.to.gameClock, now.gameClock);
    g.shotClock = takeBackClock(step.from.shotClock, step.to.shotClock, now.shotClock);
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
