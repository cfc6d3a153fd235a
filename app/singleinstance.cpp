#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <chrono>
#include <thread>

Q_LOGGING_CATEGORY(lcInstance, "tallivox.instance", QtWarningMsg)

namespace {

// A socket's path must fit in 108 bytes: a state folder too deep for that gets a
// short name of its own in the runtime folder instead.
QString socketPathFor(const QString& folder)
{
    const QString beside = folder + QStringLiteral("/tallivox.socket");
    if (QFile::encodeName(beside).size() < 100)
        return beside;
    const QByteArray key =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha1).toHex().left(16);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/tallivox-")
           + QString::fromLatin1(key) + QStringLiteral(".socket");
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_lock(folder + QStringLiteral("/tallivox.lock"))
    , m_socketPath(socketPathFor(folder))
{
    // The lock is held for the whole run, hours on end: it goes stale only when
    // the process it names is gone, never by its age.
    m_lock.setStaleLockTime(0);
    QDir().mkpath(folder);
    if (!m_lock.tryLock(0)) {
        m_first = m_lock.error() != QLockFile::LockFailedError;
        if (m_first)
            qCWarning(lcInstance) << "cannot lock" << folder << "- running without the one-copy guard";
        return;
    }
    m_first = true;
    m_server = new QLocalServer(this);
    // Only this user may ask. With the option set the socket is made aside and
    // renamed into place, which also replaces one a killed copy left behind.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answerRequests);
    if (!m_server->listen(m_socketPath))
        qCWarning(lcInstance) << "cannot listen on" << m_socketPath << m_server->errorString();
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock: a copy starting as this one ends must not
    // find its fresh socket removed by this one's.
    delete m_server;
}

// A connection is the whole request: nothing is read, so no client can hold up
// the window thread.
void SingleInstance::answerRequests()
{
    bool heard = false;
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        socket->abort();
        socket->deleteLater();
        heard = true;
    }
    if (heard)
        Q_EMIT showRequested();
}

bool SingleInstance::askFirstToShow(int waitMs) const
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(200))
            return true;
        if (waited.elapsed() >= waitMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
