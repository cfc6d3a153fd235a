// What the clocks show, and when they stop and sound, refresh by refresh.

#include "clockreadings.h"

#include <QTest>

Q_DECLARE_METATYPE(RefreshInput)

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
        QTest::newRow("59.85 rounds up to 59.9") << 59.85 << "1,.1" << 59.9f;
        QTest::newRow("10.01 rounds up to 10.1") << 10.01 << "1,.1" << 10.1f;
        QTest::newRow("9.91 rounds up to 10.0") << 9.91 << "1,.1" << 10.0f;
        QTest::newRow("0.05 rounds up to 0.1") << 0.05 << "1,.1" << 0.1f;
        QTest::newRow("0.0001 rounds up to 0.1") << 0.0001 << "1,.1" << 0.1f;
        QTest::newRow("0 is 0.0") << 0.0 << "1,.1" << 0.0f;
        QTest::newRow("below zero is 0.0") << -0.03 << "1,.1" << 0.0f;
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

    // One refresh, with or without the horn armed before it.
    void expiry_data()
    {
        QTest::addColumn<RefreshInput>("in"); // game, running, shot, use shot clock, follows, caption (-1 blank)
        QTest::addColumn<bool>("armed");
        QTest::addColumn<bool>("sounded"); // the buzzer has sounded for this expiry
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("shown"); // -2: the caption is left alone
        QTest::addColumn<bool>("armedAfter");
        QTest::addColumn<bool>("soundedAfter");
        QTest::newRow("game and shot clock out together: buzzer only")
            << RefreshInput{s(0), true, s(0), true, false, 1} << true << false << "stopGame stopShot buzzer" << 0 << false << true;
        QTest::newRow("game out, horn not armed")
            << RefreshInput{s(0), true, s(10), true, false, 10} << false << false << "stopGame stopShot buzzer" << 10 << true << true;
        QTest::newRow("game out with the shot clock following: buzzer only")
            << RefreshInput{s(0), true, s(10), true, true, 1} << true << false << "stopGame stopShot buzzer" << 0 << false << true;
        QTest::newRow("stopped game at zero") << RefreshInput{s(0), false, s(35), true, false, 35} << true << false << "" << 35 << true << false;
        QTest::newRow("shot clock above zero arms") << RefreshInput{s(100), true, s(0.04), true, false, 1} << false << false << "" << 1 << true << false;
        QTest::newRow("armed shot clock out") << RefreshInput{s(100), true, s(0), true, false, 1} << true << false << "stopShot horn" << 0 << false << false;
        QTest::newRow("armed shot clock out, the display already at 0")
            << RefreshInput{s(100), true, s(0), true, false, 0} << true << false << "stopShot horn" << 0 << false << false;
        QTest::newRow("unarmed shot clock out") << RefreshInput{s(100), true, s(0), true, false, 0} << false << false << "" << 0 << false << false;
        QTest::newRow("blank shot clock never sounds") << RefreshInput{s(100), true, s(0), true, false, -1} << true << false << "" << -2 << true << false;
        QTest::newRow("no shot clock: left alone") << RefreshInput{s(100), true, s(0), false, false, 12} << true << false << "" << -2 << true << false;
        QTest::newRow("no shot clock: game expiry still stops it")
            << RefreshInput{s(0), true, s(3), false, false, 12} << true << false << "stopGame stopShot buzzer" << -2 << false << true;
        QTest::newRow("game still out after its buzzer: no second one")
            << RefreshInput{s(0), true, s(35), false, false, 0} << false << true << "" << -2 << false << true;
        QTest::newRow("time put back on the game clock re-arms the buzzer")
            << RefreshInput{s(5), false, s(35), false, false, 0} << false << true << "" << -2 << false << false;
    }
    void expiry()
    {
        QFETCH(RefreshInput, in);
        QFETCH(bool, armed);
        QFETCH(bool, sounded);
        QFETCH(QString, actions);
        QFETCH(int, shown);
        QFETCH(bool, armedAfter);
        QFETCH(bool, soundedAfter);
        ExpiryFlags flags{sounded, armed};
        const RefreshActions a = decideRefresh(in, flags);
        QStringList did;
        const std::pair<bool, const char*> all[] = {
            {a.stopGame, "stopGame"}, {a.stopShot, "stopShot"}, {a.soundBuzzer, "buzzer"}, {a.soundHorn, "horn"}};
        for (const auto& [done, name] : all)
            if (done)
                did << QString::fromLatin1(name);
        QCOMPARE(did.join(u' '), actions);
        QCOMPARE(a.shotCaption.value_or(-2), shown);
        QCOMPARE(flags.shotClockHornArmed, armedAfter);
        QCOMPARE(flags.gameBuzzerSounded, soundedAfter);
    }
};

QTEST_APPLESS_MAIN(TestClockReadings)
#include "tst_clockreadings.moc"
