// The score box's life: what it sounds and mirrors on a refresh, and what it
// rebuilds after the options dialog. Its first start and the placement it saves
// are the end-to-end tests' (first_start_shows_ten_minutes, esc_saves_placement).

#include "chronometer.h"
#include "clockdisplay.h"
#include "controls.h"
#include "modscorebox.h"
#include "sounddevice.h"
#include "scoreboardfixture.h"
#include "testwave.h"
#include "units.h"

#include <QSignalSpy>
#include <QTest>

class TestFrmScoreboard : public QObject
{
    Q_OBJECT

private:
    ScoreboardFixture f;

    void useSoundFiles()
    {
        Config().BuzzerFile = f.programFolder.filePath(QStringLiteral("buzzer.wav"));
        Config().ShotClockFile = f.programFolder.filePath(QStringLiteral("horn.wav"));
        QVERIFY(writeTestWave(Config().BuzzerFile));
        QVERIFY(writeTestWave(Config().ShotClockFile));
    }

private Q_SLOTS:
    void init() { f.resetConfig(); }

    void gameExpiryOnItsOwnRefreshSoundsOnlyTheBuzzerOnce()
    {
        useSoundFiles();
        Config().UseShotClock = true;
        Config().ShowShotClockScreen = true;
        auto box = f.load();
        QSignalSpy buzzer(box->mmcBuzzer, &SoundDevice::playRequested);
        QSignalSpy horn(box->mmcShotClock, &SoundDevice::playRequested);
        box->chGame->setSeconds(ClockSeconds::fromTicks(300));
        box->AllKeyCode('S');
        // The 50 ms refresh would be late: a refresh is armed for the zero.
        QVERIFY(box->expiryRefresh().isActive());
        QCOMPARE(box->expiryRefresh().interval(), 30);
        f.time.advanceMs(30);
        box->RefreshTime();
        box->RefreshTime();
        QCOMPARE(buzzer.count(), 1);
        QCOMPARE(horn.count(), 0);
        QVERIFY(!box->chGame->running());
        QVERIFY(!box->chShotClock->running());
        QVERIFY(!box->expiryRefresh().isActive()); // stopped clocks need none
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("0.0"));
        QCOMPARE(f.log.lastShotClockCopy, 35); // the shot clock window shows what the box shows
        box->AllKeyCode('S'); // starting again at zero
        box->RefreshTime();
        QCOMPARE(buzzer.count(), 1);
        box->AllKeyCode('B');
        QCOMPARE(buzzer.count(), 2);
    }

    void afterOptionsTheDevicesAreReopenedAndTheClocksRunOn()
    {
        useSoundFiles();
        Config().UseShotClock = false;
        auto box = f.load();
        QVERIFY(box->mmcBuzzer->isOpen());
        QVERIFY(box->mmcShotClock->isOpen()); // the load opens the horn regardless
        box->chGame->setRunning(true);

        box->ReapplyAfterOptions(); // the dialog leaves the shot clock off
        QCOMPARE(f.log.optionsShown, 1);
        QVERIFY(box->mmcBuzzer->isOpen());
        QVERIFY(!box->mmcShotClock->isOpen());
        QCOMPARE(f.log.shotClockUnloaded, 1);

        Config().UseShotClock = true;
        Config().ShowShotClockScreen = true;
        Config().BuzzerFile = f.programFolder.filePath(QStringLiteral("gone.wav"));
        box->ReapplyAfterOptions();
        QVERIFY(box->mmcShotClock->isOpen());
        QCOMPARE(f.log.shotClockShown, 1);
        QCOMPARE(box->mmcBuzzer->fileName(), Config().BuzzerFile);
        QVERIFY(!box->mmcBuzzer->isOpen());
        f.time.advanceMs(2500);
        QVERIFY(box->chGame->running());
        QCOMPARE(box->chGame->seconds(), ClockSeconds::fromTenths(5975));
    }

    void aTeamNameWiderThanABoxCanBeLeavesTheSmallestBoxFilled()
    {
        // Given the smallest box,
        Config().Height = MinimumBoxHeightTwips;
        auto box = f.load();
        box->show();

        // when the options dialog leaves a home name wider than 16-bit twips can hold,
        Config().HomeText = QStringLiteral("Long ").repeated(300);
        box->ReapplyAfterOptions();

        // then the box stays within that width at its height, its contents filling it.
        const QSize size = box->picScoreBox->size();
        QCOMPARE(size.height(), units::twipsToWholePixels(MinimumBoxHeightTwips));
        QVERIFY(size.width() * units::TwipsPerPixel <= 32767);
        QVERIFY2(std::abs(box->picScoreTime->height() - size.height()) <= 1,
                 qPrintable(QStringLiteral("the score and time block is %1 px high in a %2 px box")
                                .arg(box->picScoreTime->height()).arg(size.height())));
        QCOMPARE(box->picScoreTime->x() + box->picScoreTime->width(), size.width());
    }
};

QTEST_MAIN(TestFrmScoreboard)
#include "tst_frmscoreboard.moc"
