// The game by its rules: team fouls and the bonus through a period change and
// into overtime, timeouts through the half and overtime, the last two minutes,
// possession, the short reset, shot clock tenths and the shot clock switching off.

#include "game.h"
#include "timesource.h"

#include <QTest>

using game::Display;

namespace {

GameRules named(const QString& name)
{
    return name == QLatin1String("Custom") ? GameRules() : *rules::namedRuleSet(name);
}

// The bonus of the team whose opponent fouls: '.' none, 'b' bonus, 'd' double.
char bonusMark(game::Bonus b)
{
    return b == game::Bonus::DoubleBonus ? 'd' : b == game::Bonus::Bonus ? 'b' : '.';
}

} // namespace

class TestGameRules : public QObject
{
    Q_OBJECT

    ManualTimeSource time;

    std::unique_ptr<Game> fresh(const GameRules& rules)
    {
        auto game = std::make_unique<Game>(time, rules);
        game->stopRefreshing();
        return game;
    }

    // Home fouls one at a time; the visitor's bonus after each.
    static QByteArray foul(Game& game, int times)
    {
        QByteArray marks;
        for (int i = 0; i < times; ++i) {
            game.apply(GameCommand::quickAdd(Display::HomeFouls, 1));
            marks += bonusMark(game.state().visitorBonus);
        }
        return marks;
    }

    static void toPeriod(Game& game, int period)
    {
        while (game.state().period < period)
            game.apply(GameCommand::quickAdd(Display::Period, 1));
    }

private Q_SLOTS:
    void teamFoulsAndTheBonus_data()
    {
        QTest::addColumn<QString>("ruleSet");
        QTest::addColumn<bool>("perHalf");
        QTest::addColumn<int>("foulsAfterTheFirstPeriod"); // 3 fouls in the first period, then the next
        QTest::addColumn<QByteArray>("lastPeriod");         // fouls 1 to 12 in the last regular period
        QTest::addColumn<int>("foulsInOvertime");           // on entering the first overtime
        QTest::addColumn<QByteArray>("overtime");           // 4 more fouls there
        QTest::newRow("Custom") << "Custom" << false << 0 << QByteArray("....bbbbbbbb") << 12 << QByteArray("bbbb");
        QTest::newRow("Custom by halves") << "Custom" << true << 3 << QByteArray("....bbbbbbbb") << 12 << QByteArray("bbbb");
        QTest::newRow("FIBA") << "FIBA" << false << 0 << QByteArray("....bbbbbbbb") << 12 << QByteArray("bbbb");
        QTest::newRow("NBA") << "NBA" << false << 0 << QByteArray("....bbbbbbbb") << 0 << QByteArray("...b");
        QTest::newRow("NCAA men") << "NCAAM" << false << 0 << QByteArray("......bbbddd") << 12 << QByteArray("dddd");
        QTest::newRow("NCAA women") << "NCAAW" << false << 0 << QByteArray("....bbbbbbbb") << 12 << QByteArray("bbbb");
        QTest::newRow("NFHS") << "NFHS" << false << 0 << QByteArray("....bbbbbbbb") << 12 << QByteArray("bbbb");
    }

    void teamFoulsAndTheBonus()
    {
        QFETCH(QString, ruleSet);
        QFETCH(bool, perHalf);
        GameRules rules = named(ruleSet);
        rules.foulsPerHalf = rules.foulsPerHalf || perHalf;
        auto game = fresh(rules);
        foul(*game, 3);
        toPeriod(*game, 2);
        QTEST(game->state().homeFouls, "foulsAfterTheFirstPeriod");

        toPeriod(*game, rules.periods);
        game->apply(GameCommand::setValue(Display::HomeFouls, 0));
        QTEST(foul(*game, 12), "lastPeriod");
        QCOMPARE(game->state().homeBonus, game::Bonus::None); // the visitor has not fouled

        toPeriod(*game, rules.periods + 1);
        QTEST(game->state().homeFouls, "foulsInOvertime");
        QTEST(foul(*game, 4), "overtime");
    }

