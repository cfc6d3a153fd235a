#pragma once
// The operator's changes, kept so that a mistake can be taken back live, clocks
// running. A step holds the undoable part of the game just before and just after
// a change; going back from a step's after to its before is the same move as
// going forward again, so undo and redo share it.

#include "clockseconds.h"

#include <deque>
#include <optional>

// What undo puts back: the scores, the period, fouls, timeouts, possession,
// the clocks' times and what decides them. Running or not, the time of day and the sounds are not undone.
struct UndoableGame
{
    int homeScore = 0;
    int visitorScore = 0;
    int period = 0;
    ClockSeconds gameClock;
    ClockSeconds gameClockResetTime;
    ClockSeconds shotClock;
    bool shotClockFollowsGame = false;
    bool shotClockBlank = false;
    int homeFouls = 0;
    int visitorFouls = 0;
    int homeFoulsLastTwoMinutes = 0;
    int visitorFoulsLastTwoMinutes = 0;
    int homeTimeouts = 0;
    int visitorTimeouts = 0;
    int possession = 0;

    bool operator==(const UndoableGame&) const = default;
};

struct UndoStep
{
    UndoableGame from; // where the step goes back to
    UndoableGame to;   // what the step left, at the moment it was taken
};

// The game `now` with the step taken back: back to `from`, but for a clock the
// step changed, which goes back to what it would show had the step never
// happened: its earlier time less the time it has run since, never below zero.
UndoableGame takeBack(const UndoStep& step, const UndoableGame& now);

class UndoHistory
{
public:
    // Beyond this many steps the oldest is forgotten.
    static constexpr int Capacity = 200;

    // A new change: it can be undone, and what was undone before can no longer be redone.
    void record(const UndoStep& step);
    std::optional<UndoStep> takeUndo();
    std::optional<UndoStep> takeRedo();
    // The step as it went back, ready to go forward again, and the other way round.
    void undone(const UndoStep& step);
    void redone(const UndoStep& step);
    void clear();

private:
    std::deque<UndoStep> m_undo;
    std::deque<UndoStep> m_redo;
};
