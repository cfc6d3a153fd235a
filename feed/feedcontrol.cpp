#include "feedcontrol.h"

#include <QRegularExpression>
#include <QUrlQuery>

#include <algorithm>

namespace {

using game::Display;

struct NumberCommand
{
    const char* name;
    Display display;
};

// The displays that take a step or a value outright.
constexpr NumberCommand NumberCommands[] = {
    {"home-score", Display::HomeScore},       {"visitor-score", Display::VisitorScore},
    {"period", Display::Period},              {"home-fouls", Display::HomeFouls},
    {"visitor-fouls", Display::VisitorFouls}, {"home-timeouts", Display::HomeTimeouts},
    {"visitor-timeouts", Display::VisitorTimeouts},
};

ControlParse accept(const GameCommand& command) { return {command, 200, {}}; }
ControlParse malformed(const QString& why) { return {std::nullopt, 422, why}; }

std::optional<int> wholeNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    return text.toInt();
}

// "M:SS" (up to 99:59) or "SS.T" (under a minute, with its tenth).
std::optional<ClockSeconds> clockTime(const QString& text)
{
    static const QRegularExpression minutes(QStringLiteral("^([0-9]{1,2}):([0-5][0-9])$"));
    static const QRegularExpression tenths(QStringLiteral("^([0-5]?[0-9])\\.([0-9])$"));
    if (const auto m = minutes.match(text); m.hasMatch())
        return ClockSeconds::fromSeconds(m.captured(1).toInt() * 60 + m.captured(2).toInt());
    if (const auto m = tenths.match(text); m.hasMatch())
        return ClockSeconds::fromTenths(m.captured(1).toInt() * 10 + m.captured(2).toInt());
    return std::nullopt;
}

} // namespace

ControlParse parseControlCommand(const QByteArray& name, const QByteArray& query)
{
    const QUrlQuery params(QString::fromUtf8(query));
    const auto param = [&](const char* key) -> std::optional<QString> {
        if (!params.hasQueryItem(QLatin1String(key)))
            return std::nullopt;
        return params.queryItemValue(QLatin1String(key), QUrl::FullyDecoded);
    };

    if (name == "start-stop")
        return accept(GameCommand::startStop());
    if (name == "reset-clock")
        return accept(GameCommand::resetClock());
    if (name == "reset-shot-clock-short")
        return accept(GameCommand::resetShotClockShort());
    if (name == "switch-clock")
        return accept(GameCommand::switchClock());
    if (name == "buzzer")
        return accept(GameCommand::buzzer());
    if (name == "undo")
        return accept(GameCommand::undo());
    if (name == "redo")
        return accept(GameCommand::redo());
    if (name == "reset-shot-clock") {
        const auto seconds = param("seconds");
        if (!seconds)
            return accept(GameCommand::resetShotClock());
        const auto n = wholeNumber(*seconds);
        if (!n || *n < 1 || *n > 99)
            return malformed(QStringLiteral("the shot clock resets to 1 to 99 seconds"));
        return accept(GameCommand::resetShotClock(*n));
    }
    if (name == "game-clock") {
        const auto set = param("set");
        const auto time = set ? clockTime(*set) : std::nullopt;
        if (!time)
            return malformed(QStringLiteral("the game clock is set as set=M:SS or set=SS.T"));
        return accept(GameCommand::setGameTime(*time));
    }
    if (name == "possession") {
        const QString team = param("team").value_or(QString());
        for (const auto p : {game::Possession::None, game::Possession::Home, game::Possession::Visitor})
            if (team == game::possessionName(p))
                return accept(GameCommand::setPossession(p));
        return malformed(QStringLiteral("possession takes team=home, team=visitor or team=none"));
    }
    for (const NumberCommand& c : NumberCommands) {
        if (name != c.name)
            continue;
        const auto add = param("add");
        const auto set = param("set");
        if (add.has_value() == set.has_value())
            return malformed(QStringLiteral("%1 takes add=N or set=N").arg(QLatin1String(c.name)));
        const auto n = wholeNumber(add ? *add : *set);
        if (add && (!n || *n == 0 || *n < -3 || *n > 3))
            return malformed(QStringLiteral("add takes -3 to 3, not 0"));
        if (!n)
            return malformed(QStringLiteral("set takes a whole number"));
        return accept(add ? GameCommand::quickAdd(c.display, *n) : GameCommand::setValue(c.display, *n));
    }
    return {std::nullopt, 404, QStringLiteral("no such command")};
}

QByteArray requestToken(const HttpRequest& request)
{
    const QByteArray authorization = request.header("authorization");
    if (authorization.size() > 7 && authorization.left(7).compare("bearer ", Qt::CaseInsensitive) == 0)
        return authorization.mid(7).trimmed();
    const QUrlQuery params(QString::fromUtf8(request.query));
    return params.queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded).toUtf8();
}

bool sameSecret(const QByteArray& given, const QByteArray& secret)
{
    // Every byte of the secret is looked at whatever the given text is; only
    // its length, which is no secret, shows.
    unsigned difference = given.size() != secret.size() || secret.isEmpty() ? 1u : 0u;
    for (qsizetype i = 0; i < secret.size(); ++i)
        difference |= unsigned(uchar(secret[i]) ^ uchar(i < given.size() ? given[i] : 0));
    return difference == 0;
}

QByteArray queryWithoutToken(const QByteArray& query)
{
    QByteArrayList kept;
    for (const QByteArray& part : query.split('&'))
        if (!part.isEmpty() && !part.startsWith("token=") && part != "token")
            kept << part;
    return kept.join('&');
}

bool RefusalTable::isBlocked(const QHostAddress& address, qint64 nowMs) const
{
    const auto e = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& x) { return x.address == address; });
    return e != m_entries.end() && nowMs < e->blockedUntilMs;
}

void RefusalTable::refuse(const QHostAddress& address, qint64 nowMs)
{
    auto e = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& x) { return x.address == address; });
    if (e == m_entries.end()) {
        if (m_entries.size() >= MaxAddresses)
            m_entries.erase(std::min_element(m_entries.begin(), m_entries.end(),
                                             [](const Entry& a, const Entry& b) { return a.lastMs < b.lastMs; }));
        m_entries.append(Entry{address});
        e = m_entries.end() - 1;
    }
    e->lastMs = nowMs;
    e->times[e->count % MaxRefusals] = nowMs;
    ++e->count;
    // The slot written next holds the oldest of the latest refusals.
    if (e->count >= MaxRefusals && nowMs - e->times[e->count % MaxRefusals] < WindowMs) {
        e->blockedUntilMs = nowMs + BlockMs;
        e->count = 0;
    }
}
