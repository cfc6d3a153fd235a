// The shot clock window: it draws the game's shot clock, its keys reach the
// score box with their modifiers, its number grows with the window in
// proportion, and it takes the score box's colours.

#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "frmshotclock.h"
#include "game.h"
#include "qcolour.h"
#include "timesource.h"

#include <QTest>

class TestFrmShotClock : public QObject
{
    Q_OBJECT

    ManualTimeSource time;
    Game game{time, GameRules::withShotClock(24)};

    DigitDisplay* number(const frmShotClock& window) { return window.findChild<DigitDisplay*>("ddShotClock"); }

private Q_SLOTS:
    void keysGoToTheScoreBoxOnce()
    {
        QList<std::pair<int, int>> keys;
        frmShotClock window(game, [&keys](int code, Qt::KeyboardModifiers m) { keys << std::pair(code, int(m)); });
        window.load();
        window.show();
        QTest::keyClick(number(window), Qt::Key_S);
        QTest::keyClick(window.findChild<QWidget*>("picShotClock"), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window.findChild<QWidget*>("picShotClock"), Qt::Key_7, Qt::KeypadModifier);
        // Ctrl itself is a key too.
        QCOMPARE(keys, (QList<std::pair<int, int>>{{83, 0}, {17, int(Qt::ControlModifier)}, {90, int(Qt::ControlModifier)},
                                                   {103, int(Qt::KeypadModifier)}}));
    }

    // The game's number, as it changes; a blank shot clock leaves the last one.
    void drawsTheGamesShotClock()
    {
        frmShotClock window(game, {});
        QCOMPARE(number(window)->caption(), 24);
        game.apply(GameCommand::startStop());
        time.advanceMs(3000);
        game.refresh();
        QCOMPARE(number(window)->caption(), 21);
        game.apply(GameCommand::clear(game::Display::ShotClock));
        QCOMPARE(number(window)->caption(), 21);
        game.apply(GameCommand::undo());
        QCOMPARE(number(window)->caption(), 21);
        game.apply(GameCommand::startStop());
    }

    void theNumberGrowsWithTheWindowInProportion()
    {
        frmShotClock window(game, {});
        window.load();
        window.show();
        const QSize before = number(window)->size();
        window.resize(window.size() * 2);
        const QSize after = number(window)->size();
        QVERIFY2(std::abs(after.width() - 2 * before.width()) <= 1 && std::abs(after.height() - 2 * before.height()) <= 1,
                 qPrintable(QStringLiteral("%1x%2 -> %3x%4").arg(before.width()).arg(before.height()).arg(after.width()).arg(after.height())));
    }

    void takesTheScoreBoxColours()
    {
        Config().FormBack = 0x102030;
        Config().LEDBack = 0x010101;
        Config().TimeColor = 0x00ff00;
        Config().LEDType = LedDisplay::Dots;
        frmShotClock window(game, {});
        window.applyColours();
        QCOMPARE(number(window)->ledType(), int(LedDisplay::Dots));
        QCOMPARE(number(window)->litColor(), Colour(0x00ff00));
        QCOMPARE(number(window)->backColor(), Colour(0x010101));
        QCOMPARE(window.palette().color(QPalette::Window), toQColor(0x102030));
    }
};

QTEST_MAIN(TestFrmShotClock)
#include "tst_frmshotclock.moc"
