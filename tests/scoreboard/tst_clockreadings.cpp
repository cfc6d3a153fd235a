// What the clocks show, and when they stop and sound, refresh by refresh.

#include "clockreadings.h"

#include <QTest>

namespace {
ClockSeconds s(double seconds) { return ClockSeconds::fromDouble(seconds); }
}

class TestClockReadings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gameClockFace_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("format");
        QTest::addColumn<float>("value");
        QTest::newRow("600 is 10:00") << 600.0 << "60,1" << 600.0f;
        QTest::newRow("60.0 is 1:00") << 60.0 << "60,1" << 60.0f;
        QTest::newRow("59.95 still shows minutes") << 59.95 << "60,1" << 60.0f;
        QTest::newRow("59.9 shows tenths") << 59.9 << "1,.1" << 59.9f;
        QTest::newRow("61.0001 rounds up to 62") << 61.0001 << "60,1" << 62.0f;
        QTest::newRow("60.0001 on an even second rounds down") << 60.0001 << "60,1" << 60.0f;
        QTest::newRow("60.5 rounds up") << 60.5 << "60,1" << 61.0f;
        QTest::newRow("zero") << 0.0 << "1,.1" << 0.0f;
        QTest::newRow("below zero") << -0.03 << "1,.1" << -0.03f;
    }
    void gameClockFace()
    {
        QFETCH(double, seconds);
        QFETCH(QString, format);
        QFETCH(float, value);
        const GameClockReading r = gameClockReading(s(seconds));
        QCOMPARE(r.format, format);
        QCOMPARE(r.value, value);
    }

    void timeOfDayReadsHoursAndMinutes()
    {
        const GameClockReading r = timeOfDayReading(14, 7);
        QCOMPARE(r.format, QStringLiteral("60,1"));
        QCOMPARE(r.value, 847.0f);
    }

    void shotClockRoundsUp_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("shown");
        QTest::newRow("24.0") << 24.0 << 24;
        QTest::newRow("23.2") << 23.2 << 24;
        QTest::newRow("0.3") << 0.3 << 1;
        QTest::newRow("0") << 0.0 << 0;
    }
    void shotClockRoundsUp()
    {
        QFETCH(double, seconds);
        QFETCH(int, shown);
        QCOMPARE(shotClockReading(s(seconds)), shown);
    }

    void runningGameClockAtZeroStopsBothAndSoundsOnlyTheBuzzer()
    {
        ExpiryFlags flags{false, true};
        const RefreshActions a = decideRefresh({s(0), true, s(0), true, false, 0}, flags);
        QVERIFY(a.stopGame);
        QVERIFY(a.stopShot);
        QVERIFY(a.soundBuzzer);
        QVERIFY(!a.soundHorn);
        QVERIFY(flags.gameBuzzerSounded);
        QVERIFY(!flags.shotClockHornArmed);
    }

    void gameExpiryWhileShotClockFollowsSoundsOnlyTheBuzzer()
    {
        ExpiryFlags flags;
        // A refresh at 0.5 s arms the horn through the following shot clock...
        decideRefresh({s(0.5), true, s(10), true, true, 1}, flags);
        QVERIFY(flags.shotClockHornArmed);
        // ...and at zero the game's expiry disarms it before the shot clock is looked at.
        const RefreshActions a = decideRefresh({s(0), true, s(10), true, true, 1}, flags);
        QVERIFY(a.soundBuzzer);
        QVERIFY(!a.soundHorn);
        QCOMPARE(a.shotCaption, std::optional<int>(0));
    }

    void stoppedGameClockAtZeroGivesNoBuzzer()
    {
        ExpiryFlags flags;
        const RefreshActions a = decideRefresh({s(0), false, s(35), false, false, 0}, flags);
        QVERIFY(!a.soundBuzzer);
        QVERIFY(!a.stopGame);
    }

    void restartingAfterTheBuzzerGivesNoSecondBuzzer()
    {
        ExpiryFlags flags;
        QVERIFY(decideRefresh({s(0), true, s(35), false, false, 0}, flags).soundBuzzer);
        const RefreshActions again = decideRefresh({s(0), true, s(35), false, false, 0}, flags);
        QVERIFY(!again.soundBuzzer);
        QVERIFY(!again.stopGame);
        // Time put back on the clock re-arms the buzzer.
        decideRefresh({s(5), false, s(35), false, false, 0}, flags);
        QVERIFY(decideRefresh({s(0), true, s(35), false, false, 0}, flags).soundBuzzer);
    }

    void shotClockHornNeedsArmingAndSoundsOnce()
    {
        ExpiryFlags flags;
        // Never seen above zero: no horn.
        QVERIFY(!decideRefresh({s(100), true, s(0), true, false, 0}, flags).soundHorn);
        decideRefresh({s(100), true, s(0.04), true, false, 1}, flags);
        const RefreshActions horn = decideRefresh({s(100), true, s(0), true, false, 1}, flags);
        QVERIFY(horn.soundHorn);
        QVERIFY(horn.stopShot);
        QVERIFY(!horn.stopGame); // the game clock keeps running
        QVERIFY(!decideRefresh({s(99), true, s(0), true, false, 0}, flags).soundHorn);
    }

    void blankShotClockStaysBlankAndSilent()
    {
        ExpiryFlags flags{false, true};
        const RefreshActions a = decideRefresh({s(100), true, s(0), true, false, -1}, flags);
        QVERIFY(!a.shotCaption.has_value());
        QVERIFY(!a.soundHorn);
    }

    void withoutTheShotClockItsDisplayAndHornAreLeftAloneButGameExpiryStillStopsIt()
    {
        ExpiryFlags flags{false, true};
        const RefreshActions quiet = decideRefresh({s(100), true, s(0), false, false, 12}, flags);
        QVERIFY(!quiet.shotCaption.has_value());
        QVERIFY(!quiet.soundHorn);
        const RefreshActions end = decideRefresh({s(0), true, s(3), false, false, 12}, flags);
        QVERIFY(end.stopShot);
    }
};

QTEST_APPLESS_MAIN(TestClockReadings)
#include "tst_clockreadings.moc"
