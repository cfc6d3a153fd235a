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

    void quickKeysStayWithinTheLimits()
    {
        auto box = f.load();
        box->ddHomeScore->setCaption(198);
        box->AllKeyCode(vk::PageUp); // +3 refused
        QCOMPARE(box->ddHomeScore->caption(), 198);
        box->AllKeyCode(vk::Insert);
        box->AllKeyCode(vk::Insert);
        QCOMPARE(box->ddHomeScore->caption(), 199);
        box->ddVisitorScore->setCaption(-1);
        box->AllKeyCode(vk::End); // +2 from blank
        QCOMPARE(box->ddVisitorScore->caption(), 2);
        box->ddPeriod->setCaption(9);
        box->AllKeyCode('P');
        QCOMPARE(box->ddPeriod->caption(), 9);
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
    }

    void clockSwitchShowsTheTimeOfDayAndExpiryStillStops_data()
    {
        QTest::addColumn<bool>("twelveHour");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24-hour") << false << "14:07";
        QTest::newRow("12-hour") << true << "2:07";
    }
    void clockSwitchShowsTheTimeOfDayAndExpiryStillStops()
    {
        QFETCH(bool, twelveHour);
        QFETCH(QString, shown);
        auto box = f.load();
        box->setLocalTime([] { return QTime(14, 7, 30); }, twelveHour);
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
        QTest::newRow("keep on") << 1 << false << true;
        QTest::newRow("normal leaves it") << 0 << true << true;
        QTest::newRow("unknown value acts as normal") << 7 << false << false;
    }
    void numLockPolicyIsAppliedAtLoadAndOnRelease()
    {
        QFETCH(int, policy);
        QFETCH(bool, startsOn);
        QFETCH(bool, endsOn);
        Config().NumLockForce = policy;
        f.numLock.on = startsOn;
        auto box = f.load();
        box->show();
        QCOMPARE(f.numLock.on, endsOn);
        // The operator toggles it; a release on the shot clock display is not
        // looked at, one on a score display puts the policy back.
        f.numLock.on = !endsOn;
        QTest::keyRelease(box->ddShotClock, Qt::Key_NumLock);
        QCOMPARE(f.numLock.on, !endsOn);
        QTest::keyRelease(box->ddHomeScore, Qt::Key_NumLock);
        QCOMPARE(f.numLock.on, policy == 1 || policy == 2 ? endsOn : !endsOn);
    }
};

QTEST_MAIN(TestScoreboardKeys)
#include "tst_scoreboardkeys.moc"
