// The score box driven from the keyboard: the dispatcher's order and what it
// shadows, the clock commands, typed entries through the displays, NumLock.

#include "chronometer.h"
#include "controls.h"
#include "clockdisplay.h"
#include "digitdisplay.h"
#include "entrytext.h"
#include "scoreboardfixture.h"
#include "virtualkeys.h"

#include <QTest>

class TestScoreboardKeys : public QObject
{
    Q_OBJECT

private:
    ScoreboardFixture f;

private Q_SLOTS:
    void init()
    {
        f.resetConfig();
        DigitEntry() = {};
        ClockEntry() = {};
    }

    void commandsDriveBothClocksOnceFromAnyElement()
    {
        Config().UseShotClock = true;
        auto box = f.load();
        box->show();
        QTest::keyClick(box->picScoreBox, Qt::Key_S, Qt::ShiftModifier); // acts like S
        QVERIFY(box->chGame->running());
        QVERIFY(box->chShotClock->running());
        f.time.advanceMs(1000);
        QTest::keyClick(box->ddHomeScore, Qt::Key_S); // dispatched once, not also by the window
        QVERIFY(!box->chGame->running());
        QVERIFY(!box->chShotClock->running());
        QCOMPARE(box->chGame->seconds(), ClockSeconds::fromSeconds(599));
        box->AllKeyCode('R');
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("10:00"));
        box->AllKeyCode(vk::F1);
        box->AllKeyCode(vk::F2);
        QCOMPARE(std::pair(f.log.helpShown, f.log.optionsShown), std::pair(1, 1));
    }

    void anEarlierBindingShadowsALaterOne()
    {
        Config().StartStopClockKey = vk::Escape;
        Config().QScoreH1 = vk::F11;
        auto box = f.load();
        box->AllKeyCode(vk::F11);
        QCOMPARE(box->ddHomeScore->caption(), 0); // the view key, not the quick key
        QCOMPARE(Config().ScoreboardView, 1);
        box->AllKeyCode(vk::Escape); // ends the program rather than starting the clock
        QCOMPARE(f.log.ended, 1);
        QVERIFY(!box->chGame->running());

        f.resetConfig();
        Config().ResetClockKey = Config().StartStopClockKey;
        box = f.load();
        box->chShotClock->setSeconds(ClockSeconds::fromSeconds(3));
        box->AllKeyCode('S');
        f.time.advanceMs(1000);
        box->AllKeyCode('S');
        QCOMPARE(box->chGame->seconds(), ClockSeconds::fromSeconds(599)); // stopped, never reset
        // Without the shot clock in use, neither StartStop nor its reset touches it.
        box->AllKeyCode('T');
        QCOMPARE(box->chShotClock->seconds(), ClockSeconds::fromSeconds(3));
    }

    void quickKeyAddsToItsOwnDisplayOnly_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<int>>("before"); // home, visitor, period
        QTest::addColumn<QList<int>>("after");
        const QList<int> start{10, 20, 3};
        QTest::newRow("Insert: home +1") << int(vk::Insert) << start << QList<int>{11, 20, 3};
        QTest::newRow("Home: home +2") << int(vk::Home) << start << QList<int>{12, 20, 3};
        QTest::newRow("PageUp: home +3") << int(vk::PageUp) << start << QList<int>{13, 20, 3};
        QTest::newRow("Delete: visitor +1") << int(vk::Delete) << start << QList<int>{10, 21, 3};
        QTest::newRow("End: visitor +2") << int(vk::End) << start << QList<int>{10, 22, 3};
        QTest::newRow("PageDown: visitor +3") << int(vk::PageDown) << start << QList<int>{10, 23, 3};
        QTest::newRow("P: period +1") << int('P') << start << QList<int>{10, 20, 4};
        QTest::newRow("+3 over 199 is refused") << int(vk::PageUp) << QList<int>{198, 0, 1} << QList<int>{198, 0, 1};
        QTest::newRow("+1 reaches 199") << int(vk::Insert) << QList<int>{198, 0, 1} << QList<int>{199, 0, 1};
        QTest::newRow("+2 from blank") << int(vk::End) << QList<int>{0, -1, 1} << QList<int>{0, 2, 1};
        QTest::newRow("period 9 stays") << int('P') << QList<int>{0, 0, 9} << QList<int>{0, 0, 9};
    }
    void quickKeyAddsToItsOwnDisplayOnly()
    {
        QFETCH(int, key);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        auto box = f.load();
        DigitDisplay* const displays[] = {box->ddHomeScore, box->ddVisitorScore, box->ddPeriod};
        for (int d = 0; d < 3; ++d)
            displays[d]->setCaption(before[d]);
        box->AllKeyCode(key);
        QCOMPARE((QList<int>{displays[0]->caption(), displays[1]->caption(), displays[2]->caption()}), after);
    }

    void typedEntriesThroughTheDisplays()
    {
        Config().StartStopClockKey = '5';
        auto box = f.load();
        box->show();
        QTest::keyClick(box->ddPeriod, Qt::Key_5); // a command key that is a digit does both
        QVERIFY(box->chGame->running());
        QCOMPARE(box->ddPeriod->caption(), 5);
        box->AllKeyCode('5'); // stopped again
        QTest::keyClicks(box->ddHomeScore, QStringLiteral("12\r"));
        QCOMPARE(box->ddHomeScore->caption(), 12);
        QTest::keyClick(box->ddHomeScore, Qt::Key_Backspace);
        QCOMPARE(box->ddHomeScore->caption(), -1);

        QTest::keyClicks(box->cdGame, QStringLiteral("12\r"));
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("12:00"));
        box->AllKeyCode('5');
        f.time.advanceMs(3000);
        box->AllKeyCode('R');
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("12:00")); // the new reset time
    }

    void clearedShotClockStaysBlankUntilReset()
    {
        Config().UseShotClock = true;
        auto box = f.load();
        box->show();
        box->AllKeyCode('S');
        QTest::keyClick(box->ddShotClock, Qt::Key_Backspace);
        f.time.advanceMs(100);
        box->RefreshTime();
        QCOMPARE(box->ddShotClock->caption(), -1);
        QCOMPARE(box->chShotClock->seconds(), ClockSeconds());
        box->AllKeyCode('T');
        QCOMPARE(box->ddShotClock->caption(), 35);
    }

    void resetShotClockFollowsTheGameOnceAFullPeriodNoLongerFits_data()
    {
        QTest::addColumn<int>("gameSeconds");
        QTest::addColumn<bool>("follows");
        QTest::newRow("20 s left follows") << 20 << true;
        QTest::newRow("exactly 35 s left follows") << 35 << true;
        QTest::newRow("36 s left resets to 35") << 36 << false;
    }
    void resetShotClockFollowsTheGameOnceAFullPeriodNoLongerFits()
    {
        QFETCH(int, gameSeconds);
        QFETCH(bool, follows);
        Config().UseShotClock = true;
        auto box = f.load();
        box->chGame->setSeconds(ClockSeconds::fromSeconds(gameSeconds));
        box->chShotClock->setSeconds(ClockSeconds::fromSeconds(3));
        box->AllKeyCode('T');
        QCOMPARE(box->ShotClockFollowsGame, follows);
        QCOMPARE(box->ddShotClock->caption(), follows ? gameSeconds : 35);
        box->AllKeyCode('R'); // a reset game gives the shot clock its own time back
        QVERIFY(!box->ShotClockFollowsGame);
        QCOMPARE(box->ddShotClock->caption(), 35);
    }

    void clockSwitchShowsTheTimeOfDayAndExpiryStillStops_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<bool>("twelveHour");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24-hour") << QTime(14, 7, 30) << false << "14:07";
        QTest::newRow("24-hour after midnight") << QTime(0, 7) << false << "0:07";
        QTest::newRow("12-hour afternoon") << QTime(14, 7, 30) << true << "2:07";
        QTest::newRow("12-hour noon") << QTime(12, 7) << true << "12:07";
        QTest::newRow("12-hour after midnight") << QTime(0, 7) << true << "12:07";
    }
    void clockSwitchShowsTheTimeOfDayAndExpiryStillStops()
    {
        QFETCH(QTime, now);
        QFETCH(bool, twelveHour);
        QFETCH(QString, shown);
        auto box = f.load();
        box->setLocalTime([now] { return now; }, twelveHour);
        box->chGame->setSeconds(ClockSeconds::fromSeconds(1));
        box->AllKeyCode('S');
        box->AllKeyCode('C');
        f.time.advanceMs(1000);
        box->RefreshTime();
        QCOMPARE(box->cdGame->shownText(), shown);
        QVERIFY(!box->chGame->running());
    }

    void selectionMarkerFramesTheClickedDisplay_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("margin");
        QTest::addColumn<int>("growth");
        QTest::newRow("2 pixels") << 2 << 2 << 5;
        QTest::newRow("30000 is held at 32767 twips") << 30000 << 2184 << 4370;
    }
    void selectionMarkerFramesTheClickedDisplay()
    {
        QFETCH(int, width);
        QFETCH(int, margin);
        QFETCH(int, growth);
        Config().LEDSelectedWidth = width;
        auto box = f.load();
        box->show();
        QTest::mouseClick(box->ddPeriod, Qt::LeftButton);
        const QRect d = box->ddPeriod->geometry();
        QVERIFY(box->shpObjectSelected->isVisible());
        QCOMPARE(box->shpObjectSelected->geometry(),
                 QRect(d.left() - margin, d.top() - margin, d.width() + growth, d.height() + growth));
    }

    void numLockPolicyIsAppliedAtLoadAndOnRelease_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<bool>("startsOn");
        QTest::addColumn<bool>("endsOn");
        QTest::addColumn<bool>("kept"); // put back after the operator toggles it
        QTest::newRow("keep on") << 1 << false << true << true;
        QTest::newRow("keep on, already on") << 1 << true << true << true;
        QTest::newRow("keep off") << 2 << true << false << true;
        QTest::newRow("keep off, already off") << 2 << false << false << true;
        QTest::newRow("normal leaves it on") << 0 << true << true << false;
        QTest::newRow("normal leaves it off") << 0 << false << false << false;
        QTest::newRow("unknown value acts as normal") << 7 << false << false << false;
    }
    void numLockPolicyIsAppliedAtLoadAndOnRelease()
    {
        QFETCH(int, policy);
        QFETCH(bool, startsOn);
        QFETCH(bool, endsOn);
        QFETCH(bool, kept);
        Config().NumLockForce = policy;
        f.numLock.on = startsOn;
        f.numLock.changes = 0;
        auto box = f.load();
        box->show();
        QCOMPARE(f.numLock.on, endsOn);
        QCOMPARE(f.numLock.changes, startsOn == endsOn ? 0 : 1); // set only when it differs
        // The operator toggles it; a release on the shot clock display is not
        // looked at, one on a score display puts the policy back.
        f.numLock.on = !endsOn;
        QTest::keyRelease(box->ddShotClock, Qt::Key_NumLock);
        QCOMPARE(f.numLock.on, !endsOn);
        QTest::keyRelease(box->ddHomeScore, Qt::Key_NumLock);
        QCOMPARE(f.numLock.on, kept ? endsOn : !endsOn);
    }
};

QTEST_MAIN(TestScoreboardKeys)
#include "tst_scoreboardkeys.moc"
