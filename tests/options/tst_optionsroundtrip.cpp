// The options dialog opened from a real score box, as F2 does: the box keeps
// counting while the dialog is up, and once it closes, by OK or Cancel, the box
// shows what the dialog left in the record and reopens its sounds.

#include "optionsfixture.h"

#include "chronometer.h"
#include "clockdisplay.h"
#include "controls.h"
#include "frmscoreboard.h"
#include "optionswidgets.h"
#include "sounddevice.h"
#include "testwave.h"
#include "timesource.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

class TestOptionsRoundTrip : public QObject
{
    Q_OBJECT

    OptionsFixture f;
    ManualTimeSource time;
    int shotClockShown = 0;
    int shotClockUnloaded = 0;

    std::unique_ptr<frmScoreboard> loadBox()
    {
        frmScoreboard::Links links;
        links.showOptionsDialog = [this] {
            frmOptions dialog(nullptr, f.choosers.seam(), &f.numLock);
            dialog.exec();
        };
        links.showShotClockWindow = [this] { ++shotClockShown; };
        links.unloadShotClockWindow = [this] { ++shotClockUnloaded; };
        auto box = std::make_unique<frmScoreboard>(time, std::move(links));
        box->setNumLock(f.numLock);
        box->Form_Load();
        box->show();
        return box;
    }

private Q_SLOTS:
    void init()
    {
        f.reset();
        shotClockShown = shotClockUnloaded = 0;
    }

    void okShowsTheNewNamesAndColoursOnTheBox()
    {
        auto box = loadBox();
        answerNextModal<frmOptions>([this](frmOptions* d) {
            d->txtHomeText->setText(QStringLiteral("Lakers"));
            f.choosers.colourAnswer = QColor(0, 255, 0);
            d->cmdHomeC->click();
            d->cmdOk->click();
        });
        box->AllKeyCode(113); // F2
        QCOMPARE(box->lblHomeName->text(), QStringLiteral("Lakers"));
        QCOMPARE(box->lblHomeName->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(storedText("TextSettings/HomeText"), QStringLiteral("Lakers"));
    }

    void aReboundKeyWorksInTheBox()
    {
        auto box = loadBox();
        answerNextModal<frmOptions>([](frmOptions* d) {
            d->ChooseKey(d->lblKeyStartStopClock);
            d->KeyChosen('G');
            d->cmdOk->click();
        });
        box->AllKeyCode(113);
        box->AllKeyCode('S');
        QVERIFY(!box->chGame->running());
        box->AllKeyCode('G');
        QVERIFY(box->chGame->running());
    }

    void theClockKeepsCountingWhileTheDialogIsOpen()
    {
        auto box = loadBox();
        box->AllKeyCode('S');
        QVERIFY(box->chGame->running());
        bool refreshedMeanwhile = false;
        answerNextModal<frmOptions>([&](frmOptions* d) {
            time.advanceMs(2000);
            // The box's own refresh timer shows it while the dialog is up.
            refreshedMeanwhile = QTest::qWaitFor([&] { return box->cdGame->shownText() == QStringLiteral("9:58"); });
            d->cmdCancel->click();
        });
        box->AllKeyCode(113);
        QVERIFY(refreshedMeanwhile);
        QVERIFY(box->chGame->running());
    }

    void cancelStillReopensTheSoundsAndSettlesTheShotClockWindow()
    {
        Config().BuzzerFile = f.programFolder.filePath("buzzer.wav");
        Config().ShotClockFile = f.programFolder.filePath("horn.wav");
        QVERIFY(writeTestWave(Config().BuzzerFile));
        QVERIFY(writeTestWave(Config().ShotClockFile));
        auto box = loadBox();
        QVERIFY(box->mmcShotClock->isOpen());
        answerNextModal<frmOptions>([](frmOptions* d) {
            d->chkUseShotClock->click(); // dropped by Cancel
            d->cmdCancel->click();
        });
        box->AllKeyCode(113);
        QVERIFY(box->mmcBuzzer->isOpen());
        QVERIFY(!box->mmcShotClock->isOpen()); // the shot clock is not in use
        QCOMPARE(shotClockUnloaded, 1);
        QCOMPARE(shotClockShown, 0);
    }

    void aClearedBoardPictureLeavesTheBox()
    {
        const QString logo = f.programFolder.filePath("logo.bmp");
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::yellow);
        QVERIFY(image.save(logo));
        Config().BoardPic = logo;
        auto box = loadBox();
        QVERIFY(!box->imgLogo->picture().isNull());
        answerNextModal<frmOptions>([](frmOptions* d) {
            d->cmdClearBoardPic->click();
            d->cmdOk->click();
        });
        box->AllKeyCode(113);
        QVERIFY(box->imgLogo->picture().isNull());
    }

    void resetSizeAndPositionThenOkBringsTheBoxBack()
    {
        Config().StartX = 3000;
        Config().StartY = 1500;
        Config().Height = 2340;
        auto box = loadBox();
        QCOMPARE(box->picScoreBox->height(), 156);
        answerNextModal<frmOptions>([](frmOptions* d) {
            d->cmdResetPosition->click(); // the seam answers Yes
            d->cmdOk->click();
        });
        box->AllKeyCode(113);
        QCOMPARE(box->picScoreBox->height(), 78);
        QCOMPARE(box->pos(), QPoint(0, 0));
    }
};

QTEST_MAIN(TestOptionsRoundTrip)
#include "tst_optionsroundtrip.moc"
