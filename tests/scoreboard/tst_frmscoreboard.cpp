// The score box: its keys (the dispatcher's order and what it shadows, the clock
// commands, typed entries through the displays, NumLock), what it sounds and
// mirrors on a refresh, what it rebuilds after the options dialog, and moving and
// resizing it with the mouse. Its first start and the placement it saves are the
// end-to-end tests' (first_start_shows_ten_minutes, esc_saves_placement).

#include "arrowdisplay.h"
#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "digitdisplay.h"
#include "frmscoreboard.h"
#include "keycodetoasci.h"
#include "game.h"
#include "boxoutline.h"
#include "namedchild.h"
#include "numlock.h"
#include "sounddevice.h"
#include "tallydisplay.h"
#include "testwave.h"
#include "timesource.h"
#include "units.h"
#include "virtualkeys.h"

#include <QMouseEvent>
#include <QRandomGenerator>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

class FakeNumLock final : public NumLock
{
public:
    bool on = false;
    int changes = 0;
    bool available() const override { return true; }
    bool isOn() const override { return on; }
    void setOn(bool state) override { on = state; ++changes; }
};

struct LinkLog
{
    int helpShown = 0, optionsShown = 0, shotClockShown = 0, shotClockUnloaded = 0, ended = 0;
};


// The score and time block is as high as the box, give or take the pixel that
// scaling the layout rounds away.
bool fillsTheBox(const frmScoreboard& box)
{
    return std::abs(the<PictureBox>(&box, "picScoreTime")->height() - the<PictureBox>(&box, "picScoreBox")->height()) <= 1;
}

// A left-button press, move or release on `w` with the pointer at `global`: the
// pressed element gets every event of its gesture, as under the mouse capture.
void sendMouse(QWidget* w, QEvent::Type type, QPointF global)
{
    const QPointF local = w->mapFromGlobal(global);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

// Presses on `w`, moves the pointer by `by` and, unless the release is lost, lets go.
void drag(QWidget* w, QPointF by, bool release = true)
{
    const QPointF start = w->mapToGlobal(QPointF(3, 3));
    sendMouse(w, QEvent::MouseButtonPress, start);
    sendMouse(w, QEvent::MouseMove, start + by);
    if (release)
        sendMouse(w, QEvent::MouseButtonRelease, start + by);
}

} // namespace

class TestFrmScoreboard : public QObject
{
    Q_OBJECT

private:
    // Every box runs on a stepped clock, with its links counted.
    ManualTimeSource time;
    std::unique_ptr<Game> game;
    FakeNumLock numLock;
    LinkLog log;
    QTemporaryDir programFolder;
    // What the options dialog does to the record while it is open; nothing by default.
    std::function<void()> optionsDialog;

    std::unique_ptr<frmScoreboard> load()
    {
        game = std::make_unique<Game>(time, GameRules::from(Config()));
        game->stopRefreshing();
        auto box = std::make_unique<frmScoreboard>(*game);
        connect(box.get(), &frmScoreboard::helpRequested, this, [this] { ++log.helpShown; });
        connect(box.get(), &frmScoreboard::optionsRequested, this, [this] {
            ++log.optionsShown;
            if (optionsDialog)
                optionsDialog();
        });
        connect(box.get(), &frmScoreboard::shotClockWindowWanted, this,
                [this](bool shown) { ++(shown ? log.shotClockShown : log.shotClockUnloaded); });
        connect(box.get(), &frmScoreboard::endRequested, this, [this] { ++log.ended; });
        box->setNumLock(numLock);
        box->load();
        return box;
    }

