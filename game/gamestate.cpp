#include "gamestate.h"

#include "clockreadings.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int FormatVersion = 1;
// Clock times are stored in ten-thousandths of a second, exactly as kept.
constexpr qint64 MaxClockTicks = qint64(game::MaxGameSeconds + 1) * ClockSeconds::TicksPerSecond;

std::optional<int> whole(const QJsonObject& o, const char* key, int low, int high)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble())
        return std::nullopt;
    // The range first: converting a double out of range is undefined.
    const double d = v.toDouble();
    if (!(d >= low && d <= high) || d != double(qint64(d)))
        return std::nullopt;
    return int(d);
}

std::optional<ClockSeconds> clock(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (!(d >= 0 && d <= double(MaxClockTicks)) || d != double(qint64(d)))
        return std::nullopt;
    return ClockSeconds::fromTicks(qint64(d));
}

std::optional<bool> flag(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

// A field files from before it was kept do not have: its default then.
template <typename T, typename Read>
std::optional<T> optional(const QJsonObject& o, const char* key, T absent, Read read)
{
    if (!o.contains(QLatin1String(key)))
        return absent;
    return read(o, key);
}

std::optional<QString> text(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString() || v.toString().size() > 20)
        return std::nullopt;
    return v.toString();
}

std::optional<game::Bonus> bonus(const QJsonObject& o, const char* key)
{
    const auto name = text(o, key);
    for (game::Bonus b : {game::Bonus::None, game::Bonus::Bonus, game::Bonus::DoubleBonus})
        if (name && *name == game::bonusName(b))
            return b;
    return std::nullopt;
}

} // namespace

namespace game {

QString possessionName(Possession p)
{
    switch (p) {
    case Possession::Home:
        return QStringLiteral("home");
    case Possession::Visitor:
        return QStringLiteral("visitor");
    case Possession::None:
        break;
    }
    return QStringLiteral("none");
}

QString bonusName(Bonus b)
{
    switch (b) {
    case Bonus::Bonus:
        return QStringLiteral("bonus");
    case Bonus::DoubleBonus:
        return QStringLiteral("doubleBonus");
    case Bonus::None:
        break;
    }
    return QStringLiteral("none");
}

std::optional<Possession> possessionFromName(const QString& name)
{
    for (Possession p : {Possession::None, Possession::Home, Possession::Visitor})
        if (name == possessionName(p))
            return p;
    return std::nullopt;
}

} // namespace game

ShotClockFace shotClockFace(const GameState& s)
{
    if (s.shotClockBlank)
        return {game::BlankCaption, false};
    return shotClockReading(s.shotClockFollowsGame ? s.gameClock : s.shotClock, s.shotClockTenths);
}

int shotClockCaption(const GameState& s)
{
    if (s.shotClockBlank)
        return game::BlankCaption;
    return shotClockReading(s.shotClockFollowsGame ? s.gameClock : s.shotClock);
}

bool differsBeyondRunningTime(const GameState& a, const GameState& b)
{
    GameState left = a;
    GameState right = b;
    if (a.gameClockRunning && b.gameClockRunning)
        left.gameClock = right.gameClock;
    if (a.shotClockRunning && b.shotClockRunning)
        left.shotClock = right.shotClock;
    return left != right;
}

