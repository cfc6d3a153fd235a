#pragma once
// Chronometer: a count-down that draws nothing. It keeps the value it had when it
// was last started and the moment it started, and derives the time left from a
// monotonic clock on every read, so it cannot drift however often it is read.
// The count stops at zero (a scoreboard never shows negative time) while Running
// stays true: the score box decides expiry itself and stops the clock.

#include "clockseconds.h"

#include <QObject>

class TimeSource;

class Chronometer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Running READ running WRITE setRunning NOTIFY runningChanged)

public:
    explicit Chronometer(QObject* parent = nullptr);
    Chronometer(const TimeSource& time, QObject* parent = nullptr);

    bool running() const { return m_running; }
    void setRunning(bool running);

    // Time left; with the clock running it is read afresh from the time source.
    ClockSeconds seconds() const;
    // Writing the time leaves Running as it is.
    void setSeconds(ClockSeconds seconds);

    // Nanoseconds until a running clock reaches zero: 0 when it already has,
    // -1 when it is stopped.
    qint64 nanosecondsToZero() const;

Q_SIGNALS:
    void runningChanged(bool running);

private:
    const TimeSource& m_time;
    bool m_running = false;
    // Nanoseconds left when last started or written; kept finer than a clock time so
    // that stopping and starting never rounds any time away.
    qint64 m_leftAtStartNs = 0;
    qint64 m_startedAtNs = 0;

    qint64 leftNs() const;
};
