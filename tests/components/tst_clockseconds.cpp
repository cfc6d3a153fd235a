#include "clockseconds.h"
#include "colour.h"
#include "units.h"

#include <QTest>

#include <limits>

class TestClockSeconds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arithmeticIsExactOverManySmallSteps()
    {
        // 48 minutes in steps of 0.0001 s sums to exactly 2880 s: no binary fraction creeps in.
        ClockSeconds t;
        for (int i = 0; i < 28800000; ++i)
            t += ClockSeconds::fromTicks(1);
        QCOMPARE(t, ClockSeconds::fromSeconds(2880));
    }

    void fromDoubleRoundsToNearestTenThousandth_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("ticks");
        QTest::newRow("59.9") << 59.9 << qint64(599000);
        QTest::newRow("0.1") << 0.1 << qint64(1000);
        QTest::newRow("negative") << -0.5 << qint64(-5000);
        QTest::newRow("not a number is zero") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
    }
    void fromDoubleRoundsToNearestTenThousandth()
    {
        QFETCH(double, seconds);
        QFETCH(qint64, ticks);
        QCOMPARE(ClockSeconds::fromDouble(seconds).ticks(), ticks);
    }

    void fromDoubleClampsHugeValues()
    {
        QVERIFY(ClockSeconds::fromDouble(1e300) > ClockSeconds::fromSeconds(1000000000));
        QVERIFY(ClockSeconds::fromDouble(-1e300) < ClockSeconds());
    }

    void wholeSecondsRoundTiesToEven_data()
    {
        QTest::addColumn<qint64>("ticks");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("2.5 goes down to 2") << qint64(25000) << qint64(2);
        QTest::newRow("3.5 goes up to 4") << qint64(35000) << qint64(4);
        QTest::newRow("2.5001 goes up") << qint64(25001) << qint64(3);
        QTest::newRow("-0.5 goes to 0") << qint64(-5000) << qint64(0);
        QTest::newRow("-1.5 goes to -2") << qint64(-15000) << qint64(-2);
        QTest::newRow("-1.2 goes to -1") << qint64(-12000) << qint64(-1);
    }
    void wholeSecondsRoundTiesToEven()
    {
        QFETCH(qint64, ticks);
        QFETCH(qint64, seconds);
        QCOMPARE(ClockSeconds::fromTicks(ticks).roundedToWholeSeconds(), seconds);
    }

    void roundingHelpersUseTiesToEvenAndClamp()
    {
        QCOMPARE(units::roundHalfEven(0.5), 0.0);
        QCOMPARE(units::roundHalfEven(1.5), 2.0);
        QCOMPARE(units::toInt16(70000.0), qint16(32767));
        QCOMPARE(units::toInt16(-1e9), qint16(-32768));
        QCOMPARE(units::toInt16(std::numeric_limits<double>::quiet_NaN()), qint16(0));
        QCOMPARE(units::twipsToWholePixels(22.5), 2); // 1.5 px rounds to 2
        QCOMPARE(units::twipsToWholePixels(7.5), 0);  // 0.5 px rounds to 0
    }

    void coloursKeepRedInTheLowByte()
    {
        const Colour orange = 33023; // 255, 128, 0
        QCOMPARE(toQColor(orange), QColor(255, 128, 0));
        QCOMPARE(fromQColor(QColor(0, 0, 255)), Colour(16711680));
        QCOMPARE(fromQColor(toQColor(4210752)), Colour(4210752));
    }

    void booleansReadAsTrueAndFalse()
    {
        QCOMPARE(units::booleanText(true), QStringLiteral("True"));
        QCOMPARE(units::booleanText(false), QStringLiteral("False"));
        QCOMPARE(units::toVbBoolean(true), qint16(-1));
    }
};

QTEST_APPLESS_MAIN(TestClockSeconds)
#include "tst_clockseconds.moc"
