#include "feed.h"

#include "feedserver.h"
#include "game.h"

#include <QHostAddress>
#include <QMetaObject>

Feed::Feed(const FeedLimits& limits, QObject* parent, const TimeSource* controlTime)
    : QObject(parent)
{
    m_thread.setObjectName(QStringLiteral("feed"));
    m_thread.start();
    m_server = new FeedServer(limits, nullptr, controlTime);
    // A command crosses to the game's thread and its outcome back, each as a
    // queued call: neither thread waits on the other. The game's change is handed
    // to the server before the outcome, so the answer carries the new state.
    m_server->setCommandSink([this](const GameCommand& command, FeedServer::CommandDone done) {
        QMetaObject::invokeMethod(
            this,
            [this, command, done = std::move(done)] {
                bool accepted = false;
                QString refusal = QStringLiteral("no game is running");
                if (m_game) {
                    accepted = m_game->apply(command);
                    refusal = m_game->refusal();
                }
                QMetaObject::invokeMethod(m_server, [done, accepted, refusal] { done(accepted, refusal); },
                                          Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
    });
    m_server->moveToThread(&m_thread);
}

void Feed::setControl(bool enabled, const QByteArray& token)
{
    m_server->setControl(enabled, token);
}

Feed::~Feed()
{
    QMetaObject::invokeMethod(m_server, [server = m_server] { delete server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QString Feed::apply(bool enabled, const QString& address, quint16 port)
{
    if (enabled == m_serving && (!enabled || (address == m_address && port == m_requestedPort)))
        return {};
    QString problem;
    quint16 listening = 0;
    // Listening is one system call: waiting for it keeps the answer simple.
    QMetaObject::invokeMethod(
        m_server,
        [&] {
            if (enabled)
                problem = m_server->listen(QHostAddress(address), port);
            else
                m_server->close();
            listening = m_server->port();
        },
        Qt::BlockingQueuedConnection);
    m_serving = enabled && problem.isEmpty();
    m_address = address;
    m_requestedPort = port;
    m_port = listening;
    m_problem = problem;
    return problem;
}

void Feed::publish(FeedState state)
{
    {
        QMutexLocker lock(&m_mutex);
        m_pending = std::move(state);
    }
    if (!m_wakePosted.exchange(true))
        QMetaObject::invokeMethod(m_server, [this] { deliver(); }, Qt::QueuedConnection);
}

void Feed::deliver()
{
    m_wakePosted = false;
    std::optional<FeedState> state;
    {
        QMutexLocker lock(&m_mutex);
        state.swap(m_pending);
    }
    if (state)
        m_server->publish(*state);
}
