#pragma once
// The game as a plain value: everything the game model holds that outlives a
// key, without its widgets. The model hands it out after every change; the game
// file keeps it across a crash and the feed serves it; it reads and writes
// itself as JSON.

#include "clockseconds.h"

#include <QByteArray>

#include <optional>

namespace game {
// What the displays take, typed or stepped; -1 leaves a display blank.
constexpr int MaxScore = 199;
constexpr int MaxPeriod = 9;
constexpr int MaxGameSeconds = 5999;
constexpr int BlankCaption = -1;
} // namespace game

struct GameState
{
    int homeScore = 0;
    int visitorScore = 0;
    int period = 1;
    ClockSeconds gameClock;
    bool gameClockRunning = false;
    // What R puts back: the last game time typed, ten minutes before that.
    ClockSeconds gameClockResetTime;
    ClockSeconds shotClock;
    bool shotClockRunning = false;
    bool shotClockFollowsGame = false;
    bool showsTimeOfDay = false;
    // Cleared with the clear key: shows nothing and never sounds until reset.
    bool shotClockBlank = false;

    bool operator==(const GameState&) const = default;
};

// What the shot clock display shows for `state`: whole seconds, or -1 blank.
int shotClockCaption(const GameState& state);

// Whether `a` and `b` differ in more than the time a running clock has counted
// since: the difference worth keeping at once.
bool differsBeyondRunningTime(const GameState& a, const GameState& b);

QByteArray toJson(const GameState& state);
// Nothing for anything but a whole, in-range game written by toJson.
std::optional<GameState> gameStateFromJson(const QByteArray& json);
