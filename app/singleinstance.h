#pragma once
// One copy of the program per user: two copies would share the game file (one's
// normal end removes the other's game) and fight over the feed's port. The copy
// that runs holds a lock file in the state folder and listens on a local socket
// beside it; a later copy finds the lock held, asks the running one over the
// socket to bring its window forward, and ends before it reads or writes any
// file. The lock of a copy that was killed names a process that is gone, and the
// next start takes it over, with the socket file left behind.

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `folder`: the state folder, made when it is not there.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True for the copy that runs: it holds the lock, or the folder cannot hold
    // one (a run without the guard beats no run).
    bool isFirst() const { return m_first; }

    // For a later copy: asks the running copy to show itself. The running copy
    // may be starting this very moment (its lock comes before its socket), so
    // this tries for up to `waitMs`; true once the request is through.
    bool askFirstToShow(int waitMs = 3000) const;

Q_SIGNALS:
    // The running copy heard a later one start.
    void showRequested();

private:
    void answerRequests();

    QLockFile m_lock;
    QString m_socketPath;
    QLocalServer* m_server = nullptr;
    bool m_first = false;
};