    void useSoundFiles()
    {
        Config().BuzzerFile = programFolder.filePath(QStringLiteral("buzzer.wav"));
        Config().ShotClockFile = programFolder.filePath(QStringLiteral("horn.wav"));
        QVERIFY(writeTestWave(Config().BuzzerFile));
        QVERIFY(writeTestWave(Config().ShotClockFile));
    }

private Q_SLOTS:
    // Defaults as on a first start; a test may change the record before loading.
    void init()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
        settings.clear();
        settings.sync();
        LoadConfig(Config(), settings, programFolder.path());
        log = {};
        optionsDialog = nullptr;
    }

    // The box plays the buzzer when the game runs out and at the buzzer key, the
    // horn when the shot clock runs out, and shows the game as it stopped.
    void theBoxSoundsWhatTheGameAsksFor()
    {
        useSoundFiles();
        Config().UseShotClock = true;
        Config().ShotClockResetTime = 2;
        auto box = load();
        QSignalSpy buzzer(the<SoundDevice>(box.get(), "mmcBuzzer"), &SoundDevice::playRequested);
        QSignalSpy horn(the<SoundDevice>(box.get(), "mmcShotClock"), &SoundDevice::playRequested);
        game->apply(GameCommand::setGameTime(ClockSeconds::fromTicks(30500)));
        box->pressKey('S');
        time.advanceMs(2000);
        game->refresh();
        QCOMPARE(std::pair(int(buzzer.count()), int(horn.count())), std::pair(0, 1));
        QCOMPARE(the<DigitDisplay>(box.get(), "ddShotClock")->shownText(), QStringLiteral("0"));
        time.advanceMs(1050);
        game->refresh();
        QCOMPARE(std::pair(int(buzzer.count()), int(horn.count())), std::pair(1, 1));
        QCOMPARE(the<ClockDisplay>(box.get(), "cdGame")->shownText(), QStringLiteral("0.0"));
        box->pressKey('B');
        QCOMPARE(buzzer.count(), 2);
    }

    void afterOptionsTheDevicesAreReopenedAndTheClocksRunOn()
    {
        useSoundFiles();
        Config().UseShotClock = false;
        auto box = load();
        QVERIFY(the<SoundDevice>(box.get(), "mmcBuzzer")->isOpen());
        QVERIFY(the<SoundDevice>(box.get(), "mmcShotClock")->isOpen()); // the load opens the horn regardless
        box->pressKey('S');

        box->runOptionsDialog(); // the dialog leaves the shot clock off
        QCOMPARE(log.optionsShown, 1);
        QVERIFY(the<SoundDevice>(box.get(), "mmcBuzzer")->isOpen());
        QVERIFY(!the<SoundDevice>(box.get(), "mmcShotClock")->isOpen());
        QCOMPARE(log.shotClockUnloaded, 1);

        Config().UseShotClock = true;
        Config().ShowShotClockScreen = true;
        Config().BuzzerFile = programFolder.filePath(QStringLiteral("gone.wav"));
        box->runOptionsDialog();
        QVERIFY(the<SoundDevice>(box.get(), "mmcShotClock")->isOpen());
        QCOMPARE(log.shotClockShown, 1);
        QCOMPARE(the<SoundDevice>(box.get(), "mmcBuzzer")->fileName(), Config().BuzzerFile);
        QVERIFY(!the<SoundDevice>(box.get(), "mmcBuzzer")->isOpen());
        time.advanceMs(2500);
        QVERIFY(game->gameClock().running());
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromTenths(5975));
    }

    void aTeamNameWiderThanABoxCanBeLeavesTheSmallestBoxFilled()
    {
        // Given the smallest box,
        Config().Height = MinimumBoxHeightTwips;
        auto box = load();
        box->show();

        // when the options dialog leaves a home name wider than 16-bit twips can hold,
        Config().HomeText = QStringLiteral("Long ").repeated(300);
        box->runOptionsDialog();

        // then the box stays within that width at its height, its contents filling it.
        const QSize size = the<PictureBox>(box.get(), "picScoreBox")->size();
        QCOMPARE(size.height(), units::twipsToWholePixels(MinimumBoxHeightTwips));
        QVERIFY(size.width() * units::TwipsPerPixel <= 32767);
        QVERIFY(fillsTheBox(*box));
        QCOMPARE(the<PictureBox>(box.get(), "picScoreTime")->x() + the<PictureBox>(box.get(), "picScoreTime")->width(), size.width());
    }

    // Qt guesses rich text from a caption's look; what the operator typed is
    // drawn as typed, so each caption is as wide as its literal text.
    void captionsThatLookLikeMarkupAreDrawnAsTyped()
    {
        Config().HomeText = QStringLiteral("<b>Smith & \"Sons\"</b>");
        Config().VisitorText = QStringLiteral("V");
        Config().PeriodText = QStringLiteral("<i>Qtr</i>");
        auto box = load();
        for (Label* caption : {the<Label>(box.get(), "lblHomeName"), the<Label>(box.get(), "lblPeriod")})
            QCOMPARE(caption->sizeHint().width(), caption->fontMetrics().size(0, caption->text()).width());
        QCOMPARE(the<Label>(box.get(), "lblHomeName")->text(), Config().HomeText);
    }

    // Closing the options with nothing changed leaves the box where and as it was,
    // to the pixel and in everything it draws, however often it happens.
    void optionsClosedWithoutAChangeLeaveTheBoxAsItWas_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<Qt::Key>("view");
        QTest::addColumn<QPointF>("grip"); // how far the grip is dragged first
        for (const Qt::Key view : {Qt::Key_F12, Qt::Key_F11}) {
            for (const int height : {1800, 2475, 3600})
                QTest::addRow("%s, %d px", view == Qt::Key_F12 ? "floating" : "key colour", height / 15)
                    << height << view << QPointF();
        }
        QTest::newRow("floating, grown by the grip") << 1800 << Qt::Key_F12 << QPointF(170, 37);
    }
    void optionsClosedWithoutAChangeLeaveTheBoxAsItWas()
    {
        QFETCH(int, height);
        QFETCH(Qt::Key, view);
        QFETCH(QPointF, grip);
        Config().Height = qint16(height);
        Config().StartX = 0;
        Config().StartY = 1500;
        Config().HomeText = QStringLiteral("Harlem Globetrotters");
        auto box = load();
        box->show();
        QTest::keyClick(the<PictureBox>(box.get(), "picScoreBox"), view);
        if (!grip.isNull()) {
            drag(the<Image>(box.get(), "imgResizeSE"), grip);
            height = the<PictureBox>(box.get(), "picScoreBox")->height() * units::TwipsPerPixel;
        }
        const auto onScreen = [&] { return QRect(the<PictureBox>(box.get(), "picScoreBox")->mapToGlobal(QPoint()), the<PictureBox>(box.get(), "picScoreBox")->size()); };
        const QRect placed = onScreen();
        const ShownBox drawn = box->shownBox();
        QCOMPARE(placed.topLeft(), QPoint(0, 100));
        QCOMPARE(placed.height(), height / units::TwipsPerPixel);
        for (int ok = 1; ok <= 10; ++ok) {
            box->runOptionsDialog();
            QCOMPARE(onScreen(), placed);
            QVERIFY2(box->shownBox() == drawn, qPrintable(QStringLiteral("OK %1").arg(ok)));
        }
    }

    // At every height a team name ends in "…" within its label, or shows whole
    // when it fits, never reaching into the score and time block: names of every
    // length around what the (800-pixel) screen leaves for them, and a short one
    // that always fits.
    void teamNamesFitTheirLabelsAtEveryHeight()
    {
        const QString words = QStringLiteral("Harlem Globetrotters of the Greater New York Area ").repeated(3);
        Config().VisitorText = QStringLiteral("Visitors");
        auto box = load();
        for (int length = 8; length <= words.size(); length += 4) {
            Config().HomeText = words.left(length);
            for (int pixels = 40; pixels <= 200; pixels += 3) {
                optionsDialog = [pixels] { Config().Height = qint16(pixels * units::TwipsPerPixel); };
                box->runOptionsDialog();
                QCOMPARE(the<PictureBox>(box.get(), "picScoreBox")->height(), pixels);
                const QString where = QStringLiteral("%1 px, %2 letters: ").arg(pixels).arg(length);
                for (const Label* name : {the<Label>(box.get(), "lblHomeName"), the<Label>(box.get(), "lblVisitorName")}) {
                    const QString shown = name->shownText();
                    const int drawn = QFontMetrics(name->shownFont()).horizontalAdvance(shown);
                    QVERIFY2(drawn <= name->contentsRect().width(), qPrintable(where + shown));
                    QVERIFY2(shown == name->text() || shown.endsWith(u'…'), qPrintable(where + shown));
                    // A name far wider than its label is not squeezed into it.
                    if (QFontMetrics(name->font()).horizontalAdvance(name->text()) > name->width() * 6 / 5)
                        QVERIFY2(shown.endsWith(u'…'), qPrintable(where + shown));
                    QVERIFY2(name->x() + name->width() <= the<PictureBox>(box.get(), "picScoreTime")->x(), qPrintable(where + name->objectName()));
                }
                QCOMPARE(the<Label>(box.get(), "lblVisitorName")->shownText(), Config().VisitorText);
                if (length == 8) // "Harlem G" fits at every height here: whole, however its label rounds
                    QCOMPARE(the<Label>(box.get(), "lblHomeName")->shownText(), Config().HomeText);
            }
        }
    }

    // The release of a grip drag can be lost (another window takes the mouse); the
    // next gesture ends the resize as the release would have, contents laid out.
    void aResizeWhoseReleaseNeverCameEndsAtTheNextGesture_data()
    {
        QTest::addColumn<bool>("options");
        QTest::newRow("the options dialog opens") << true;
        QTest::newRow("the box is pressed again") << false;
    }
    void aResizeWhoseReleaseNeverCameEndsAtTheNextGesture()
    {
        QFETCH(bool, options);
        auto box = load();
        box->show();
        drag(the<Image>(box.get(), "imgResizeSE"), {-120, -30}, false); // the contents wait for the release
        QVERIFY(the<PictureBox>(box.get(), "picScoreTime")->height() > the<PictureBox>(box.get(), "picScoreBox")->height() + 10);
        if (options)
            QTest::keyClick(the<PictureBox>(box.get(), "picScoreBox"), Qt::Key_F2);
        else
            sendMouse(the<PictureBox>(box.get(), "picScoreBox"), QEvent::MouseButtonPress, the<PictureBox>(box.get(), "picScoreBox")->mapToGlobal(QPointF(3, 3)));
        QVERIFY(!box->isResizing());
        QVERIFY(fillsTheBox(*box));
        QCOMPARE(box->isMoving(), !options);
    }

    void theLargestBoxKeepsItsProportions()
    {
        auto box = load();
        box->show();
        const double ratio = double(the<PictureBox>(box.get(), "picScoreBox")->width()) / the<PictureBox>(box.get(), "picScoreBox")->height();
        drag(the<Image>(box.get(), "imgResizeSE"), {4000, 4000}); // far beyond what 16-bit twips hold
        const QSize size = the<PictureBox>(box.get(), "picScoreBox")->size();
        QCOMPARE(size.width(), 32767 / units::TwipsPerPixel);
        QVERIFY2(std::abs(double(size.width()) / size.height() - ratio) < 0.02, qPrintable(QString::number(size.height())));
        QVERIFY(fillsTheBox(*box));
    }

    void aBoxDraggedToTheEdgeOfThePlacementRangeStartsThereAgain()
    {
        auto box = load();
        box->show();
        drag(the<PictureBox>(box.get(), "picScoreBox"), {-5000, 0});
        QVERIFY(box->x() * units::TwipsPerPixel < -32768); // whole pixels reach a little past it
        QTest::keyClick(the<PictureBox>(box.get(), "picScoreBox"), Qt::Key_Escape);
        ConfigRecord loaded;
        LoadConfig(loaded, *tallivoxSettings(), programFolder.path());
        QCOMPARE(loaded.StartX, qint16(-32768));
    }

    // A seeded run of keys, clicks, drags and grip gestures: after each, the scores
    // and period are exactly what the keys made them, and the box keeps its
    // proportions, its limits and its contents.
    void randomOperatorActionsKeepTheScoresAndTheBox()
    {
        auto box = load();
        box->show();
        QSize before = the<PictureBox>(box.get(), "picScoreBox")->size();
        QRandomGenerator random(20261207);
        int expected[3] = {0, 0, 1}; // home, visitor, period
        DigitDisplay* const displays[3] = {the<DigitDisplay>(box.get(), "ddHomeScore"), the<DigitDisplay>(box.get(), "ddVisitorScore"), the<DigitDisplay>(box.get(), "ddPeriod")};
        const QList<QWidget*> sources{the<PictureBox>(box.get(), "picScoreBox"), the<PictureBox>(box.get(), "picScoreTime"), the<PictureBox>(box.get(), "picLogoContainer"), the<ClockDisplay>(box.get(), "cdGame"),
                                      the<DigitDisplay>(box.get(), "ddHomeScore"), the<DigitDisplay>(box.get(), "ddVisitorScore"), the<DigitDisplay>(box.get(), "ddPeriod")};
        const auto offset = [&] {
            const int reach = random.bounded(10) == 0 ? 4000 : 150;
            return QPointF(random.bounded(-reach, reach), random.bounded(-reach, reach));
        };
        for (int i = 0; i < 400; ++i) {
            const int kind = int(random.bounded(7));
            const int which = int(random.bounded(3));
            if (kind == 0) { // a quick key, from any part of the box
                const struct { Qt::Key key; int display; int step; } quick[] = {
                    {Qt::Key_Insert, 0, 1}, {Qt::Key_Home, 0, 2}, {Qt::Key_PageUp, 0, 3}, {Qt::Key_Delete, 1, 1},
                    {Qt::Key_End, 1, 2}, {Qt::Key_PageDown, 1, 3}, {Qt::Key_P, 2, 1}};
                const auto& q = quick[random.bounded(7)];
                QTest::keyClick(sources[random.bounded(sources.size())], q.key);
                const int next = std::max(0, expected[q.display]) + q.step;
                if (next <= (q.display == 2 ? 9 : 199))
                    expected[q.display] = next;
            } else if (kind == 1) { // a typed entry near the limit, from the keypad now and then
                const int value = (which == 2 ? 8 : 196) + int(random.bounded(which == 2 ? 2 : 8));
                const Qt::KeyboardModifiers pad = random.bounded(2) ? Qt::KeypadModifier : Qt::NoModifier;
                for (const QChar c : QString::number(value))
                    QTest::keyClick(displays[which], Qt::Key(Qt::Key_0 + c.digitValue()), pad);
                if (which < 2)
                    QTest::keyClick(displays[which], Qt::Key_Return);
                if (value <= 199)
                    expected[which] = value;
            } else if (kind == 2) {
                QTest::mouseClick(sources[random.bounded(sources.size())], Qt::LeftButton);
            } else if (kind == 3) {
                drag(sources[random.bounded(sources.size())], offset());
            } else if (kind <= 5) { // a grip gesture, its release lost now and then
                drag(the<Image>(box.get(), "imgResizeSE"), offset(), random.bounded(5) != 0);
            } else {
                QTest::keyClick(the<PictureBox>(box.get(), "picScoreBox"), random.bounded(2) ? Qt::Key_F11 : Qt::Key_F12);
            }
            const QSize size = the<PictureBox>(box.get(), "picScoreBox")->size();
            const QString where = QStringLiteral("action %1 (%2): %3x%4 px from %5x%6 px").arg(i).arg(kind)
                                      .arg(size.width()).arg(size.height()).arg(before.width()).arg(before.height());
            for (int d = 0; d < 3; ++d)
                QVERIFY2(displays[d]->caption() == expected[d], qPrintable(where));
            QVERIFY2(size.height() * units::TwipsPerPixel >= MinimumBoxHeightTwips
                         && size.width() * units::TwipsPerPixel <= 32767, qPrintable(where));
            // Both sides scale by one factor, each then rounded to whole pixels.
            QVERIFY2(std::abs(size.width() * before.height() - size.height() * before.width())
                         <= (before.width() + before.height()) / 2, qPrintable(where));
            before = size;
            QVERIFY2(box->isResizing() || fillsTheBox(*box), qPrintable(where));
            if (Config().ScoreboardView == 0)
                QVERIFY2(box->size() == the<PictureBox>(box.get(), "picScoreBox")->size() && the<PictureBox>(box.get(), "picScoreBox")->pos() == QPoint(0, 0), qPrintable(where));
            else
                QVERIFY2(box->geometry() == box->screen()->geometry(), qPrintable(where));
        }
    }

    void commandsDriveBothClocksOnceFromAnyElement()
    {
        Config().UseShotClock = true;
        auto box = load();
        box->show();
        QTest::keyClick(the<PictureBox>(box.get(), "picScoreBox"), Qt::Key_S, Qt::ShiftModifier); // acts like S
        QVERIFY(game->gameClock().running());
        QVERIFY(game->shotClock().running());
        time.advanceMs(1000);
        QTest::keyClick(the<DigitDisplay>(box.get(), "ddHomeScore"), Qt::Key_S); // dispatched once, not also by the window
        QVERIFY(!game->gameClock().running());
        QVERIFY(!game->shotClock().running());
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(599));
        box->pressKey(vk::F1);
        box->pressKey(vk::F2);
        QCOMPARE(std::pair(log.helpShown, log.optionsShown), std::pair(1, 1));
    }

    void anEarlierBindingShadowsALaterOne()
    {
        Config().StartStopClockKey = vk::Escape;
        Config().QScoreH1 = vk::F11;
        auto box = load();
        box->pressKey(vk::F11);
        QCOMPARE(the<DigitDisplay>(box.get(), "ddHomeScore")->caption(), 0); // the view key, not the quick key
        QCOMPARE(Config().ScoreboardView, 1);
        box->pressKey(vk::Escape); // ends the program rather than starting the clock
        QCOMPARE(log.ended, 1);
        QVERIFY(!game->gameClock().running());

        init();
        Config().ResetClockKey = Config().StartStopClockKey;
        Config().ShotClockResetTime = 3;
        box = load();
        box->pressKey('S');
        time.advanceMs(1000);
        box->pressKey('S');
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(599)); // stopped, never reset
        // Without the shot clock in use, neither StartStop nor its reset touches it.
        box->pressKey('T');
        QCOMPARE(game->shotClock().seconds(), ClockSeconds::fromSeconds(3));
    }

    // Ctrl+Z undoes and Ctrl+Shift+Z or Ctrl+Y redo from any element, before a
    // binding of the same letter.
    void undoAndRedoKeysComeBeforeTheBindings()
    {
        Config().QScoreH1 = 'Z';
        Config().QScoreV1 = 'Y';
        Config().ResetShotClockShortKey = 'Q'; // Y by default, and earlier in the dispatcher
        auto box = load();
        box->show();
        const auto scores = [&] {
            return std::pair(int(the<DigitDisplay>(box.get(), "ddHomeScore")->caption()),
                             int(the<DigitDisplay>(box.get(), "ddVisitorScore")->caption()));
        };
        QTest::keyClick(the<PictureBox>(box.get(), "picScoreBox"), Qt::Key_Z);
        QTest::keyClick(the<DigitDisplay>(box.get(), "ddVisitorScore"), Qt::Key_Y);
        QCOMPARE(scores(), std::pair(1, 1));
        QTest::keyClick(the<DigitDisplay>(box.get(), "ddHomeScore"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(scores(), std::pair(1, 0));
        QTest::keyClick(the<ClockDisplay>(box.get(), "cdGame"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(scores(), std::pair(1, 1));
        box->pressKey('Z', Qt::ControlModifier);
        box->pressKey('Z', Qt::ControlModifier);
        QCOMPARE(scores(), std::pair(0, 0));
        QTest::keyClick(the<DigitDisplay>(box.get(), "ddShotClock"), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(scores(), std::pair(1, 0));
    }

    void typedEntriesThroughTheDisplays()
    {
        Config().StartStopClockKey = '5';
        auto box = load();
        box->show();
        QTest::keyClick(the<DigitDisplay>(box.get(), "ddPeriod"), Qt::Key_5); // a command key that is a digit does both
        QVERIFY(game->gameClock().running());
        QCOMPARE(the<DigitDisplay>(box.get(), "ddPeriod")->caption(), 5);
        box->pressKey('5'); // stopped again
        QTest::keyClick(the<DigitDisplay>(box.get(), "ddHomeScore"), Qt::Key_Backspace);
        QCOMPARE(the<DigitDisplay>(box.get(), "ddHomeScore")->caption(), -1);

        QTest::keyClicks(the<ClockDisplay>(box.get(), "cdGame"), QStringLiteral("12\r"));
        QCOMPARE(the<ClockDisplay>(box.get(), "cdGame")->shownText(), QStringLiteral("12:00"));
        box->pressKey('5');
        time.advanceMs(3000);
        box->pressKey('R');
        QCOMPARE(the<ClockDisplay>(box.get(), "cdGame")->shownText(), QStringLiteral("12:00")); // the new reset time
    }

    // With "ShowTeamFouls" the band shows the game's fouls, bonus, timeouts and
    // possession, and its fouls and timeouts take typed values as the scores do.
    void theTeamFoulsBandShowsTheGameAndTakesTypedValues()
    {
        Config().ShowTeamFouls = true;
        Config().BonusFouls = 5;
        Config().DoubleBonusFouls = 10;
        Config().TimeoutsFirstHalf = 2;
        Config().TimeoutsSecondHalf = 3;
        Config().LEDSelectedWidth = 2;
        auto box = load();
        box->show();
        // The marker frames a display 2 pixels all round, as the scores.
        const auto framed = [&box](const QWidget* d) {
            const Shape* marker = the<Shape>(box.get(), "shpObjectSelected");
            QCOMPARE(marker->parentWidget(), d->parentWidget());
            QCOMPARE(marker->geometry(), d->geometry().adjusted(-2, -2, 3, 3));
        };
        const auto lit = [](const TallyDisplay* t) {
            QString lamps;
            for (const LedDisplay::PlacedCell& c : t->placedCells())
                lamps += c.litBits ? QLatin1Char('o') : QLatin1Char('.');
            return lamps;
        };
        for (const char key : {'F', 'F', 'F', 'F', 'F', 'D', 'A'})
            box->pressKey(key);
        QCOMPARE(the<DigitDisplay>(box.get(), "ddHomeFouls")->shownText(), QStringLiteral("5"));
        QCOMPARE(the<Label>(box.get(), "lblVisitorBonus")->text(), QStringLiteral("BONUS"));
        QCOMPARE(the<Label>(box.get(), "lblHomeBonus")->text(), QString());
        QCOMPARE(lit(the<TallyDisplay>(box.get(), "tdHomeTimeouts")), QStringLiteral("o.."));
        QCOMPARE(lit(the<TallyDisplay>(box.get(), "tdVisitorTimeouts")), QStringLiteral("oo."));
        QCOMPARE(the<ArrowDisplay>(box.get(), "adPossession")->placedCells().at(0).litBits, led::ArrowUp);
        box->pressKey('A');
        QCOMPARE(the<ArrowDisplay>(box.get(), "adPossession")->placedCells().at(0).litBits, led::ArrowDown);

        auto* visitorFouls = the<DigitDisplay>(box.get(), "ddVisitorFouls");
        QTest::mouseClick(visitorFouls, Qt::LeftButton);
        framed(visitorFouls);
        QTest::keyClicks(visitorFouls, QStringLiteral("12\r"));
        QCOMPARE(game->state().visitorFouls, 12);
        QCOMPARE(the<Label>(box.get(), "lblHomeBonus")->text(), QStringLiteral("2×BONUS"));
        // The timeouts sit under the names: the marker goes there to frame them.
        auto* homeTimeouts = the<TallyDisplay>(box.get(), "tdHomeTimeouts");
        QTest::mouseClick(homeTimeouts, Qt::LeftButton);
        framed(homeTimeouts);
        QTest::keyClick(homeTimeouts, Qt::Key_Backspace);
        QCOMPARE(game->state().homeTimeouts, -1);
        QCOMPARE(lit(homeTimeouts), QStringLiteral("..."));
    }

    // Turned on in the options, the band grows the box so that the rows keep their
    // size; turned off again, the box is as it was to the pixel.
    void theTeamFoulsBandComesAndGoesWithTheOptions()
    {
        Config().Height = 1170;
        auto box = load();
        box->show();
        const QImage before = box->grab().toImage();
        auto* scoreBox = the<PictureBox>(box.get(), "picScoreBox");
        const int scoreHeight = the<DigitDisplay>(box.get(), "ddHomeScore")->height();
        optionsDialog = [] { Config().ShowTeamFouls = true; };
        box->runOptionsDialog();
        QCOMPARE(scoreBox->height(), 118);
        QCOMPARE(the<DigitDisplay>(box.get(), "ddHomeScore")->height(), scoreHeight);
        QVERIFY(the<DigitDisplay>(box.get(), "ddVisitorFouls")->isVisible());
        QVERIFY(fillsTheBox(*box));
        optionsDialog = [] { Config().ShowTeamFouls = false; };
        box->runOptionsDialog();
        QCOMPARE(scoreBox->height(), 78);
        QVERIFY(!the<DigitDisplay>(box.get(), "ddVisitorFouls")->isVisible());
        QCOMPARE(box->grab().toImage(), before);
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
        auto box = load();
        QTime localTime = now;
        box->setLocalTime([&localTime] { return localTime; }, twelveHour);
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(1)));
        box->pressKey('S');
        box->pressKey('C');
        time.advanceMs(1000);
        game->refresh();
        const ClockDisplay* clock = the<ClockDisplay>(box.get(), "cdGame");
        QCOMPARE(clock->shownText(), shown);
        QVERIFY(!game->gameClock().running());
        // With the game stopped, the box's own refresh keeps the time of day current.
        localTime = QTime(9, 41);
        QTRY_COMPARE(clock->shownText(), QStringLiteral("9:41"));
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
        auto box = load();
        box->show();
        QTest::mouseClick(the<DigitDisplay>(box.get(), "ddPeriod"), Qt::LeftButton);
        const auto framed = [&] {
            const QRect d = the<DigitDisplay>(box.get(), "ddPeriod")->geometry();
            QVERIFY(the<Shape>(box.get(), "shpObjectSelected")->isVisible());
            QCOMPARE(the<Shape>(box.get(), "shpObjectSelected")->geometry(),
                     QRect(d.left() - margin, d.top() - margin, d.width() + growth, d.height() + growth));
        };
        framed();
        // Laid out again at another height, it frames the same display, as wide as before.
        optionsDialog = [] { Config().Height = 2340; };
        box->runOptionsDialog();
        QCOMPARE(the<PictureBox>(box.get(), "picScoreBox")->height(), 156);
        framed();
    }

    void numLockPolicyIsAppliedAtLoadAndOnRelease_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<bool>("startsOn");
        QTest::addColumn<bool>("endsOn");
        QTest::addColumn<bool>("kept"); // put back after the operator toggles it
        QTest::newRow("keep on") << 1 << false << true << true;
        QTest::newRow("keep off") << 2 << true << false << true;
        QTest::newRow("keep off, already off") << 2 << false << false << true;
        QTest::newRow("normal leaves it on") << 0 << true << true << false;
        QTest::newRow("unknown value acts as normal") << 7 << false << false << false;
    }
    void numLockPolicyIsAppliedAtLoadAndOnRelease()
    {
        QFETCH(int, policy);
        QFETCH(bool, startsOn);
        QFETCH(bool, endsOn);
        QFETCH(bool, kept);
        Config().NumLockForce = policy;
        numLock.on = startsOn;
        numLock.changes = 0;
        auto box = load();
        box->show();
        QCOMPARE(numLock.on, endsOn);
        QCOMPARE(numLock.changes, startsOn == endsOn ? 0 : 1); // set only when it differs
        // The operator toggles it; a release on the shot clock display is not
        // looked at, one on a score display puts the policy back.
        numLock.on = !endsOn;
        QTest::keyRelease(the<DigitDisplay>(box.get(), "ddShotClock"), Qt::Key_NumLock);
        QCOMPARE(numLock.on, !endsOn);
        QTest::keyRelease(the<DigitDisplay>(box.get(), "ddHomeScore"), Qt::Key_NumLock);
        QCOMPARE(numLock.on, kept ? endsOn : !endsOn);
    }

    // The keys typed entries take, as characters; the clear key, unless it is Space or Enter.
    void keyCodesToCharacters_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("clearKey");
        QTest::addColumn<int>("expected");
        for (int digit = 0; digit <= 9; ++digit)
            QTest::addRow("keypad %d", digit) << 96 + digit << 8 << '0' + digit;
        QTest::newRow("keypad point") << 110 << 8 << 46;
        QTest::newRow("a letter enters nothing") << 65 << 8 << -1;
        QTest::newRow("equals key is plus") << 187 << 8 << 43;
        QTest::newRow("clear key") << 8 << 8 << 0;
        QTest::newRow("clear key bound to Space still spaces") << 32 << 32 << 32;
        QTest::newRow("clear key bound to Enter still enters") << 13 << 13 << 13;
        QTest::newRow("clear key bound to a digit clears") << 53 << 53 << 0;
    }
    void keyCodesToCharacters()
    {
        QFETCH(int, keyCode);
        QFETCH(int, clearKey);
        QFETCH(int, expected);
        QCOMPARE(KeyCodeToAsci(keyCode, clearKey), expected);
    }
};

QTEST_MAIN(TestFrmScoreboard)
#include "tst_frmscoreboard.moc"
