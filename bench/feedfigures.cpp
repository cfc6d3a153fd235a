#include "feedfigures.h"
#include "figures.h"

#include "configrecord.h"
#include "configstore.h"
#include "feed.h"
#include "feedserver.h"
#include "frmscoreboard.h"
#include "game.h"
#include "timesource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTcpSocket>
#include <QThread>
#include <QWebSocket>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace {


// Live clients on a thread of their own, as video software on the same machine
// would be: each message's arrival is stamped on the shared monotonic clock.
class Viewers : public QObject
{
public:
    std::atomic<qint64> lastArrivalNs = 0;
    std::atomic<int> messages = 0;
    std::atomic<int> connected = 0;

    void open(quint16 port, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto* client = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
            const bool stamps = i == 0;
            QObject::connect(client, &QWebSocket::connected, this, [this] { ++connected; });
            QObject::connect(client, &QWebSocket::textMessageReceived, this, [this, stamps] {
                if (stamps) {
                    lastArrivalNs = SteadyTimeSource::instance().nowNs();
                    ++messages;
                }
            });
            client->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
        }
    }
};

// A button pad on the same thread as the viewers: commands on one kept-alive
// connection, each stamped as it goes out, and the answers counted.
class Commander : public QObject
{
public:
    std::atomic<qint64> sentNs = 0;
    std::atomic<int> answers = 0;
    QTcpSocket* socket = nullptr;

    void open(quint16 port)
    {
        socket = new QTcpSocket(this);
        QObject::connect(socket, &QTcpSocket::readyRead, this,
                         [this] { answers += int(socket->readAll().count("HTTP/1.1 ")); });
        socket->connectToHost(QStringLiteral("127.0.0.1"), port);
    }
    void send(const QByteArray& target, const QByteArray& token)
    {
        sentNs = SteadyTimeSource::instance().nowNs();
        socket->write("POST " + target + " HTTP/1.1\r\nHost: x\r\nAuthorization: Bearer " + token + "\r\n\r\n");
    }
};

bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return done();
}

} // namespace

void printFeedFigures(int changes)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
    LoadConfig(Config(), settings, QCoreApplication::applicationDirPath());
    Config().UseShotClock = true;

    ManualTimeSource time;
    Game game(time, GameRules::withShotClock(Config().ShotClockResetTime));
    game.stopRefreshing();
    frmScoreboard box(game);
    box.load();
    Feed feed;
    if (!feed.apply(true, QStringLiteral("127.0.0.1"), 0).isEmpty()) {
        std::printf("feed_latency_ms_p99: skipped (no port)\n");
        return;
    }
    // Wired as the program wires it: each change of the game with the box as drawn
    // for it, and each change of the box alone.
    ShownBox shownBox;
    QMetaObject::Connection gameChanges;
    const auto listen = [&](bool on) {
        QObject::disconnect(gameChanges);
        if (!on) {
            box.setShownBoxListener({});
            return;
        }
        gameChanges = QObject::connect(&game, &Game::changed, &box,
                                       [&] { feed.publish(FeedState{game.state(), shownBox, Config()}); });
        box.setShownBoxListener([&](const ShownBox& shown) {
            shownBox = shown;
            if (!game.isAnnouncing())
                feed.publish(FeedState{game.state(), shownBox, Config()});
        });
    };
    listen(true);

    QThread viewerThread;
    viewerThread.start();
    auto* viewers = new Viewers;
    viewers->moveToThread(&viewerThread);
    QMetaObject::invokeMethod(viewers, [viewers, port = feed.port()] { viewers->open(port, 32); });
    if (!waitFor([&] { return viewers->connected == 32 && viewers->messages >= 1; }, 5000)) {
        std::printf("feed_latency_ms_p99: skipped (clients did not connect)\n");
    } else {
        // A key's change, from the dispatcher's return to the message's arrival.
        std::vector<double> latency;
        for (int i = 0; i < changes; ++i) {
            const int before = viewers->messages;
            box.pressKey(i % 2 ? Config().QScoreH1 : Config().QScoreV1);
            const qint64 changedNs = SteadyTimeSource::instance().nowNs();
            game.refresh();
            if (waitFor([&] { return viewers->messages > before; }, 1000))
                latency.push_back(double(viewers->lastArrivalNs - changedNs) / 1e6);
            if (i % 150 == 149) {
                box.pressKey(Config().ClearKey); // keep the scores from their limit
                game.refresh();
                waitFor([] { return false; }, 20);
            }
        }
        print("feed_latency_ms_p50", percentile(latency, 50), "ms");
        print("feed_latency_ms_p99", percentile(latency, 99), "ms");
        print("feed_latency_ms_max", latency.empty() ? -1 : *std::max_element(latency.begin(), latency.end()), "ms");
    }

    // One refresh in tenths, every one showing a new tenth, with and without the
    // feed listening: the difference is what the feed costs the score box.
    auto refreshes = [&](bool withFeed) {
        listen(withFeed);
        std::vector<double> us;
        QElapsedTimer t;
        for (int i = 0; i < 2000; ++i) {
            time.advanceMs(100);
            // Kept below a minute and running: every refresh shows a new tenth.
            if (game.gameClock().seconds() < ClockSeconds::fromSeconds(2))
                game.apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(50)));
            t.start();
            game.refresh();
            us.push_back(double(t.nsecsElapsed()) / 1000.0);
            if (i % 20 == 0)
                QCoreApplication::processEvents();
        }
        return us;
    };
    box.pressKey(Config().ResetClockKey);
    time.advanceMs(1);
    box.pressKey(Config().StartStopClockKey);
    time.advanceMs(9 * 60 * 1000 + 10 * 1000); // 50 s left: tenths
    refreshes(false); // warm-up
    const std::vector<double> without = refreshes(false);
    const std::vector<double> with = refreshes(true);
    print("feed_refresh_cost_us_p50", percentile(with, 50) - percentile(without, 50), "us");
    print("feed_refresh_cost_us_p99", percentile(with, 99) - percentile(without, 99), "us");

    listen(false);
    QMetaObject::invokeMethod(viewers, [viewers] { delete viewers; }, Qt::BlockingQueuedConnection);
    viewerThread.quit();
    viewerThread.wait();
}

