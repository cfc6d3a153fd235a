// The score box's life: what its load leaves on the screen and in the devices,
// what it saves when it goes, and what it rebuilds after the options dialog.

#include "chronometer.h"
#include "controls.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "configstore.h"
#include "digitdisplay.h"
#include "frmscoreboard.h"
#include "gameclockstate.h"
#include "sounddevice.h"
#include "scoreboardfixture.h"
#include "testwave.h"

#include <QFile>
#include <QSignalSpy>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>


class TestFrmScoreboard : public QObject
{
    Q_OBJECT

private:
    ScoreboardFixture f;

    std::unique_ptr<frmScoreboard> makeLoadedBox() { return f.load(); }

private Q_SLOTS:
    void init() { f.resetConfig(); }

    void firstStartShowsTenMinutesWithBothClocksStopped()
    {
        auto box = makeLoadedBox();
        QVERIFY(box->FormLoaded);
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("10:00"));
        QVERIFY(!box->chGame->running());
        QVERIFY(!box->chShotClock->running());
        QCOMPARE(box->chGame->seconds(), ClockSeconds::fromSeconds(600));
        QCOMPARE(box->chShotClock->seconds(), ClockSeconds::fromSeconds(35));
        QCOMPARE(GameClockResetTime(), ClockSeconds::fromSeconds(600));
        QCOMPARE(box->ddPeriod->caption(), 1);
        QVERIFY(!box->mmcBuzzer->isOpen());
        QVERIFY(!box->mmcShotClock->isOpen());
        QVERIFY(box->mmcBuzzer->fileName().isEmpty());
        QVERIFY(box->tmrClock1.isActive());
        QCOMPARE(box->tmrClock1.interval(), 50);
    }

    void loadOpensTheHornEvenWithoutTheShotClock()
    {
        Config().BuzzerFile = f.programFolder.filePath(QStringLiteral("buzzer.wav"));
        Config().ShotClockFile = f.programFolder.filePath(QStringLiteral("horn.wav"));
        QVERIFY(writeTestWave(Config().BuzzerFile));
        QVERIFY(writeTestWave(Config().ShotClockFile));
        Config().UseShotClock = false;
        auto box = makeLoadedBox();
        QVERIFY(box->mmcBuzzer->isOpen());
        QVERIFY(box->mmcShotClock->isOpen());
    }

    void floatingBoxSitsAtTheSavedPlacement()
    {
        Config().StartX = 1500;
        Config().StartY = 900;
        auto box = makeLoadedBox();
        QCOMPARE(box->pos(), QPoint(100, 60));
        // The height is the saved one; the width follows the team names.
        QCOMPARE(box->height(), 78);
        QCOMPARE(box->size(), box->picScoreBox->size());
        QCOMPARE(box->picScoreBox->pos(), QPoint(0, 0));
        QVERIFY(!box->mask().isEmpty());
    }

    void refreshShowsTheRunningClock()
    {
        auto box = makeLoadedBox();
        box->chGame->setRunning(true);
        f.time.advanceMs(1000);
        box->RefreshTime();
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("9:59"));
    }

    void endProgramSavesThePlacementAndEndsTheProcess()
    {
        Config().StartX = 1500;
        Config().StartY = 900;
        auto box = makeLoadedBox();
        box->show();
        box->EndProgram();
        QCOMPARE(f.log.shotClockUnloaded, 1);
        QCOMPARE(f.log.ended, 1);
        QVERIFY(!box->isVisible());
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
        QCOMPARE(settings.value(QStringLiteral("Views/StartX")).toString(), QStringLiteral("1500"));
        QCOMPARE(settings.value(QStringLiteral("Views/StartY")).toString(), QStringLiteral("900"));
        QCOMPARE(settings.value(QStringLiteral("Views/Height")).toString(), QStringLiteral("1170"));
    }

    void escReachesTheDispatcherFromADisplay()
    {
        auto box = makeLoadedBox();
        box->show();
        QTest::keyClick(box->ddHomeScore, Qt::Key_Escape);
        QCOMPARE(f.log.ended, 1);
    }

    void afterOptionsTheDevicesAreClosedAndReopened()
    {
        Config().BuzzerFile = f.programFolder.filePath(QStringLiteral("buzzer.wav"));
        Config().ShotClockFile = f.programFolder.filePath(QStringLiteral("horn.wav"));
        QVERIFY(writeTestWave(Config().BuzzerFile));
        QVERIFY(writeTestWave(Config().ShotClockFile));
        auto box = makeLoadedBox();
        QVERIFY(box->mmcShotClock->isOpen());

        // Without the shot clock the horn stays closed after the dialog.
        Config().UseShotClock = false;
        box->ReapplyAfterOptions();
        QCOMPARE(f.log.optionsShown, 1);
        QVERIFY(box->mmcBuzzer->isOpen());
        QVERIFY(!box->mmcShotClock->isOpen());
        QCOMPARE(f.log.shotClockUnloaded, 1);

        Config().UseShotClock = true;
        Config().ShowShotClockScreen = true;
        box->ReapplyAfterOptions();
        QVERIFY(box->mmcShotClock->isOpen());
        QCOMPARE(f.log.shotClockShown, 1);
    }

    void gameExpirySoundsTheBuzzerOnceAndStopsBothClocks()
    {
        Config().BuzzerFile = f.programFolder.filePath(QStringLiteral("buzzer.wav"));
        Config().ShotClockFile = f.programFolder.filePath(QStringLiteral("horn.wav"));
        QVERIFY(writeTestWave(Config().BuzzerFile));
        QVERIFY(writeTestWave(Config().ShotClockFile));
        Config().UseShotClock = true;
        auto box = makeLoadedBox();
        QSignalSpy buzzer(box->mmcBuzzer, &SoundDevice::playRequested);
        QSignalSpy horn(box->mmcShotClock, &SoundDevice::playRequested);
        box->chGame->setSeconds(ClockSeconds::fromSeconds(1));
        box->AllKeyCode('S');
        f.time.advanceMs(1000);
        box->RefreshTime();
        box->RefreshTime();
        QCOMPARE(buzzer.count(), 1);
        QCOMPARE(horn.count(), 0);
        QVERIFY(!box->chGame->running());
        QVERIFY(!box->chShotClock->running());
        QCOMPARE(box->cdGame->shownText(), QStringLiteral("0.0"));
        // The buzzer key sounds it again from the start.
        box->AllKeyCode('B');
        QCOMPARE(buzzer.count(), 2);
    }

    void aClockAboutToRunOutArmsARefreshForItsZero()
    {
        auto box = makeLoadedBox();
        box->chGame->setSeconds(ClockSeconds::fromTicks(300)); // 30 ms
        box->AllKeyCode('S');
        QVERIFY(box->expiryRefresh().isActive());
        QCOMPARE(box->expiryRefresh().interval(), 30);
        box->AllKeyCode('S');
        box->RefreshTime();
        QVERIFY(!box->expiryRefresh().isActive()); // a stopped clock needs none
    }

    void afterOptionsAMissingSoundIsHandedOverAndStaysSilent()
    {
        auto box = makeLoadedBox();
        Config().BuzzerFile = f.programFolder.filePath(QStringLiteral("gone.wav"));
        box->ReapplyAfterOptions();
        QCOMPARE(box->mmcBuzzer->fileName(), Config().BuzzerFile);
        QVERIFY(!box->mmcBuzzer->isOpen());
    }

    void runningClocksKeepCountingWhileTheDialogIsOpen()
    {
        auto box = makeLoadedBox();
        box->chGame->setRunning(true);
        box->ReapplyAfterOptions();
        f.time.advanceMs(2500);
        QVERIFY(box->chGame->running());
        QCOMPARE(box->chGame->seconds(), ClockSeconds::fromTenths(5975));
    }
};

QTEST_MAIN(TestFrmScoreboard)
#include "tst_frmscoreboard.moc"