QByteArray toJson(const GameState& s)
{
    const QJsonObject o{
        {QLatin1String("version"), FormatVersion},
        {QLatin1String("homeScore"), s.homeScore},
        {QLatin1String("visitorScore"), s.visitorScore},
        {QLatin1String("period"), s.period},
        {QLatin1String("gameClockTicks"), double(s.gameClock.ticks())},
        {QLatin1String("gameClockRunning"), s.gameClockRunning},
        {QLatin1String("gameClockResetTicks"), double(s.gameClockResetTime.ticks())},
        {QLatin1String("shotClockTicks"), double(s.shotClock.ticks())},
        {QLatin1String("shotClockRunning"), s.shotClockRunning},
        {QLatin1String("shotClockFollowsGame"), s.shotClockFollowsGame},
        {QLatin1String("showsTimeOfDay"), s.showsTimeOfDay},
        {QLatin1String("shotClockBlank"), s.shotClockBlank},
        {QLatin1String("homeFouls"), s.homeFouls},
        {QLatin1String("visitorFouls"), s.visitorFouls},
        {QLatin1String("homeFoulsLastTwoMinutes"), s.homeFoulsLastTwoMinutes},
        {QLatin1String("visitorFoulsLastTwoMinutes"), s.visitorFoulsLastTwoMinutes},
        {QLatin1String("homeTimeouts"), s.homeTimeouts},
        {QLatin1String("visitorTimeouts"), s.visitorTimeouts},
        {QLatin1String("possession"), game::possessionName(s.possession)},
        {QLatin1String("homeBonus"), game::bonusName(s.homeBonus)},
        {QLatin1String("visitorBonus"), game::bonusName(s.visitorBonus)},
        {QLatin1String("ruleSet"), s.ruleSet},
        {QLatin1String("shotClockTenths"), s.shotClockTenths},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<GameState> gameStateFromJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    if (whole(o, "version", FormatVersion, FormatVersion) != FormatVersion)
        return std::nullopt;
    const auto home = whole(o, "homeScore", game::BlankCaption, game::MaxScore);
    const auto visitor = whole(o, "visitorScore", game::BlankCaption, game::MaxScore);
    const auto period = whole(o, "period", game::BlankCaption, game::MaxPeriod);
    const auto gameClock = clock(o, "gameClockTicks");
    const auto gameRunning = flag(o, "gameClockRunning");
    const auto reset = clock(o, "gameClockResetTicks");
    const auto shotClock = clock(o, "shotClockTicks");
    const auto shotRunning = flag(o, "shotClockRunning");
    const auto follows = flag(o, "shotClockFollowsGame");
    const auto timeOfDay = flag(o, "showsTimeOfDay");
    // Files from before the blank shot clock was kept have no such field.
    const auto blank = o.contains(QLatin1String("shotClockBlank")) ? flag(o, "shotClockBlank") : false;
    if (!home || !visitor || !period || !gameClock || !gameRunning || !reset || !shotClock || !shotRunning || !follows
        || !timeOfDay || !blank)
        return std::nullopt;
    GameState s{*home,  *visitor,   *period,      *gameClock, *gameRunning, *reset,
                *shotClock, *shotRunning, *follows, *timeOfDay, *blank};

    // Files from before fouls, timeouts and rule sets were kept have none of these.
    const auto count = [&](const char* key, int high) {
        return optional<int>(o, key, 0, [high](const QJsonObject& obj, const char* k) {
            return whole(obj, k, game::BlankCaption, high);
        });
    };
    const auto homeFouls = count("homeFouls", game::MaxFouls);
    const auto visitorFouls = count("visitorFouls", game::MaxFouls);
    const auto homeLastTwo = count("homeFoulsLastTwoMinutes", game::MaxFouls);
    const auto visitorLastTwo = count("visitorFoulsLastTwoMinutes", game::MaxFouls);
    const auto homeTimeouts = count("homeTimeouts", game::MaxTimeouts);
    const auto visitorTimeouts = count("visitorTimeouts", game::MaxTimeouts);
    const auto possession = optional<QString>(o, "possession", QStringLiteral("none"), text);
    const auto possessionValue = possession ? game::possessionFromName(*possession) : std::nullopt;
    const auto homeBonus = optional<game::Bonus>(o, "homeBonus", game::Bonus::None, bonus);
    const auto visitorBonus = optional<game::Bonus>(o, "visitorBonus", game::Bonus::None, bonus);
    const auto ruleSet = optional<QString>(o, "ruleSet", QStringLiteral("Custom"), text);
    const auto tenths = optional<bool>(o, "shotClockTenths", false, flag);
    if (!homeFouls || !visitorFouls || !homeLastTwo || !visitorLastTwo || !homeTimeouts || !visitorTimeouts
        || !possessionValue || !homeBonus || !visitorBonus || !ruleSet || !tenths)
        return std::nullopt;
    s.homeFouls = *homeFouls;
    s.visitorFouls = *visitorFouls;
    s.homeFoulsLastTwoMinutes = *homeLastTwo;
    s.visitorFoulsLastTwoMinutes = *visitorLastTwo;
    s.homeTimeouts = *homeTimeouts;
    s.visitorTimeouts = *visitorTimeouts;
    s.possession = *possessionValue;
    s.homeBonus = *homeBonus;
    s.visitorBonus = *visitorBonus;
    s.ruleSet = *ruleSet;
    s.shotClockTenths = *tenths;
    return s;
}