void printControlFigures(int commands)
{
    ManualTimeSource time;
    Game game(time, GameRules::withShotClock(Config().ShotClockResetTime));
    game.stopRefreshing();
    frmScoreboard box(game);
    box.load();
    Feed feed;
    const QByteArray token = "benchTokenOf32UrlSafeCharacters_";
    if (!feed.apply(true, QStringLiteral("127.0.0.1"), 0).isEmpty()) {
        std::printf("control_command_ms_p99: skipped (no port)\n");
        return;
    }
    feed.setGame(&game);
    feed.setControl(true, token);
    // Wired as the program wires it; the box has shown a command once what it
    // hands out has changed.
    ShownBox shownBox;
    std::atomic<qint64> shownNs = 0;
    std::atomic<int> shown = 0;
    QObject::connect(&game, &Game::changed, &box, [&] { feed.publish(FeedState{game.state(), shownBox, Config()}); });
    box.setShownBoxListener([&](const ShownBox& s) {
        shownBox = s;
        shownNs = SteadyTimeSource::instance().nowNs();
        ++shown;
        if (!game.isAnnouncing())
            feed.publish(FeedState{game.state(), shownBox, Config()});
    });

    // 31 live viewers and the button pad: the feed's 32 places taken.
    QThread clientThread;
    clientThread.start();
    auto* viewers = new Viewers;
    auto* pad = new Commander;
    viewers->moveToThread(&clientThread);
    pad->moveToThread(&clientThread);
    const quint16 port = feed.port();
    QMetaObject::invokeMethod(viewers, [viewers, port] { viewers->open(port, FeedServer::MaxConnections - 1); });
    QMetaObject::invokeMethod(pad, [pad, port] { pad->open(port); });
    std::vector<double> latency;
    if (waitFor([&] { return viewers->connected == FeedServer::MaxConnections - 1 && viewers->messages >= 1; }, 5000)) {
        for (int i = 0; i < commands; ++i) {
            const int before = shown;
            const int answered = pad->answers;
            const QByteArray target = i % 2 ? "/control/home-score?add=-1" : "/control/home-score?add=1";
            QMetaObject::invokeMethod(pad, [pad, target, token] { pad->send(target, token); });
            if (waitFor([&] { return shown > before; }, 1000))
                latency.push_back(double(shownNs - pad->sentNs) / 1e6);
            waitFor([&] { return pad->answers > answered; }, 1000);
        }
    }
    if (latency.size() < size_t(commands) / 2)
        std::printf("control_command_ms_p99: skipped (%zu of %d commands shown)\n", latency.size(), commands);
    else
        print("control_command_ms_p99", percentile(latency, 99), "ms");
    box.setShownBoxListener({});
    QMetaObject::invokeMethod(viewers, [viewers, pad] { delete viewers; delete pad; }, Qt::BlockingQueuedConnection);
    clientThread.quit();
    clientThread.wait();
}