    // The second foul in a period's last two minutes gives the bonus on its own.
    void theLastTwoMinutes()
    {
        auto game = fresh(named("NBA"));
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(121)));
        QCOMPARE(foul(*game, 1), QByteArray("."));
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(120)));
        QCOMPARE(foul(*game, 2), QByteArray(".b"));
        // Taking the foul back takes the bonus with it.
        game->apply(GameCommand::undo());
        QCOMPARE(game->state().visitorBonus, game::Bonus::None);
        QCOMPARE(game->state().homeFouls, 2);
        // A new period has last two minutes of its own.
        foul(*game, 1);
        toPeriod(*game, 2);
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(100)));
        QCOMPARE(foul(*game, 1), QByteArray("."));
    }

    void timeoutsThroughTheHalfAndOvertime_data()
    {
        QTest::addColumn<QString>("ruleSet");
        QTest::addColumn<QList<int>>("leftAtEachStart"); // periods 1 to 6, one taken in each
        QTest::newRow("FIBA") << "FIBA" << QList<int>{2, 1, 3, 2, 1, 1};
        QTest::newRow("NBA") << "NBA" << QList<int>{7, 6, 5, 4, 2, 2};
        QTest::newRow("NCAA men") << "NCAAM" << QList<int>{4, 3, 3, 3, 3, 3};
        QTest::newRow("NCAA women") << "NCAAW" << QList<int>{4, 3, 2, 1, 1, 1};
        QTest::newRow("NFHS") << "NFHS" << QList<int>{5, 4, 3, 2, 2, 2};
    }

    void timeoutsThroughTheHalfAndOvertime()
    {
        QFETCH(QString, ruleSet);
        QFETCH(QList<int>, leftAtEachStart);
        auto game = fresh(named(ruleSet));
        QList<int> left;
        for (int period = 1; period <= 6; ++period) {
            toPeriod(*game, period);
            left << game->state().visitorTimeouts;
            game->apply(GameCommand::quickAdd(Display::VisitorTimeouts, -1));
        }
        QCOMPARE(left, leftAtEachStart);
    }

    // The clock's length comes with the rules: the period's, then overtime's.
    void theClockByTheRules()
    {
        auto game = fresh(named("NBA"));
        QCOMPARE(game->state().gameClock, ClockSeconds::fromSeconds(720));
        toPeriod(*game, 5);
        game->apply(GameCommand::resetClock());
        QCOMPARE(game->state().gameClock, ClockSeconds::fromSeconds(300));

        // Rules chosen before the start give their length and their timeouts.
        game = fresh(GameRules());
        game->setRules(named("FIBA"));
        QCOMPARE(game->state().gameClock, ClockSeconds::fromSeconds(600));
        QCOMPARE(game->state().homeTimeouts, 2);
        game->setRules(named("NBA"));
        QCOMPARE(game->state().gameClock, ClockSeconds::fromSeconds(720));
        QCOMPARE(game->state().visitorTimeouts, 7);
    }

    void possessionAndRefusals()
    {
        auto game = fresh(GameRules());
        QStringList arrows;
        for (int i = 0; i < 3; ++i) {
            game->apply(GameCommand::switchPossession());
            arrows << game::possessionName(game->state().possession);
        }
        QCOMPARE(arrows, QStringList({"home", "visitor", "home"}));
        QVERIFY(game->apply(GameCommand::setPossession(game::Possession::None)));
        QCOMPARE(game->state().possession, game::Possession::None);
        game->apply(GameCommand::undo());
        QCOMPARE(game->state().possession, game::Possession::Home);

        QVERIFY(!game->apply(GameCommand::setValue(Display::HomeTimeouts, 10)));
        QCOMPARE(game->refusal(), QStringLiteral("home timeouts must be from 0 to 9"));
        QVERIFY(!game->apply(GameCommand::resetShotClockShort()));
        QCOMPARE(game->refusal(), QStringLiteral("no shot clock is in use"));
        QVERIFY(game->apply(GameCommand::setValue(Display::VisitorFouls, 99)));
        QVERIFY(game->refusal().isEmpty());
    }

    // Tenths from 4.9 down, rounded up, 0.0 only once time is up; the short reset.
    void shotClockTenths()
    {
        auto game = fresh(named("FIBA"));
        game->apply(GameCommand::resetShotClockShort());
        QCOMPARE(game->shotClockFace().text(), QStringLiteral("14"));
        game->apply(GameCommand::startStop());
        QStringList shown;
        time.advanceMs(9000); // 5.0 left
        for (int step = 0; step < 6; ++step) {
            game->refresh();
            shown << game->shotClockFace().text();
            time.advanceMs(step < 4 ? 50 : 1);
        }
        QCOMPARE(shown, QStringList({"5", "5", "4.9", "4.9", "4.8", "4.8"}));
        time.advanceMs(4797);
        game->refresh();
        QCOMPARE(game->shotClockFace().text(), QStringLiteral("0.1"));
        QCOMPARE(game->expiryRefresh().interval(), 1);
        time.advanceMs(1);
        game->refresh();
        QCOMPARE(game->shotClockFace().text(), QStringLiteral("0.0"));
    }

    // Once the game clock shows less than a full shot clock, a reset switches the
    // shot clock off where the rules say so, and follows the game clock elsewhere.
    void theShotClockSwitchesOff_data()
    {
        QTest::addColumn<QString>("ruleSet");
        QTest::addColumn<QStringList>("shown"); // after T, Y, T at 20 s left, then T at 30 s
        QTest::newRow("FIBA") << "FIBA" << QStringList{"", "14", "", "24"};
        QTest::newRow("Custom") << "Custom" << QStringList{"20", "14", "20", "24"};
    }

    void theShotClockSwitchesOff()
    {
        QFETCH(QString, ruleSet);
        GameRules rules = named(ruleSet);
        rules.useShotClock = true;
        rules.shotClockResetSeconds = 24;
        auto game = fresh(rules);
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(20)));
        QStringList shown;
        for (const GameCommand& c : {GameCommand::resetShotClock(), GameCommand::resetShotClockShort(),
                                     GameCommand::resetShotClock()}) {
            game->apply(c);
            shown << game->shotClockFace().text();
        }
        game->apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(30)));
        game->apply(GameCommand::resetShotClock());
        shown << game->shotClockFace().text();
        QTEST(shown, "shown");
    }
};

QTEST_GUILESS_MAIN(TestGameRules)
#include "tst_gamerules.moc"
