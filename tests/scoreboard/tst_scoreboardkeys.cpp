// The score box driven from the keyboard: the dispatcher's order and what it
// shadows, the clock commands, typed entries through the displays, NumLock.

#include "chronometer.h"
#include "controls.h"
#include "clockdisplay.h"
#include "digitdisplay.h"
#include "entrytext.h"
#include "gameclockstate.h"
#include "scoreboardfixture.h"
#include "virtualkeys.h"

#include <QTest>

class TestScoreboardKeys : public QObject
{
    Q_OBJECT

private:
    ScoreboardFixture f;

    // Types keys into a display as an operator would, through its own key events.
    static void type(QWidget* display, const QList<Qt::Key>& keys)
    {
        for (Qt::Key k : keys)
            QTest::keyClick(display, k);
    }

private Q_SLOTS:
    void init()
    {
        f.resetConfig();
        DigitEntry() = {};
        ClockEntry() = {};
    }

    void startStopTogglesBothClocksWithTheShotClockInUse()
    {
        Config().UseShotClock = true;
        auto box = f.load();
        box->AllKeyCode('S');
        QVERIFY(box->chGame->running());
        QVERIFY(box->chShotClock->running());
        f.time.advanceMs(1000);
        box->AllKeyCode('S');
        QVERIFY(!box->chGame->running());
        QVERIFY(!box->chShotClock->running());
        QCOMPARE(box->chGame->seconds(), ClockSeconds::fromSeconds(599));
    }

    void startStopLeavesTheShotClockAloneWithoutIt()
    {
        auto box = f.load();
        box->AllKeyCode('S');
        QVERIFY(box->chGame->running());
        QVERIFY(!box->chShotClock->running());
    }

