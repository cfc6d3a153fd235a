#include "clockseconds.h"
#include "colour.h"
#include "units.h"

#include <QTest>

#include <limits>

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
}

class TestClockSeconds : public QObject
{
    Q_OBJECT

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
        QCOMPARE(ClockSeconds::fromDouble(NaN), ClockSeconds());
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
        QCOMPARE(units::toInt16(NaN), qint16(0));
        QCOMPARE(units::toInt32(1e12), std::numeric_limits<qint32>::max());
        QCOMPARE(units::toInt32(-2.5), qint32(-2));
        // Colours keep red in the low byte.
        QCOMPARE(toQColor(33023), QColor(255, 128, 0));
        QCOMPARE(fromQColor(QColor(0, 0, 255)), Colour(16711680));
    }
};

QTEST_APPLESS_MAIN(TestClockSeconds)
#include "tst_clockseconds.moc"
