#include "feed.h"

#include "feedserver.h"

#include <QHostAddress>
#include <QMetaObject>

Feed::Feed(const FeedLimits& limits, QObject* parent)
    : QObject(parent)
{
    m_thread.setObjectName(QStringLiteral("feed"));
    m_thread.start();
    m_server = new FeedServer(limits);
    m_server->moveToThread(&m_thread);
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
