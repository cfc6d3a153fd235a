// The game alone, on a stepped clock and with no screen: expiry and its sounds,
// the shot clock following the game clock, typed entries, quick adds at the
// limits, blank displays, the time of day, undo and redo of every kind of change,
// what is handed out and when, and how often it is worth writing down.

#include "game.h"
#include "savepace.h"
#include "timesource.h"

#include <QSignalSpy>
#include <QTest>

using game::Display;

Q_DECLARE_METATYPE(GameCommand)

namespace {

ClockSeconds s(double seconds) { return ClockSeconds::fromDouble(seconds); }

// Characters typed into a display, as the keyboard sends them ('\r' is Enter).
void type(Game& g, Display d, const char* text)
{
    for (const char* c = text; *c; ++c)
        g.apply(GameCommand::typeKey(d, *c == '\r' ? charcode::Enter : *c));
}

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

    ManualTimeSource time;
    std::unique_ptr<Game> game;
    std::unique_ptr<QSignalSpy> buzzer, horn, changed;

    void fresh(bool shotClock, int shotSeconds = 35)
    {
        GameRules rules = GameRules::withShotClock(shotSeconds);
        rules.useShotClock = shotClock;
        fresh(rules);
    }
    void fresh(const GameRules& rules)
    {
        game = std::make_unique<Game>(time, rules);
        game->stopRefreshing(); // refreshes come from the test alone
        buzzer = std::make_unique<QSignalSpy>(game.get(), &Game::buzzerDue);
        horn = std::make_unique<QSignalSpy>(game.get(), &Game::hornDue);
        changed = std::make_unique<QSignalSpy>(game.get(), &Game::changed);
    }
    void run(int ms)
    {
        time.advanceMs(ms);
        game->refresh();
    }
    QList<int> captions() const
    {
        return {game->caption(Display::HomeScore), game->caption(Display::VisitorScore), game->caption(Display::Period),
                game->shotClockCaption()};
    }

private Q_SLOTS:
    void init() { fresh(true); }

    // While a clock runs, one refresh is armed for the next instant at which what
    // a clock shows changes: 10:00 shows until 599.0 s are left, tenths change
    // every 0.1 s, the shot clock's number every second; zero included.
    void aRefreshIsArmedForTheNextChangeOfWhatIsShown_data()
    {
        QTest::addColumn<double>("gameLeft");
        QTest::addColumn<double>("shotLeft"); // below 0: no shot clock
        QTest::addColumn<int>("ranMs");
        QTest::addColumn<int>("armedMs");
        QTest::newRow("10:00 just started") << 600.0 << -1.0 << 0 << 1000;
        QTest::newRow("10:00 a quarter second later") << 600.0 << -1.0 << 250 << 750;
        QTest::newRow("above a minute, from 61.3") << 61.3 << -1.0 << 0 << 300;
        QTest::newRow("from minutes to tenths at 59.9") << 59.95 << -1.0 << 0 << 50;
        QTest::newRow("tenths, 30.02 after 4 ms") << 30.02 << -1.0 << 4 << 16;
        QTest::newRow("zero 30.5 ms away, rounded up") << 0.0305 << -1.0 << 0 << 31;
        QTest::newRow("the shot clock changes first") << 600.0 << 23.7 << 0 << 700;
        QTest::newRow("both change together") << 600.0 << 23.0 << 100 << 900;
    }
    void aRefreshIsArmedForTheNextChangeOfWhatIsShown()
    {
        QFETCH(double, gameLeft);
        QFETCH(double, shotLeft);
        QFETCH(int, ranMs);
        fresh(shotLeft >= 0);
        game->apply(GameCommand::setGameTime(s(gameLeft)));
        game->restore([&] {
            GameState st = game->state();
            st.shotClock = s(std::max(shotLeft, 0.0));
            return st;
        }());
        game->apply(GameCommand::startStop());
        run(ranMs);
        QVERIFY(game->expiryRefresh().isActive());
        QTEST(game->expiryRefresh().interval(), "armedMs");
        game->apply(GameCommand::startStop()); // stopped clocks need none
        QVERIFY(!game->expiryRefresh().isActive());
    }

    // Stepped a millisecond at a time through the last second, the game clock
    // reads 0.0 only once its time is up, and it is handed out at each tenth.
    void zeroTenthsShowOnlyWhenTimeIsUp()
    {
        fresh(false);
        game->apply(GameCommand::setGameTime(s(1)));
        game->apply(GameCommand::startStop());
        changed->clear();
        for (int ms = 0; ms <= 1000; ++ms, time.advanceMs(1)) {
            game->refresh();
            const bool up = game->gameClock().seconds() <= ClockSeconds();
            QCOMPARE(game->gameClockFace().value == 0.0f, up);
        }
        QVERIFY(!game->gameClock().running());
        QCOMPARE(changed->count(), 10); // 0.9 ... 0.1, then 0.0 stopped
    }

