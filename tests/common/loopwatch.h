#pragma once
// The longest the event loop went without answering while an action ran from it:
// what an operator would see as the clock stopping. A 5 ms timer ticks around
// the action; the largest gap between two ticks is the stall.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

inline qint64 longestStallMs(const std::function<void()>& action)
{
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        longest = std::max(longest, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    ticker.start(5);
    QEventLoop loop;
    QTimer::singleShot(20, &loop, action);
    QTimer::singleShot(120, &loop, &QEventLoop::quit);
    loop.exec();
    return longest;
}
