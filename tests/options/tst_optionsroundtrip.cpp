// The options dialog opened from a real score box, as F2 does: the box keeps
// counting while the dialog is up, and once it closes by OK the box shows what
// the dialog left in the record.

#include "optionsfixture.h"

#include "chronometer.h"
#include "clockdisplay.h"
#include "controls.h"
#include "frmscoreboard.h"
#include "optionswidgets.h"
#include "timesource.h"

#include <QLineEdit>
#include <QPushButton>

class TestOptionsRoundTrip : public QObject
{
    Q_OBJECT

    OptionsFixture f;
    ManualTimeSource time;

    std::unique_ptr<frmScoreboard> loadBox()
    {
        frmScoreboard::Links links;
        links.showOptionsDialog = [this] {
            frmOptions dialog(nullptr, f.choosers.seam(), &f.numLock);
            dialog.exec();
        };
        links.showShotClockWindow = [] {};
        links.unloadShotClockWindow = [] {};
        auto box = std::make_unique<frmScoreboard>(time, std::move(links));
        box->setNumLock(f.numLock);
        box->Form_Load();
        box->show();
        return box;
    }

private Q_SLOTS:
    void init() { f.reset(); }

    void okShowsTheNewNameTheReboundKeyAndTheClearedPicture()
    {
        const QString logo = f.programFolder.filePath("logo.bmp");
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::yellow);
        QVERIFY(image.save(logo));
        Config().BoardPic = logo;
        auto box = loadBox();
        QVERIFY(!box->imgLogo->picture().isNull());
        answerNextModal<frmOptions>([](frmOptions* d) {
            d->txtHomeText->setText(QStringLiteral("Lakers"));
            d->ChooseKey(d->lblKeyStartStopClock);
            d->KeyChosen('G');
            d->cmdClearBoardPic->click();
            d->cmdOk->click();
        });
        box->AllKeyCode(113); // F2
        QCOMPARE(box->lblHomeName->text(), QStringLiteral("Lakers"));
        QVERIFY(box->imgLogo->picture().isNull());
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
};

QTEST_MAIN(TestOptionsRoundTrip)
#include "tst_optionsroundtrip.moc"