    // Nothing is handed out for refreshes that change nothing shown; the shown
    // second and every command that changes the game are.
    void changesAreHandedOutOnceAndOnlyWhenSomethingChanged()
    {
        game->refresh();
        game->apply(GameCommand::quickAdd(Display::HomeScore, 2));
        QCOMPARE(changed->count(), 1);
        QCOMPARE(changed->last().at(0).value<GameState>().homeScore, 2);
        game->apply(GameCommand::startStop());
        QCOMPARE(changed->count(), 2);
        run(999);
        QCOMPARE(changed->count(), 2); // still 10:00
        run(1);
        QCOMPARE(changed->count(), 3);
        QCOMPARE(changed->last().at(0).value<GameState>().gameClock, ClockSeconds::fromSeconds(599));
        type(*game, Display::HomeScore, "1"); // pending, nothing shown yet
        QCOMPARE(changed->count(), 3);
        QVERIFY(!game->apply(GameCommand::quickAdd(Display::Period, 9))); // beyond 9: refused
        QCOMPARE(changed->count(), 3);
    }

    // A clock that ran out at 0.0 and is started again stands at 0.0 while its
    // shot clock runs out: what is handed out is the game as it stands.
    void aClockStartedAgainAtZeroIsHandedOutAsItStands()
    {
        fresh(true, 3);
        type(*game, Display::GameClock, "1\r");
        game->apply(GameCommand::resetShotClock());
        type(*game, Display::GameClock, "0.01\r");
        const auto wait = [&](int ms) {
            for (int t = 0; t < ms; t += 50)
                run(50);
        };
        game->apply(GameCommand::startStop());
        wait(2000);
        QVERIFY(!changed->last().at(0).value<GameState>().gameClockRunning);
        game->apply(GameCommand::startStop());
        wait(2000);
        const GameState last = changed->last().at(0).value<GameState>();
        QCOMPARE(last, game->state());
        QVERIFY(last.gameClockRunning && !last.shotClockRunning);
        QCOMPARE(last.gameClock, ClockSeconds());
        QCOMPARE(std::pair(int(buzzer->count()), int(horn->count())), std::pair(1, 1));
    }

