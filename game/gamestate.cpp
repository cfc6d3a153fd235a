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

} // namespace

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
    return GameState{*home,  *visitor,   *period,      *gameClock, *gameRunning, *reset,
                     *shotClock, *shotRunning, *follows, *timeOfDay, *blank};
}
