#include "chronometer.h"
#include "timesource.h"

#include <QRandomGenerator>
#include <QTest>

class TestChronometer : public QObject
{
    Q_OBJECT

private:
    ManualTimeSource time;

private Q_SLOTS:
    void countsDownWhileRunningOnlyAndKeepsPartTicks()
    {
        Chronometer ch(time);
        QVERIFY(!ch.running());
        ch.setSeconds(ClockSeconds::fromSeconds(35));
        time.advanceMs(1000);
        QCOMPARE(ch.seconds(), ClockSeconds::fromSeconds(35));
        ch.setRunning(true);
        time.advanceNs(100001); // a part of a tick still counts as left
        QCOMPARE(ch.seconds().ticks(), qint64(349999));
        time.advanceNs(1499899999);
        QCOMPARE(ch.seconds(), ClockSeconds::fromTenths(335));
        ch.setRunning(true); // no restart, no change of value
        time.advanceMs(500);
        QCOMPARE(ch.seconds(), ClockSeconds::fromTenths(330));
        ch.setSeconds(ClockSeconds::fromSeconds(12)); // counts on from the new value
        time.advanceMs(2000);
        QCOMPARE(ch.seconds(), ClockSeconds::fromSeconds(10));
        ch.setRunning(false);
        time.advanceMs(10000);
        QCOMPARE(ch.seconds(), ClockSeconds::fromSeconds(10));
    }

    void stopsCountingAtZeroButKeepsRunning()
    {
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromTenths(12));
        QCOMPARE(ch.nanosecondsToZero(), qint64(-1)); // stopped: never
        ch.setRunning(true);
        time.advanceMs(200);
        QCOMPARE(ch.nanosecondsToZero(), qint64(1000000000));
        time.advanceMs(5000);
        QCOMPARE(ch.seconds(), ClockSeconds());
        QVERIFY(ch.running());
        QCOMPARE(ch.nanosecondsToZero(), qint64(0));
    }

    void manyStartsAndStopsDoNotDrift()
    {
        // 48 minutes of play in 500-odd runs of random length lose nothing.
        time.setNowNs(123456789);
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromSeconds(48 * 60));
        QRandomGenerator rng(42);
        qint64 runNs = 0;
        const qint64 total = qint64(48) * 60 * 1000000000;
        while (runNs < total) {
            const qint64 step = std::min<qint64>(total - runNs, 1 + rng.bounded(11520000000LL));
            ch.setRunning(true);
            time.advanceNs(step);
            runNs += step;
            ch.setRunning(false);
            time.advanceNs(rng.bounded(100000000));
        }
        QCOMPARE(ch.seconds(), ClockSeconds());
    }
};

QTEST_APPLESS_MAIN(TestChronometer)
#include "tst_chronometer.moc"
