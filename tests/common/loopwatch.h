#pragma once
// The longest the event loop went without answering while an action ran from it:
// what an operator would see as the clock stopping. A 5 ms timer ticks around
// the action; the largest gap between two ticks is the stall. The time the
// thread waited for a processor that other programs held is left out: a busy
// machine delays every program alike, while a stall of the program's own (a
// sleep, a wait on a lock or a file, work done at once) counts whole.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <functional>

// Nanoseconds this thread has waited on a run queue (the second field of the
// kernel's scheduler statistics); 0 where the kernel keeps none.
inline qint64 runQueueWaitNs()
{
    QFile stats(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stats.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stats.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : 0;
}

inline qint64 longestStallMs(const std::function<void()>& action)
{
    QElapsedTimer clock;
    clock.start();
    const auto ownNs = [&] { return clock.nsecsElapsed() - runQueueWaitNs(); };
    qint64 lastTick = ownNs();
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        const qint64 now = ownNs();
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    ticker.start(5);
    QEventLoop loop;
    QTimer::singleShot(20, &loop, action);
    QTimer::singleShot(120, &loop, &QEventLoop::quit);
    loop.exec();
    return longest / 1000000;
}
