#include "chronometer.h"
#include "timesource.h"

#include <QRandomGenerator>
#include <QTest>

class TestChronometer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createdStoppedAtZero()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        QVERIFY(!ch.running());
        QCOMPARE(ch.seconds(), ClockSeconds());
    }

    void countsDownOneSecondPerSecondWhileRunning()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromSeconds(35));
        ch.setRunning(true);
        time.advanceMs(100);
        QCOMPARE(ch.seconds(), ClockSeconds::fromTenths(349));
        time.advanceMs(900);
        QCOMPARE(ch.seconds(), ClockSeconds::fromSeconds(34));
    }

    void stoppedValueNoLongerChanges()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromSeconds(35));
        ch.setRunning(true);
        time.advanceMs(1500);
        ch.setRunning(false);
        time.advanceMs(10000);
        QCOMPARE(ch.seconds(), ClockSeconds::fromTenths(335));
    }

    void writingSecondsLeavesRunningAndCountsFromTheNewValue()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setRunning(true);
        ch.setSeconds(ClockSeconds::fromSeconds(12));
        QVERIFY(ch.running());
        time.advanceMs(2000);
        QCOMPARE(ch.seconds(), ClockSeconds::fromSeconds(10));
    }

    void writingRunningLeavesSeconds()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromSeconds(7));
        ch.setRunning(true);
        QCOMPARE(ch.seconds(), ClockSeconds::fromSeconds(7));
        ch.setRunning(true); // no restart of the reference
        time.advanceMs(500);
        QCOMPARE(ch.seconds(), ClockSeconds::fromTenths(65));
    }

    void stopsCountingAtZeroButKeepsRunning()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromSeconds(1));
        ch.setRunning(true);
        time.advanceMs(5000);
        QCOMPARE(ch.seconds(), ClockSeconds());
        QVERIFY(ch.running());
        QCOMPARE(ch.nanosecondsToZero(), qint64(0));
    }

    void tellsTheTimeLeftUntilZero()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromTenths(12));
        QCOMPARE(ch.nanosecondsToZero(), qint64(-1));
        ch.setRunning(true);
        time.advanceMs(200);
        QCOMPARE(ch.nanosecondsToZero(), qint64(1000000000));
    }

    void manyStartsAndStopsDoNotDrift()
    {
        // 48 minutes of play, stopped and started 500 times at odd moments, loses
        // nothing: the time left is exactly the start value minus the running time.
        ManualTimeSource time;
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

    void resolutionIsOneTenThousandth()
    {
        ManualTimeSource time;
        Chronometer ch(time);
        ch.setSeconds(ClockSeconds::fromSeconds(1));
        ch.setRunning(true);
        time.advanceNs(100000);
        QCOMPARE(ch.seconds().ticks(), qint64(9999));
        time.advanceNs(1);
        QCOMPARE(ch.seconds().ticks(), qint64(9999)); // a part of a tick still counts as left
        time.advanceNs(99999);
        QCOMPARE(ch.seconds().ticks(), qint64(9998));
    }
};

QTEST_APPLESS_MAIN(TestChronometer)
#include "tst_chronometer.moc"
