#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C) end the program the
// way Esc does, through the event loop: the handler only writes a byte to a pipe,
// and a socket notifier on the other end emits `requested` on the UI thread.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void requested();

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
