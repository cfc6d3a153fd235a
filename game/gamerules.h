#pragma once
// The rules of the game being played: the clocks' lengths and the shot clock's
// habits, when team fouls put a team in the bonus, and how many timeouts each
// team has when. A named rule set is a starting point the options fill the
// fields from; the game plays by the fields as they stand.

#include <QString>
#include <QStringList>

#include <optional>

struct ConfigRecord;

struct GameRules
{
    QString ruleSet = QStringLiteral("Custom");

    int periodMinutes = 10;
    int periods = 4;
    int overtimeMinutes = 5;

    bool useShotClock = false;
    int shotClockResetSeconds = 35;
    int shotClockShortSeconds = 14;
    bool shotClockTenths = false;      // "4.9" down to "0.0" in the last five seconds
    bool shotClockSwitchesOff = false; // blank, rather than following the game clock, once a full shot no longer fits

    // A team is in the bonus once its opponent's team fouls reach `bonusFouls`,
    // in the double bonus from `doubleBonusFouls` (0: none).
    int bonusFouls = 5;
    int doubleBonusFouls = 0;
    int overtimeBonusFouls = 0;        // in each overtime, when it differs (0: as in the periods)
    bool foulsPerHalf = false;         // team fouls start again at each half rather than each period
    bool overtimeFoulsCarry = true;    // overtime counts with the last period (or half)
    bool lastTwoMinutesBonus = false;  // the second foul in a period's last two minutes gives the bonus

    // Timeouts left at the start, and what the second half and each overtime
    // give. A second half that gives none means the first figure is for the game.
    int timeoutsFirstHalf = 2;
    int timeoutsSecondHalf = 3;
    int timeoutsOvertime = 1;
    bool timeoutsCarryOver = false;    // what is given is added to what is left, not put in its place

    bool operator==(const GameRules&) const = default;

    // The rules the operator's settings give.
    static GameRules from(const ConfigRecord& config);
    // "Custom" rules with a shot clock of `seconds`.
    static GameRules withShotClock(int seconds)
    {
        GameRules r;
        r.useShotClock = true;
        r.shotClockResetSeconds = seconds;
        return r;
    }
};

namespace rules {

// The rule sets the game knows, by their stored names: "Custom" first.
QStringList ruleSetNames();
// What the options show for a stored name ("NCAA men", ...).
QString ruleSetTitle(const QString& name);
// A named rule set's figures; nothing for "Custom" or an unknown name.
std::optional<GameRules> namedRuleSet(const QString& name);
// Writes a named rule set's figures into the fields of `config` (and switches
// the shot clock on); "Custom" leaves them as they are.
void fillFromRuleSet(ConfigRecord& config, const QString& name);

// Where periods fall: overtime after the last regular period; the second half
// from the period after the middle one.
bool isOvertime(const GameRules& rules, int period);
bool isSecondHalf(const GameRules& rules, int period);
// Periods that share one count of team fouls share this number.
int foulSpan(const GameRules& rules, int period);
// The team foul count of the opponent from which a team is in the bonus in `period`.
int bonusThreshold(const GameRules& rules, int period);

} // namespace rules