    void theShotClockFollowsTheGameOnceAFullPeriodNoLongerFits_data()
    {
        QTest::addColumn<int>("gameSeconds");
        QTest::addColumn<bool>("follows");
        QTest::newRow("20 s left follows") << 20 << true;
        QTest::newRow("exactly 35 s left follows") << 35 << true;
        QTest::newRow("36 s left resets to 35") << 36 << false;
    }
    void theShotClockFollowsTheGameOnceAFullPeriodNoLongerFits()
    {
        QFETCH(int, gameSeconds);
        QFETCH(bool, follows);
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(gameSeconds + 10)));
        game->apply(GameCommand::startStop());
        run(10000);
        game->apply(GameCommand::resetShotClock());
        QCOMPARE(game->state().shotClockFollowsGame, follows);
        QCOMPARE(game->shotClockCaption(), follows ? gameSeconds : 35);
        game->apply(GameCommand::resetClock()); // the game's reset gives the shot clock its own time back
        QVERIFY(!game->state().shotClockFollowsGame);
        QCOMPARE(game->shotClockCaption(), 35);
        QVERIFY(!game->shotClock().running());
        // Without a shot clock in use, neither start nor reset touches it.
        fresh(false);
        game->apply(GameCommand::startStop());
        QVERIFY(!game->shotClock().running());
        QVERIFY(!game->apply(GameCommand::resetShotClock()));
    }

    // A cleared shot clock shows nothing and never sounds until it is reset.
    void aClearedShotClockStaysBlankUntilItsReset()
    {
        game->apply(GameCommand::startStop());
        game->apply(GameCommand::typeKey(Display::ShotClock, '5')); // takes no digits
        QCOMPARE(game->shotClockCaption(), 35);
        game->apply(GameCommand::typeKey(Display::ShotClock, charcode::ClearMark));
        run(3000);
        QCOMPARE(game->shotClockCaption(), -1);
        QCOMPARE(horn->count(), 0); // nor does it sound
        QCOMPARE(game->shotClock().seconds(), ClockSeconds());
        game->apply(GameCommand::resetClock());
        QCOMPARE(game->shotClockCaption(), -1); // the game's reset leaves it blank
        game->apply(GameCommand::resetShotClock());
        QCOMPARE(game->shotClockCaption(), 35);
    }

    // Typed entries: a one-digit period takes each digit at once, scores at Enter
    // or a signed step, the clock at Enter, also becoming what the reset puts back;
    // an entry is kept while the other buffer is typed into.
    void typedEntries()
    {
        type(*game, Display::Period, "7");
        type(*game, Display::HomeScore, "1");
        type(*game, Display::GameClock, "12");
        type(*game, Display::HomeScore, "2\r");
        QCOMPARE(captions(), (QList<int>{12, 0, 7, 35}));
        type(*game, Display::VisitorScore, "+3");
        QCOMPARE(game->caption(Display::VisitorScore), 3);
        type(*game, Display::GameClock, "\r");
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(720));
        game->apply(GameCommand::startStop());
        run(3000);
        game->apply(GameCommand::resetClock());
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(720));
        type(*game, Display::GameClock, "100\r"); // beyond 99:59: refused
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(720));
    }

    void quickAddsStopAtTheLimits_data()
    {
        QTest::addColumn<int>("display");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("after");
        QTest::newRow("197 +2") << int(Display::HomeScore) << 197 << 2 << 199;
        QTest::newRow("198 +2 refused") << int(Display::VisitorScore) << 198 << 2 << 198;
        QTest::newRow("blank +3") << int(Display::HomeScore) << -1 << 3 << 3;
        QTest::newRow("period 8 +1") << int(Display::Period) << 8 << 1 << 9;
        QTest::newRow("period 9 +1 refused") << int(Display::Period) << 9 << 1 << 9;
    }
    void quickAddsStopAtTheLimits()
    {
        QFETCH(int, display);
        QFETCH(int, from);
        QFETCH(int, step);
        QFETCH(int, after);
        const Display d = Display(display);
        QVERIFY(game->apply(GameCommand::setValue(d, from)));
        QCOMPARE(game->apply(GameCommand::quickAdd(d, step)), after != from);
        QCOMPARE(game->caption(d), after);
        QCOMPARE(game->caption(d == Display::HomeScore ? Display::VisitorScore : Display::HomeScore), 0);
    }

    void theTimeOfDayStillLetsTheGameExpire()
    {
        fresh(false);
        game->apply(GameCommand::setGameTime(s(1)));
        game->apply(GameCommand::startStop());
        game->apply(GameCommand::switchClock());
        QVERIFY(game->state().showsTimeOfDay);
        QVERIFY(game->expiryRefresh().isActive()); // for the zero only
        QCOMPARE(game->expiryRefresh().interval(), 1000);
        run(1000);
        QVERIFY(!game->gameClock().running());
        QCOMPARE(buzzer->count(), 1);
    }

    // Each kind of change is undone and redone exactly; the clocks keep counting.
    void undoAndRedoEachKindOfChange_data()
    {
        QTest::addColumn<GameCommand>("command");
        QTest::addColumn<QList<int>>("done"); // home, visitor, period, shot caption
        QTest::newRow("quick add") << GameCommand::quickAdd(Display::VisitorScore, 3) << QList<int>{5, 7, 2, 35};
        QTest::newRow("typed score") << GameCommand::typeKey(Display::Period, '8') << QList<int>{5, 4, 8, 35};
        QTest::newRow("cleared score") << GameCommand::clear(Display::HomeScore) << QList<int>{-1, 4, 2, 35};
        QTest::newRow("value set") << GameCommand::setValue(Display::HomeScore, 99) << QList<int>{99, 4, 2, 35};
        QTest::newRow("cleared shot clock") << GameCommand::clear(Display::ShotClock) << QList<int>{5, 4, 2, -1};
    }
    void undoAndRedoEachKindOfChange()
    {
        QFETCH(GameCommand, command);
        QFETCH(QList<int>, done);
        game->apply(GameCommand::setValue(Display::HomeScore, 5));
        game->apply(GameCommand::setValue(Display::VisitorScore, 4));
        game->apply(GameCommand::setValue(Display::Period, 2));
        const QList<int> before = captions();
        game->apply(command);
        QCOMPARE(captions(), done);
        changed->clear();
        QVERIFY(game->apply(GameCommand::undo()));
        QCOMPARE(captions(), before);
        QCOMPARE(changed->count(), 1); // the file and the feed follow an undo at once
        QVERIFY(game->apply(GameCommand::redo()));
        QCOMPARE(captions(), done);
        QVERIFY(!game->apply(GameCommand::redo()));
    }

    // A typed game time and a reset take the clock and its reset value back;
    // starting, stopping and the buzzer are not undone.
    void undoGivesTheClocksBack()
    {
        type(*game, Display::GameClock, "8\r");
        game->apply(GameCommand::startStop());
        run(2000);
        game->apply(GameCommand::startStop());
        game->apply(GameCommand::buzzer());
        game->apply(GameCommand::resetClock());
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(480));
        game->apply(GameCommand::undo());
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(478));
        QVERIFY(!game->gameClock().running());
        game->apply(GameCommand::undo());
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(598)); // 10:00 less the 2 s run
        QCOMPARE(game->state().gameClockResetTime, ClockSeconds::fromSeconds(600));
        QVERIFY(!game->apply(GameCommand::undo()));
    }

    // A shot clock reset while it runs, undone, shows what it would had the reset
    // never happened; redone, what it would had the undo never happened.
    void aShotClockResetWhileRunningIsUndoneLiveAndRedoneLive()
    {
        game->apply(GameCommand::startStop());
        run(10000);
        QCOMPARE(game->shotClock().seconds(), ClockSeconds::fromSeconds(25));
        game->apply(GameCommand::resetShotClock());
        run(4000);
        game->apply(GameCommand::undo());
        QCOMPARE(game->shotClock().seconds(), ClockSeconds::fromSeconds(21));
        QVERIFY(game->shotClock().running());
        run(2000);
        game->apply(GameCommand::redo());
        QCOMPARE(game->shotClock().seconds(), ClockSeconds::fromSeconds(29));
        QCOMPARE(game->gameClock().seconds(), ClockSeconds::fromSeconds(584)); // never touched
    }

    void undoKeepsAHundredStepsAndANewChangeDropsTheRedo()
    {
        for (int i = 0; i < 150; ++i)
            game->apply(GameCommand::quickAdd(i % 2 ? Display::HomeScore : Display::VisitorScore, 1));
        for (int i = 0; i < 150; ++i)
            QVERIFY(game->apply(GameCommand::undo()));
        QCOMPARE(captions(), (QList<int>{0, 0, 1, 35}));
        game->apply(GameCommand::redo());
        game->apply(GameCommand::quickAdd(Display::Period, 1));
        QVERIFY(!game->apply(GameCommand::redo()));
        QCOMPARE(captions(), (QList<int>{0, 1, 2, 35}));
    }

    // An undo while an entry is being typed only drops the entry.
    void undoFirstDropsAnEntryUnderWay()
    {
        game->apply(GameCommand::quickAdd(Display::HomeScore, 2));
        type(*game, Display::HomeScore, "1");
        type(*game, Display::GameClock, "5");
        QVERIFY(game->entryPending());
        game->apply(GameCommand::undo());
        QVERIFY(!game->entryPending());
        QCOMPARE(game->caption(Display::HomeScore), 2);
        type(*game, Display::HomeScore, "\r"); // the dropped digit is gone
        QCOMPARE(game->caption(Display::HomeScore), 2);
        game->apply(GameCommand::undo());
        QCOMPARE(game->caption(Display::HomeScore), 0);
    }

    // A kept game comes back whole, blank shot clock included, with its clocks
    // stopped and nothing to undo.
    void aKeptGameComesBackStopped()
    {
        GameState kept{7, 103, 4, ClockSeconds::fromTicks(1234000), true, ClockSeconds::fromSeconds(300),
                       ClockSeconds(), true, false, true, true};
        game->apply(GameCommand::quickAdd(Display::HomeScore, 1));
        game->restore(kept);
        run(5000);
        kept.gameClockRunning = kept.shotClockRunning = false;
        QCOMPARE(game->state(), kept);
        QCOMPARE(game->shotClockCaption(), -1);
        QVERIFY(!game->apply(GameCommand::undo()));
    }

    // Written at once when the game changed beyond a running clock's counting,
    // otherwise each second while a clock runs.
    void theGameIsWrittenOnEachChangeAndEachSecondWhileAClockRuns()
    {
        SavePace pace;
        GameState g = game->state();
        QVERIFY(pace.due(g, 0));
        QVERIFY(!pace.due(g, 5000000000));
        g.gameClockRunning = true;
        QVERIFY(pace.due(g, 5000000000));
        g.gameClock = ClockSeconds::fromTicks(5990000);
        QVERIFY(!pace.due(g, 5999000000));
        QVERIFY(pace.due(g, 6000000000));
        g.homeScore = 1;
        QVERIFY(pace.due(g, 6000000001));
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
