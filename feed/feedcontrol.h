#pragma once
// Remote control through the feed's server, as plain values: which game command
// a POST to /control/<name> asks for, the token a request carries and how it is
// compared, and the addresses refused too often lately. The server applies what
// comes out (see FeedServer); nothing here touches a socket or the game.

#include "gamecommand.h"
#include "httprequest.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// What a command's name and parameters come to: a command for the game, or the
// answer's status (404 no such command, 422 a parameter it cannot take) and why.
struct ControlParse
{
    std::optional<GameCommand> command;
    int status = 200;
    QString reason;
};

ControlParse parseControlCommand(const QByteArray& name, const QByteArray& query);

// The token a request carries: "Authorization: Bearer <token>", else "?token=".
QByteArray requestToken(const HttpRequest& request);

// Whether two secrets are the same, in a time that depends on neither's content.
bool sameSecret(const QByteArray& given, const QByteArray& secret);

// The query without its token, for the log.
QByteArray queryWithoutToken(const QByteArray& query);

// The addresses that were refused too often: after MaxRefusals refusals within
// WindowMs, an address is refused outright for BlockMs. At most MaxAddresses are
// kept; a newcomer takes the place of the one heard of longest ago.
class RefusalTable
{
public:
    static constexpr int MaxRefusals = 10;
    static constexpr qint64 WindowMs = 60000;
    static constexpr qint64 BlockMs = 60000;
    static constexpr int MaxAddresses = 256;

    bool isBlocked(const QHostAddress& address, qint64 nowMs) const;
    void refuse(const QHostAddress& address, qint64 nowMs);
    int size() const { return int(m_entries.size()); }

private:
    struct Entry
    {
        QHostAddress address;
        std::array<qint64, MaxRefusals> times{}; // a ring of the latest refusals
        int count = 0;
        qint64 blockedUntilMs = 0;
        qint64 lastMs = 0;
    };
    QList<Entry> m_entries;
};
