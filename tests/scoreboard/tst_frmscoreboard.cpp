// The score box's life: what it sounds and mirrors on a refresh, and what it
// rebuilds after the options dialog. Its first start and the placement it saves
// are the end-to-end tests' (first_start_shows_ten_minutes, esc_saves_placement).

#include "chronometer.h"
#include "clockdisplay.h"
#include "controls.h"
#include "digitdisplay.h"
#include "modscorebox.h"
#include "sounddevice.h"
#include "scoreboardfixture.h"
#include "testwave.h"
#include "units.h"

#include <QRandomGenerator>
#include <QScreen>
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
        box->chGame->setSeconds(ClockSeconds::fromTicks(305));
        box->AllKeyCode('S');
        // The 50 ms refresh would be late: a refresh is armed for the zero, 30.5 ms
        // away, rounded up, since one at 30 ms would find the clock not yet out.
        QVERIFY(box->expiryRefresh().isActive());
        QCOMPARE(box->expiryRefresh().interval(), 31);
        f.time.advanceMs(31);
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
        QVERIFY(fillsTheBox(*box));
        QCOMPARE(box->picScoreTime->x() + box->picScoreTime->width(), size.width());
    }
    void optionsOpenedDuringAResizeLeaveTheContentsFittingTheBox()
    {
        auto box = f.load();
        box->show();
        drag(box->imgResizeSE, {-120, -30}, false); // the contents wait for the release
        QVERIFY(box->picScoreTime->height() > box->picScoreBox->height() + 10);
        QTest::keyClick(box->picScoreBox, Qt::Key_F2);
        QVERIFY(!box->ResizingScoreBox);
        QVERIFY(fillsTheBox(*box));
        QCOMPARE(Config().Height, box->picScoreBox->height() * units::TwipsPerPixel);
    }

    void aPressAfterALostReleaseEndsTheResize()
    {
        auto box = f.load();
        box->show();
        drag(box->imgResizeSE, {-120, -30}, false);
        sendMouse(box->picScoreBox, QEvent::MouseButtonPress, box->picScoreBox->mapToGlobal(QPointF(3, 3)));
        QVERIFY(!box->ResizingScoreBox);
        QVERIFY(box->MovingScoreBox);
        QVERIFY(fillsTheBox(*box));
    }

    void theLargestBoxKeepsItsProportions()
    {
        auto box = f.load();
        box->show();
        const double ratio = double(box->picScoreBox->width()) / box->picScoreBox->height();
        drag(box->imgResizeSE, {4000, 4000}); // far beyond what 16-bit twips hold
        const QSize size = box->picScoreBox->size();
        QCOMPARE(size.width(), 32767 / units::TwipsPerPixel);
        QVERIFY2(std::abs(double(size.width()) / size.height() - ratio) < 0.02, qPrintable(QString::number(size.height())));
        QVERIFY(fillsTheBox(*box));
    }

    void aBoxDraggedToTheEdgeOfThePlacementRangeStartsThereAgain()
    {
        auto box = f.load();
        box->show();
        drag(box->picScoreBox, {-5000, 0});
        QVERIFY(box->x() * units::TwipsPerPixel < -32768); // whole pixels reach a little past it
        QTest::keyClick(box->picScoreBox, Qt::Key_Escape);
        ConfigRecord loaded;
        LoadConfig(loaded, *tallivoxSettings(), f.programFolder.path());
        QCOMPARE(loaded.StartX, qint16(-32768));
    }
    // A seeded run of keys, clicks, drags and grip gestures: after each, the scores
    // and period are exactly what the keys made them, and the box keeps its
    // proportions, its limits and its contents.
    void randomOperatorActionsKeepTheScoresAndTheBox()
    {
        auto box = f.load();
        box->show();
        QSize before = box->picScoreBox->size();
        QRandomGenerator random(20261207);
        int expected[3] = {0, 0, 1}; // home, visitor, period
        DigitDisplay* const displays[3] = {box->ddHomeScore, box->ddVisitorScore, box->ddPeriod};
        const QList<QWidget*> sources{box->picScoreBox, box->picScoreTime, box->picLogoContainer, box->cdGame,
                                      box->ddHomeScore, box->ddVisitorScore, box->ddPeriod};
        const auto offset = [&] {
            const int reach = random.bounded(10) == 0 ? 4000 : 150;
            return QPointF(random.bounded(-reach, reach), random.bounded(-reach, reach));
        };
        for (int i = 0; i < 400; ++i) {
            const int kind = int(random.bounded(7));
            const int which = int(random.bounded(3));
            QString action = QString::number(kind);
            if (kind == 0) { // a quick key, from any part of the box
                const struct { Qt::Key key; int display; int step; } quick[] = {
                    {Qt::Key_Insert, 0, 1}, {Qt::Key_Home, 0, 2}, {Qt::Key_PageUp, 0, 3}, {Qt::Key_Delete, 1, 1},
                    {Qt::Key_End, 1, 2}, {Qt::Key_PageDown, 1, 3}, {Qt::Key_P, 2, 1}};
                const auto& q = quick[random.bounded(7)];
                QTest::keyClick(sources[random.bounded(sources.size())], q.key);
                const int next = std::max(0, expected[q.display]) + q.step;
                if (next <= (q.display == 2 ? 9 : 199))
                    expected[q.display] = next;
            } else if (kind == 1) { // a typed entry, from the keypad now and then
                const int value = int(random.bounded(which == 2 ? 10 : 230));
                const Qt::KeyboardModifiers pad = random.bounded(2) ? Qt::KeypadModifier : Qt::NoModifier;
                for (const QChar c : QString::number(value))
                    QTest::keyClick(displays[which], Qt::Key(Qt::Key_0 + c.digitValue()), pad);
                if (which < 2)
                    QTest::keyClick(displays[which], Qt::Key_Return);
                if (value <= 199)
                    expected[which] = value;
                action += QStringLiteral(" %1 into %2").arg(value).arg(which);
            } else if (kind == 2) {
                QTest::mouseClick(sources[random.bounded(sources.size())], Qt::LeftButton);
            } else if (kind == 3) {
                drag(sources[random.bounded(sources.size())], offset());
            } else if (kind <= 5) { // a grip gesture, its release lost now and then
                drag(box->imgResizeSE, offset(), random.bounded(5) != 0);
            } else {
                QTest::keyClick(box->picScoreBox, random.bounded(2) ? Qt::Key_F11 : Qt::Key_F12);
            }
            const QSize size = box->picScoreBox->size();
            const QString where = QStringLiteral("action %1 (%2): %3x%4 px from %5x%6 px").arg(i).arg(action)
                                      .arg(size.width()).arg(size.height()).arg(before.width()).arg(before.height());
            for (int d = 0; d < 3; ++d)
                QVERIFY2(displays[d]->caption() == expected[d], qPrintable(where));
            QVERIFY2(size.height() * units::TwipsPerPixel >= MinimumBoxHeightTwips
                         && size.width() * units::TwipsPerPixel <= 32767, qPrintable(where));
            // Both sides scale by one factor, each then rounded to whole pixels.
            QVERIFY2(std::abs(size.width() * before.height() - size.height() * before.width())
                         <= (before.width() + before.height()) / 2, qPrintable(where));
            before = size;
            QVERIFY2(box->ResizingScoreBox || fillsTheBox(*box), qPrintable(where));
            if (Config().ScoreboardView == 0)
                QVERIFY2(box->size() == box->picScoreBox->size() && box->picScoreBox->pos() == QPoint(0, 0), qPrintable(where));
            else
                QVERIFY2(box->geometry() == box->screen()->geometry(), qPrintable(where));
        }
    }
};

QTEST_MAIN(TestFrmScoreboard)
#include "tst_frmscoreboard.moc"
