// Remote commands over loopback with a real game: each command's exact effect on
// the state it answers with, the game's limits, and every refusal (token, too
// many refusals and their end, method, name), a new token, and undo shared with
// the keyboard.

#include "configrecord.h"
#include "configstore.h"
#include "feed.h"
#include "feedcontrol.h"
#include "frmscoreboard.h"
#include "game.h"
#include "timesource.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QByteArray Token = "abcdefghijklmnopqrstuvwxyz012345-_ABCD";

struct Answer
{
    int status = 0;
    QByteArray body;
};

// One request; the game's loop runs while the answer is awaited, as the game
// applies the command on this thread.
Answer send(quint16 port, const QByteArray& target, const QByteArray& token = Token, const QByteArray& method = "POST")
{
    QTcpSocket socket;
    QSignalSpy closed(&socket, &QTcpSocket::disconnected);
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    socket.write(method + ' ' + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                 + (token.isEmpty() ? QByteArray() : "Authorization: Bearer " + token + "\r\n") + "\r\n");
    if (!closed.wait(5000))
        return {};
    const QByteArray raw = socket.readAll();
    return {raw.mid(9, 3).toInt(), raw.mid(raw.indexOf("\r\n\r\n") + 4)};
}

// The game as the state shows it, in one line.
QString summary(const QByteArray& json)
{
    const QJsonObject s = QJsonDocument::fromJson(json).object();
    const auto n = [&](const char* key) { return s[key].isNull() ? QStringLiteral("-") : QString::number(s[key].toInt()); };
    return QStringLiteral("%1-%2 p%3 f%4/%5 t%6/%7 %8 %9%10 shot %11")
        .arg(n("homeScore"), n("visitorScore"), n("period"), n("homeFouls"), n("visitorFouls"), n("homeTimeouts"),
             n("visitorTimeouts"), s["possession"].toString(), s["gameClock"]["text"].toString(),
             s["gameClock"]["running"].toBool() ? QStringLiteral(" running") : QString(), s["shotClock"]["text"].toString());
}

} // namespace

class TestFeedControl : public QObject
{
    Q_OBJECT

