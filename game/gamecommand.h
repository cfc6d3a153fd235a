#pragma once
// What anyone can ask of the game, as a plain value: the keyboard, a click, and
// every control to come send these, and the game applies them one at a time
// through its single entry point.

#include "clockseconds.h"
#include "gamestate.h"

#include <QString>

namespace game {

// The game's displays, as commands name them.
enum class Display {
    HomeScore,
    VisitorScore,
    Period,
    GameClock,
    ShotClock,
    HomeFouls,
    VisitorFouls,
    HomeTimeouts,
    VisitorTimeouts,
};

} // namespace game

struct GameCommand
{
    enum class Kind {
        StartStop,      // the game clock, and the shot clock with it
        ResetClock,     // the game clock to its reset value, the shot clock to full
        ResetShotClock, // to `number` seconds; the full time when 0, the short reset when ShortReset
        SwitchClock,    // the game clock's face to the time of day and back
        Buzzer,
        QuickAdd,       // `number` added to a score, the period, fouls or timeouts, within its limits
        TypeKey,        // `number` is a character typed into `display` (see entrytext.h)
        Clear,          // `display` blank
        SetValue,       // a score, the period, fouls or timeouts to `number`
        SetGameTime,    // the game clock, and its reset value, to `time`
        Possession,     // the arrow to `number` (a game::Possession), or to the other team when PossessionSwitch
        Undo,
        Redo,
    };

    static constexpr int ShortReset = -1;
    static constexpr int PossessionSwitch = -1;

    Kind kind = Kind::StartStop;
    game::Display display = game::Display::HomeScore;
    int number = 0;
    ClockSeconds time;

    static GameCommand startStop() { return make(Kind::StartStop); }
    static GameCommand resetClock() { return make(Kind::ResetClock); }
    static GameCommand resetShotClock(int seconds = 0) { return make(Kind::ResetShotClock, game::Display::ShotClock, seconds); }
    static GameCommand resetShotClockShort() { return make(Kind::ResetShotClock, game::Display::ShotClock, ShortReset); }
    static GameCommand switchPossession() { return make(Kind::Possession, game::Display::HomeScore, PossessionSwitch); }
    static GameCommand setPossession(game::Possession p) { return make(Kind::Possession, game::Display::HomeScore, int(p)); }
    static GameCommand switchClock() { return make(Kind::SwitchClock); }
    static GameCommand buzzer() { return make(Kind::Buzzer); }
    static GameCommand quickAdd(game::Display d, int step) { return make(Kind::QuickAdd, d, step); }
    static GameCommand typeKey(game::Display d, int charCode) { return make(Kind::TypeKey, d, charCode); }
    static GameCommand clear(game::Display d) { return make(Kind::Clear, d); }
    static GameCommand setValue(game::Display d, int value) { return make(Kind::SetValue, d, value); }
    static GameCommand setGameTime(ClockSeconds t) { return make(Kind::SetGameTime, game::Display::GameClock, 0, t); }
    static GameCommand undo() { return make(Kind::Undo); }
    static GameCommand redo() { return make(Kind::Redo); }

    bool operator==(const GameCommand&) const = default;

private:
    static GameCommand make(Kind kind, game::Display display = game::Display::HomeScore, int number = 0,
                            ClockSeconds time = {})
    {
        GameCommand c;
        c.kind = kind;
        c.display = display;
        c.number = number;
        c.time = time;
        return c;
    }
};