    void resetPutsTheResetTimeBackAndStops()
    {
        auto box = f.load();
        box->AllKeyCode('S');
        f.time.advanceMs(5000);
        box->AllKeyCode('R');
        QVERIFY(!box->chGame->running());
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("10:00"));
    }

    void shiftedAndKeypadKeysActLikeTheirKeys()
    {
        auto box = f.load();
        box->show();
        QTest::keyClick(box->picScoreBox, Qt::Key_S, Qt::ShiftModifier);
        QVERIFY(box->chGame->running());
    }

    void aCommandKeyEqualToAnEarlierOneIsShadowed()
    {
        Config().ResetClockKey = Config().StartStopClockKey;
        auto box = f.load();
        box->AllKeyCode('S');
        box->AllKeyCode('S');
        QVERIFY(!box->chGame->running()); // started and stopped, never reset
    }

    void escCannotBeReboundAway()
    {
        Config().StartStopClockKey = vk::Escape;
        auto box = f.load();
        box->AllKeyCode(vk::Escape);
        QCOMPARE(f.log.ended, 1);
        QVERIFY(!box->chGame->running());
    }

    void aQuickKeyOnAFunctionKeyIsShadowedByIt()
    {
        Config().QScoreH1 = vk::F11;
        auto box = f.load();
        box->AllKeyCode(vk::F11);
        QCOMPARE(box->ddHomeScore->caption(), 0);
        QCOMPARE(Config().ScoreboardView, 1);
    }

    void functionKeysReachHelpAndOptions()
    {
        auto box = f.load();
        box->AllKeyCode(vk::F1);
        box->AllKeyCode(vk::F2);
        QCOMPARE(f.log.helpShown, 1);
        QCOMPARE(f.log.optionsShown, 1);
    }

    void quickKeysStayWithinTheLimits()
    {
        auto box = f.load();
        box->ddHomeScore->setCaption(198);
        box->AllKeyCode(vk::PageUp); // +3 refused
        QCOMPARE(box->ddHomeScore->caption(), 198);
        box->AllKeyCode(vk::Insert);
        QCOMPARE(box->ddHomeScore->caption(), 199);
        box->AllKeyCode(vk::Insert);
        QCOMPARE(box->ddHomeScore->caption(), 199);
        box->ddVisitorScore->setCaption(-1);
        box->AllKeyCode(vk::End); // +2 from blank
        QCOMPARE(box->ddVisitorScore->caption(), 2);
        box->ddPeriod->setCaption(9);
        box->AllKeyCode('P');
        QCOMPARE(box->ddPeriod->caption(), 9);
    }

    void scoreTypedThroughTheDisplay()
    {
        auto box = f.load();
        box->show();
        box->ddHomeScore->setCaption(7);
        type(box->ddHomeScore, {Qt::Key_1, Qt::Key_2, Qt::Key_Return});
        QCOMPARE(box->ddHomeScore->caption(), 12);
        // Keypad digits enter the same values as the top row.
        QTest::keyClick(box->ddHomeScore, Qt::Key_3, Qt::KeypadModifier);
        QTest::keyClick(box->ddHomeScore, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(box->ddHomeScore->caption(), 3);
    }

    void clearKeyBlanksAScoreAndAQuickKeyCountsFromZero()
    {
        auto box = f.load();
        box->show();
        box->ddHomeScore->setCaption(44);
        QTest::keyClick(box->ddHomeScore, Qt::Key_Backspace);
        QCOMPARE(box->ddHomeScore->caption(), -1);
        box->AllKeyCode(vk::Home);
        QCOMPARE(box->ddHomeScore->caption(), 2);
    }

    void typedGameTimeBecomesTheResetTime()
    {
        auto box = f.load();
        box->show();
        type(box->cdGame, {Qt::Key_1, Qt::Key_2, Qt::Key_Return});
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("12:00"));
        QCOMPARE(GameClockResetTime(), ClockSeconds::fromSeconds(720));
        box->AllKeyCode('S');
        f.time.advanceMs(3000);
        box->AllKeyCode('R');
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("12:00"));
    }

    void aKeyThatIsBothCommandAndDigitDoesBoth()
    {
        // Binding start/stop to 5 starts the clock and also enters the digit.
        Config().StartStopClockKey = '5';
        auto box = f.load();
        box->show();
        QTest::keyClick(box->ddPeriod, Qt::Key_5);
        QVERIFY(box->chGame->running());
        QCOMPARE(box->ddPeriod->caption(), 5);
    }

    void clearedShotClockStaysBlankUntilReset()
    {
        Config().UseShotClock = true;
        auto box = f.load();
        box->show();
        box->AllKeyCode('S');
        QTest::keyClick(box->ddShotClock, Qt::Key_Backspace);
        QCOMPARE(box->ddShotClock->caption(), -1);
        QCOMPARE(box->chShotClock->seconds(), ClockSeconds());
        f.time.advanceMs(100);
        box->RefreshTime();
        QCOMPARE(box->ddShotClock->caption(), -1);
        box->AllKeyCode('T');
        QCOMPARE(box->ddShotClock->caption(), 35);
    }

    void resetShotClockFollowsTheGameOnceAFullPeriodNoLongerFits_data()
    {
        QTest::addColumn<int>("gameSeconds");
        QTest::addColumn<bool>("follows");
        QTest::addColumn<int>("shown");
        QTest::newRow("20 s left follows the game") << 20 << true << 20;
        QTest::newRow("exactly 35 s left follows the game") << 35 << true << 35;
        QTest::newRow("36 s left resets to 35") << 36 << false << 35;
    }
    void resetShotClockFollowsTheGameOnceAFullPeriodNoLongerFits()
    {
        QFETCH(int, gameSeconds);
        QFETCH(bool, follows);
        QFETCH(int, shown);
        Config().UseShotClock = true;
        auto box = f.load();
        box->chGame->setSeconds(ClockSeconds::fromSeconds(gameSeconds));
        box->chShotClock->setSeconds(ClockSeconds::fromSeconds(3));
        box->AllKeyCode('T');
        QCOMPARE(box->ShotClockFollowsGame, follows);
        QCOMPARE(box->ddShotClock->caption(), shown);
    }

    void resetShotClockDoesNothingWithoutIt()
    {
        auto box = f.load();
        box->chShotClock->setSeconds(ClockSeconds::fromSeconds(3));
        box->AllKeyCode('T');
        QCOMPARE(box->chShotClock->seconds(), ClockSeconds::fromSeconds(3));
    }

    void clockSwitchShowsTheTimeOfDay_data()
    {
        QTest::addColumn<bool>("twelveHour");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24-hour") << false << "14:07";
        QTest::newRow("12-hour") << true << "2:07";
    }
    void clockSwitchShowsTheTimeOfDay()
    {
        QFETCH(bool, twelveHour);
        QFETCH(QString, shown);
        auto box = f.load();
        box->setLocalTime([] { return QTime(14, 7, 30); }, twelveHour);
        box->AllKeyCode('C');
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("10:00")); // no refresh of its own
        box->RefreshTime();
        QCOMPARE(box->cdGame->shownText(), shown);
    }

    void expiryDuringTheTimeOfDayStillSoundsAndStops()
    {
        auto box = f.load();
        box->setLocalTime([] { return QTime(9, 0); }, false);
        box->chGame->setSeconds(ClockSeconds::fromSeconds(1));
        box->AllKeyCode('S');
        box->AllKeyCode('C');
        f.time.advanceMs(1000);
        box->RefreshTime();
        QVERIFY(!box->chGame->running());
    }

    void selectionMarkerFramesTheClickedDisplay()
    {
        Config().LEDSelectedWidth = 2;
        auto box = f.load();
        box->show();
        QTest::mouseClick(box->ddPeriod, Qt::LeftButton);
        const QRect d = box->ddPeriod->geometry();
        const QRect m = box->shpObjectSelected->geometry();
        QVERIFY(box->shpObjectSelected->isVisible());
        QCOMPARE(m.left(), d.left() - 2);
        QCOMPARE(m.top(), d.top() - 2);
        QCOMPARE(m.width(), d.width() + 5);
        QCOMPARE(m.height(), d.height() + 5);
    }

    void hugeSelectionWidthIsHeldNotWrapped()
    {
        Config().LEDSelectedWidth = 30000;
        auto box = f.load();
        box->show();
        QTest::mouseClick(box->ddPeriod, Qt::LeftButton);
        QVERIFY(box->shpObjectSelected->geometry().left() < box->ddPeriod->geometry().left());
    }

    void numLockPolicyIsAppliedAtLoadAndOnRelease_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<bool>("startsOn");
        QTest::addColumn<bool>("endsOn");
        QTest::newRow("keep on") << 1 << false << true;
        QTest::newRow("keep off") << 2 << true << false;
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
        QCOMPARE(f.numLock.on, endsOn);
        // The operator toggles it; the release puts the policy back, once.
        f.numLock.on = !f.numLock.on;
        const int changesBefore = f.numLock.changes;
        box->AllKeyUp(vk::NumLock);
        box->AllKeyUp(vk::NumLock);
        if (policy == 1 || policy == 2) {
            QCOMPARE(f.numLock.on, endsOn);
            QCOMPARE(f.numLock.changes, changesBefore + 1);
        } else {
            QCOMPARE(f.numLock.changes, changesBefore);
        }
    }
};

QTEST_MAIN(TestScoreboardKeys)
#include "tst_scoreboardkeys.moc"
