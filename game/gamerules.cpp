#include "gamerules.h"

#include "configrecord.h"

#include <algorithm>
#include <array>

namespace {

struct NamedRuleSet
{
    const char* name;
    const char* title;
    GameRules (*make)();
};

GameRules fiba()
{
    GameRules r;
    r.ruleSet = QStringLiteral("FIBA");
    r.periodMinutes = 10;
    r.periods = 4;
    r.overtimeMinutes = 5;
    r.useShotClock = true;
    r.shotClockResetSeconds = 24;
    r.shotClockShortSeconds = 14;
    r.shotClockTenths = true;
    r.shotClockSwitchesOff = true;
    r.bonusFouls = 5;
    r.doubleBonusFouls = 0;
    r.foulsPerHalf = false;
    r.overtimeFoulsCarry = true;
    r.timeoutsFirstHalf = 2;
    r.timeoutsSecondHalf = 3;
    r.timeoutsOvertime = 1;
    r.timeoutsCarryOver = false;
    return r;
}

GameRules nba()
{
    GameRules r = fiba();
    r.ruleSet = QStringLiteral("NBA");
    r.periodMinutes = 12;
    // Each overtime has its own count, in the penalty from the fourth foul.
    r.overtimeFoulsCarry = false;
    r.overtimeBonusFouls = 4;
    r.lastTwoMinutesBonus = true;
    r.timeoutsFirstHalf = 7;
    r.timeoutsSecondHalf = 0;
    r.timeoutsOvertime = 2;
    r.timeoutsCarryOver = false;
    return r;
}

GameRules ncaaMen()
{
    GameRules r = fiba();
    r.ruleSet = QStringLiteral("NCAAM");
    r.periodMinutes = 20;
    r.periods = 2;
    r.shotClockResetSeconds = 30;
    r.shotClockShortSeconds = 20;
    r.bonusFouls = 7;
    r.doubleBonusFouls = 10;
    r.foulsPerHalf = true;
    r.timeoutsFirstHalf = 4;
    r.timeoutsSecondHalf = 0;
    r.timeoutsOvertime = 1;
    r.timeoutsCarryOver = true;
    return r;
}

GameRules ncaaWomen()
{
    GameRules r = fiba();
    r.ruleSet = QStringLiteral("NCAAW");
    r.shotClockResetSeconds = 30;
    r.shotClockShortSeconds = 20;
    r.timeoutsFirstHalf = 4;
    r.timeoutsSecondHalf = 0;
    r.timeoutsOvertime = 1;
    r.timeoutsCarryOver = true;
    return r;
}

GameRules nfhs()
{
    GameRules r = fiba();
    r.ruleSet = QStringLiteral("NFHS");
    r.periodMinutes = 8;
    r.overtimeMinutes = 4;
    r.shotClockResetSeconds = 35;
    r.shotClockShortSeconds = 20;
    r.shotClockTenths = false;
    r.timeoutsFirstHalf = 5;
    r.timeoutsSecondHalf = 0;
    r.timeoutsOvertime = 1;
    r.timeoutsCarryOver = true;
    return r;
}

const std::array<NamedRuleSet, 5> Named{{
    {"FIBA", "FIBA", fiba},
    {"NBA", "NBA", nba},
    {"NCAAM", "NCAA men", ncaaMen},
    {"NCAAW", "NCAA women", ncaaWomen},
    {"NFHS", "High school (NFHS)", nfhs},
}};

const NamedRuleSet* find(const QString& name)
{
    const auto it = std::find_if(Named.begin(), Named.end(),
                                 [&](const NamedRuleSet& n) { return name == QLatin1String(n.name); });
    return it == Named.end() ? nullptr : &*it;
}

} // namespace

