#pragma once
// The live feed as the rest of the program sees it: started, moved and stopped
// from the settings, and handed the state after every change of the box. The
// server itself runs on a thread of its own; a hand-over only keeps the newest
// state and wakes that thread once, so publishing costs the caller a copy and
// never waits on a client.

#include "feedconnection.h"
#include "feedstate.h"
#include "game.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <atomic>
#include <optional>

class FeedServer;
class TimeSource;

class Feed : public QObject
{
    Q_OBJECT
public:
    // `controlTime` counts the refusals of remote commands (the real clock when null).
    explicit Feed(const FeedLimits& limits = {}, QObject* parent = nullptr, const TimeSource* controlTime = nullptr);
    ~Feed() override;

    // Serves on `address`:`port` when `enabled`, nothing otherwise. Returns an
    // empty text, or why the feed could not start (it then serves nothing).
    QString apply(bool enabled, const QString& address, quint16 port);
    bool isServing() const { return m_serving; }
    // The port it serves on (the one the system chose, when asked for 0).
    quint16 port() const { return m_port; }
    // The last reason the feed could not start, empty while it serves or is off.
    QString problem() const { return m_problem; }

    void publish(FeedState state);

    // Remote control: commands are taken with `token` while `enabled`, in force
    // for the next request; each goes through `game`'s apply on this object's
    // thread (the game's).
    void setControl(bool enabled, const QByteArray& token);
    void setGame(Game* game) { m_game = game; }

    // The server, for tests that look at its connections; only on its thread.
    FeedServer* server() const { return m_server; }

private:
    void deliver();

    QThread m_thread;
    FeedServer* m_server = nullptr;
    bool m_serving = false;
    quint16 m_port = 0;
    quint16 m_requestedPort = 0;
    QString m_address;
    QString m_problem;
    QPointer<Game> m_game;

    QMutex m_mutex;
    std::optional<FeedState> m_pending;
    std::atomic<bool> m_wakePosted = false;
};