    ManualTimeSource time;
    QTemporaryDir programFolder;
    std::unique_ptr<Game> game;
    std::unique_ptr<frmScoreboard> box;
    std::unique_ptr<Feed> feed;
    quint16 port = 0;

private Q_SLOTS:
    void init()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
        settings.clear();
        LoadConfig(Config(), settings, programFolder.path());
        Config().UseShotClock = true;
        game = std::make_unique<Game>(time, GameRules::withShotClock(24));
        game->stopRefreshing();
        box = std::make_unique<frmScoreboard>(*game);
        box->load();
        feed = std::make_unique<Feed>(FeedLimits{}, nullptr, &time);
        QCOMPARE(feed->apply(true, QStringLiteral("127.0.0.1"), 0), QString());
        port = feed->port();
        feed->setGame(game.get());
        feed->setControl(true, Token);
        connect(game.get(), &Game::changed, this, [this] { feed->publish(FeedState{game->state(), {}, Config()}); });
        // A game under way: 10-20 in the second period, 5:00 to play.
        GameState s = game->state();
        s.homeScore = 10, s.visitorScore = 20, s.period = 2, s.homeFouls = 3, s.visitorFouls = 4;
        s.homeTimeouts = 2, s.visitorTimeouts = 1;
        s.gameClock = s.gameClockResetTime = ClockSeconds::fromSeconds(300);
        game->restore(s);
        feed->publish(FeedState{game->state(), {}, Config()});
    }

    void cleanup()
    {
        box.reset();
        feed.reset();
        game.reset();
    }

    void eachCommandChangesExactlyItsPart_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("answer"); // the state's summary, or the refusal

        const QString before = QStringLiteral("10-20 p2 f3/4 t2/1 none 5:00 shot 24");
        const auto row = [](const char* target, int status, const QString& answer) {
            QTest::newRow(target) << QByteArray(target) << status << answer;
        };
        row("/control/home-score?add=2", 200, "12-20 p2 f3/4 t2/1 none 5:00 shot 24");
        row("/control/visitor-score?add=-3", 200, "10-17 p2 f3/4 t2/1 none 5:00 shot 24");
        row("/control/home-score?set=99", 200, "99-20 p2 f3/4 t2/1 none 5:00 shot 24");
        row("/control/period?add=1", 200, "10-20 p3 f0/0 t3/3 none 5:00 shot 24");
        row("/control/period?set=1", 200, "10-20 p1 f3/4 t2/1 none 5:00 shot 24");
        row("/control/home-fouls?add=1", 200, "10-20 p2 f4/4 t2/1 none 5:00 shot 24");
        row("/control/visitor-fouls?set=0", 200, "10-20 p2 f3/0 t2/1 none 5:00 shot 24");
        row("/control/home-timeouts?add=-1", 200, "10-20 p2 f3/4 t1/1 none 5:00 shot 24");
        row("/control/visitor-timeouts?set=3", 200, "10-20 p2 f3/4 t2/3 none 5:00 shot 24");
        row("/control/possession?team=visitor", 200, "10-20 p2 f3/4 t2/1 visitor 5:00 shot 24");
        row("/control/game-clock?set=4:30", 200, "10-20 p2 f3/4 t2/1 none 4:30 shot 24");
        row("/control/game-clock?set=12.5", 200, "10-20 p2 f3/4 t2/1 none 12.5 shot 24");
        row("/control/reset-shot-clock?seconds=20", 200, "10-20 p2 f3/4 t2/1 none 5:00 shot 20");
        row("/control/reset-shot-clock-short", 200, "10-20 p2 f3/4 t2/1 none 5:00 shot 14");
        row("/control/start-stop", 200, "10-20 p2 f3/4 t2/1 none 5:00 running shot 24");
        row("/control/buzzer", 200, before);
        row("/control/home-score?add=1&token=wrong", 200, "11-20 p2 f3/4 t2/1 none 5:00 shot 24");
        // The game's limits, said as the game says them.
        row("/control/home-score?set=200", 422, "home score must be from 0 to 199");
        row("/control/visitor-timeouts?set=10", 422, "visitor timeouts must be from 0 to 9");
        row("/control/undo", 422, "nothing to undo");
        // Parameters the commands do not take.
        row("/control/home-score?add=4", 422, "add takes -3 to 3, not 0");
        row("/control/home-score?add=0", 422, "add takes -3 to 3, not 0");
        row("/control/home-score", 422, "home-score takes add=N or set=N");
        row("/control/home-fouls?add=1&set=2", 422, "home-fouls takes add=N or set=N");
        row("/control/period?set=two", 422, "set takes a whole number");
        row("/control/game-clock?set=5:60", 422, "the game clock is set as set=M:SS or set=SS.T");
        row("/control/possession?team=left", 422, "possession takes team=home, team=visitor or team=none");
        row("/control/reset-shot-clock?seconds=100", 422, "the shot clock resets to 1 to 99 seconds");
        row("/control/timeout", 404, "No such command");
    }

    void eachCommandChangesExactlyItsPart()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, status);
        QFETCH(QString, answer);
        const GameState before = game->state();
        const Answer a = send(port, target);
        QCOMPARE(a.status, status);
        if (status == 200) {
            QCOMPARE(summary(a.body), answer);
            QCOMPARE(send(port, "/state.json", {}, "GET").body, a.body);
        } else {
            QCOMPARE(QString::fromUtf8(a.body), answer + u'\n');
            QCOMPARE(game->state(), before);
        }
    }

    void refusalsSayNothingOfWhyAndTooManyAreHeldOffForAMinute()
    {
        const GameState before = game->state();
        QCOMPARE(send(port, "/control/buzzer", {}).status, 401);
        QCOMPARE(send(port, "/control/buzzer", Token.left(Token.size() - 1)).body, QByteArray("A valid token is needed\n"));
        QCOMPARE(send(port, "/control/buzzer", {}, "GET").status, 401);
        QCOMPARE(send(port, "/control/buzzer", Token, "GET").status, 405);
        QCOMPARE(send(port, "/control", {}, "GET").status, 200);
        for (int i = 3; i < RefusalTable::MaxRefusals; ++i)
            QCOMPARE(send(port, "/control/buzzer", "x").status, 401);
        // Ten refusals within the minute: the right token too is held off.
        QCOMPARE(send(port, "/control/home-score?add=1").status, 429);
        time.advanceMs(RefusalTable::BlockMs - 1);
        QCOMPARE(send(port, "/control/home-score?add=1").status, 429);
        QCOMPARE(game->state(), before);
        time.advanceMs(1);
        QCOMPARE(send(port, "/control/home-score?add=1").status, 200);
        // Ten refusals that span a minute are not too many.
        for (int i = 0; i < 2 * RefusalTable::MaxRefusals; ++i, time.advanceMs(RefusalTable::WindowMs / 9 + 1))
            QCOMPARE(send(port, "/control/buzzer", "x").status, 401);
    }

    void aNewTokenRefusesTheOldAndControlOffServesNothing()
    {
        feed->setControl(true, "B" + Token);
        QCOMPARE(send(port, "/control/home-score?add=1").status, 401);
        QCOMPARE(send(port, "/control/home-score?add=1", "B" + Token).status, 200);
        feed->setControl(false, "B" + Token);
        QCOMPARE(send(port, "/control/home-score?add=1", "B" + Token).status, 404);
        QCOMPARE(send(port, "/control", {}, "GET").status, 404);
        QCOMPARE(game->state().homeScore, 11);
    }

    void undoIsOneHistoryForTheKeyboardAndTheRemote()
    {
        box->pressKey(Config().QScoreV2);
        QCOMPARE(game->state().visitorScore, 22);
        QCOMPARE(summary(send(port, "/control/undo").body), QStringLiteral("10-20 p2 f3/4 t2/1 none 5:00 shot 24"));
        QCOMPARE(summary(send(port, "/control/home-score?add=3").body), QStringLiteral("13-20 p2 f3/4 t2/1 none 5:00 shot 24"));
        box->pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(game->state().homeScore, 10);
        QCOMPARE(summary(send(port, "/control/redo").body), QStringLiteral("13-20 p2 f3/4 t2/1 none 5:00 shot 24"));
    }

    // A button pad keeps its connection: commands sent one after the other on it
    // are answered in turn, each with the state it made.
    void commandsOnOneConnectionAreAnsweredInTurn()
    {
        QTcpSocket socket;
        QSignalSpy closed(&socket, &QTcpSocket::disconnected);
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        const QByteArray command = "POST /control/home-score?add=1 HTTP/1.1\r\nAuthorization: Bearer " + Token + "\r\n\r\n";
        socket.write(command + command + "GET /state.json HTTP/1.1\r\nConnection: close\r\n\r\n");
        QVERIFY(closed.wait(5000));
        const QByteArray raw = socket.readAll();
        QCOMPARE(raw.count("HTTP/1.1 200 OK"), 3);
        const qsizetype first = raw.indexOf("\"homeScore\":11,"), second = raw.indexOf("\"homeScore\":12,");
        QVERIFY(first > 0 && second > first && raw.indexOf("\"homeScore\":12,", second + 1) > second);
    }

    void theRefusalTableKeepsTheLatestAddresses()
    {
        RefusalTable table;
        for (quint32 i = 0; i <= RefusalTable::MaxAddresses; ++i)
            for (int k = 0; k < RefusalTable::MaxRefusals; ++k)
                table.refuse(QHostAddress(0x0a000000 + i), i);
        QCOMPARE(table.size(), RefusalTable::MaxAddresses);
        QVERIFY(!table.isBlocked(QHostAddress(0x0a000000), 1000));
        QVERIFY(table.isBlocked(QHostAddress(0x0a000001), 1000));
        QVERIFY(table.isBlocked(QHostAddress(0x0a000000 + RefusalTable::MaxAddresses), 1000));
    }
};

QTEST_MAIN(TestFeedControl)
#include "tst_feedcontrol.moc"