GameRules GameRules::from(const ConfigRecord& c)
{
    GameRules r;
    r.ruleSet = find(c.RuleSet) ? c.RuleSet : QStringLiteral("Custom");
    // What only a named rule set knows (the overtime threshold, the last two
    // minutes) comes with its name; the figures are the operator's.
    if (const auto named = rules::namedRuleSet(r.ruleSet)) {
        r.overtimeBonusFouls = named->overtimeBonusFouls;
        r.lastTwoMinutesBonus = named->lastTwoMinutesBonus;
        r.overtimeFoulsCarry = named->overtimeFoulsCarry;
    }
    r.periodMinutes = std::clamp<int>(c.PeriodLength, 1, 99);
    r.periods = std::clamp<int>(c.Periods, 1, 9);
    r.overtimeMinutes = std::clamp<int>(c.OvertimeLength, 1, 99);
    r.useShotClock = c.UseShotClock;
    r.shotClockResetSeconds = c.ShotClockResetTime;
    r.shotClockShortSeconds = std::clamp<int>(c.ShotClockShortTime, 1, 99);
    r.shotClockTenths = c.ShotClockTenths;
    r.shotClockSwitchesOff = c.ShotClockSwitchOff;
    r.bonusFouls = std::clamp<int>(c.BonusFouls, 0, 99);
    r.doubleBonusFouls = std::clamp<int>(c.DoubleBonusFouls, 0, 99);
    r.foulsPerHalf = c.FoulsPerHalf;
    r.timeoutsFirstHalf = std::clamp<int>(c.TimeoutsFirstHalf, 0, 9);
    r.timeoutsSecondHalf = std::clamp<int>(c.TimeoutsSecondHalf, 0, 9);
    r.timeoutsOvertime = std::clamp<int>(c.TimeoutsOvertime, 0, 9);
    r.timeoutsCarryOver = c.TimeoutsCarryOver;
    return r;
}

namespace rules {

QStringList ruleSetNames()
{
    QStringList names{QStringLiteral("Custom")};
    for (const NamedRuleSet& n : Named)
        names << QLatin1String(n.name);
    return names;
}

QString ruleSetTitle(const QString& name)
{
    const NamedRuleSet* n = find(name);
    return n ? QLatin1String(n->title) : QStringLiteral("Custom");
}

std::optional<GameRules> namedRuleSet(const QString& name)
{
    const NamedRuleSet* n = find(name);
    if (!n)
        return std::nullopt;
    return n->make();
}

void fillFromRuleSet(ConfigRecord& c, const QString& name)
{
    const auto r = namedRuleSet(name);
    if (!r) {
        c.RuleSet = QStringLiteral("Custom");
        return;
    }
    c.RuleSet = r->ruleSet;
    c.PeriodLength = qint16(r->periodMinutes);
    c.Periods = qint16(r->periods);
    c.OvertimeLength = qint16(r->overtimeMinutes);
    c.UseShotClock = true;
    c.ShotClockResetTime = qint16(r->shotClockResetSeconds);
    c.ShotClockShortTime = qint16(r->shotClockShortSeconds);
    c.ShotClockTenths = r->shotClockTenths;
    c.ShotClockSwitchOff = r->shotClockSwitchesOff;
    c.BonusFouls = qint16(r->bonusFouls);
    c.DoubleBonusFouls = qint16(r->doubleBonusFouls);
    c.FoulsPerHalf = r->foulsPerHalf;
    c.TimeoutsFirstHalf = qint16(r->timeoutsFirstHalf);
    c.TimeoutsSecondHalf = qint16(r->timeoutsSecondHalf);
    c.TimeoutsOvertime = qint16(r->timeoutsOvertime);
    c.TimeoutsCarryOver = r->timeoutsCarryOver;
}

bool isOvertime(const GameRules& r, int period)
{
    return period > r.periods;
}

bool isSecondHalf(const GameRules& r, int period)
{
    // With an odd number of periods the middle one belongs to the first half.
    return !isOvertime(r, period) && period > (r.periods + 1) / 2;
}

int foulSpan(const GameRules& r, int period)
{
    const int p = std::max(1, period);
    if (isOvertime(r, p)) {
        if (r.overtimeFoulsCarry)
            return foulSpan(r, r.periods);
        return 100 + p;
    }
    if (r.foulsPerHalf)
        return isSecondHalf(r, p) ? 2 : 1;
    return p;
}

int bonusThreshold(const GameRules& r, int period)
{
    if (isOvertime(r, period) && !r.overtimeFoulsCarry && r.overtimeBonusFouls > 0)
        return r.overtimeBonusFouls;
    return r.bonusFouls;
}

} // namespace rules
