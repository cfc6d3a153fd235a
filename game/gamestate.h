#pragma once
// The game as a plain value: everything the game model holds that outlives a
// key, without its widgets. The model hands it out after every change; the game
// file keeps it across a crash and the feed serves it; it reads and writes
// itself as JSON.

#include "clockreadings.h"
#include "clockseconds.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace game {
// What the displays take, typed or stepped; -1 leaves a display blank.
constexpr int MaxScore = 199;
constexpr int MaxPeriod = 9;
constexpr int MaxGameSeconds = 5999;
constexpr int BlankCaption = -1;
constexpr int MaxFouls = 99;
constexpr int MaxTimeouts = 9;

enum class Possession { None, Home, Visitor };
enum class Bonus { None, Bonus, DoubleBonus };

// The names the feed and the game file use: "none", "home", "visitor";
// "none", "bonus", "doubleBonus".
QString possessionName(Possession possession);
QString bonusName(Bonus bonus);
std::optional<Possession> possessionFromName(const QString& name);
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

    // Team fouls in the current count (-1 blank, shown as none), those of them
    // in the period's last two minutes, and timeouts left (-1 blank).
    int homeFouls = 0;
    int visitorFouls = 0;
    int homeFoulsLastTwoMinutes = 0;
    int visitorFoulsLastTwoMinutes = 0;
    int homeTimeouts = 0;
    int visitorTimeouts = 0;
    game::Possession possession = game::Possession::None;
    // Decided by the rules from the opponent's fouls; kept so that every reader
    // of the state sees the same.
    game::Bonus homeBonus = game::Bonus::None;
    game::Bonus visitorBonus = game::Bonus::None;
    // The rule set in use, and the one habit of it that changes what the shot
    // clock shows.
    QString ruleSet = QStringLiteral("Custom");
    bool shotClockTenths = false;

    bool operator==(const GameState&) const = default;
};

ShotClockFace shotClockFace(const GameState& state);
// Whole seconds only, as a display without tenths shows them (-1 blank).
int shotClockCaption(const GameState& state);

// Whether `a` and `b` differ in more than the time a running clock has counted
// since: the difference worth keeping at once.
bool differsBeyondRunningTime(const GameState& a, const GameState& b);

QByteArray toJson(const GameState& state);
// Nothing for anything but a whole, in-range game written by toJson.
std::optional<GameState> gameStateFromJson(const QByteArray& json);
