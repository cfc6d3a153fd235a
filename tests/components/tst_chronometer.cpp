// Clock time: exact ten-thousandths, the conversions that round ties to even, and
// the chronometer counting them down without drift.

#include "chronometer.h"
#include "colour.h"
#include "timesource.h"
#include "units.h"

#include <QRandomGenerator>
#include <QTest>

#include <limits>

class TestChronometer : public QObject
{
    Q_OBJECT

private:
    ManualTimeSource time;

private Q_SLOTS:
    void arithmeticAndComparisonsAreExact()
    {
        // 48 minutes in tenths: a binary fraction would drift off 2880 s.
        ClockSeconds t;
        for (int i = 0; i < 28800; ++i)
            t += ClockSeconds::fromDouble(0.1);
        QCOMPARE(t, ClockSeconds::fromSeconds(2880));
        QVERIFY(ClockSeconds::fromDouble(59.9) + ClockSeconds::fromDouble(0.1) == ClockSeconds::fromSeconds(60));
        QVERIFY(ClockSeconds::fromDouble(59.9999) < ClockSeconds::fromSeconds(60));
        QCOMPARE(ClockSeconds::fromDouble(-0.5).ticks(), qint64(-5000));
        QCOMPARE(ClockSeconds::fromDouble(qQNaN()), ClockSeconds());
        QVERIFY(ClockSeconds::fromDouble(1e300) > ClockSeconds::fromSeconds(1000000000));
        QVERIFY(ClockSeconds::fromDouble(-1e300) < ClockSeconds());
    }

    void wholeSecondsRoundTiesToEven_data()
    {
        QTest::addColumn<qint64>("ticks");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("2.5 down to 2") << qint64(25000) << qint64(2);
        QTest::newRow("3.5 up to 4") << qint64(35000) << qint64(4);
        QTest::newRow("2.5001 up") << qint64(25001) << qint64(3);
        QTest::newRow("-0.5 to 0") << qint64(-5000) << qint64(0);
        QTest::newRow("-1.5 to -2") << qint64(-15000) << qint64(-2);
    }
    void wholeSecondsRoundTiesToEven()
    {
        QFETCH(qint64, ticks);
        QFETCH(qint64, seconds);
        QCOMPARE(ClockSeconds::fromTicks(ticks).roundedToWholeSeconds(), seconds);
    }

    void conversionsRoundTiesToEvenAndClamp()
    {
        QCOMPARE(units::twipsToWholePixels(22.5), 2); // 1.5 px
        QCOMPARE(units::twipsToWholePixels(7.5), 0);  // 0.5 px
        QCOMPARE(units::toInt16(70000.0), qint16(32767));
        QCOMPARE(units::toInt16(-1e9), qint16(-32768));
        QCOMPARE(units::toInt16(qQNaN()), qint16(0));
        QCOMPARE(units::toInt32(1e12), std::numeric_limits<qint32>::max());
        QCOMPARE(units::toInt32(-2.5), qint32(-2));
    }

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
