// The live feed over real sockets on loopback: what each path serves as the score
// box changes, the WebSocket's messages, refused requests, and clients that hold
// connections or stop reading, with the score box's loop answering throughout;
// and that the shapes it sends are what the displays paint.

#include "clockdisplay.h"
#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "digitdisplay.h"
#include "feed.h"
#include "feedserver.h"
#include "frmscoreboard.h"
#include "game.h"
#include "loopwatch.h"
#include "timesource.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>
#include <QXmlStreamReader>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <thread>

namespace {

struct Reply {
    QByteArray status; // "200 OK"
    QByteArray contentType;
    QByteArray body;
};

// One request as raw bytes, read until the server closes or the body is whole.
Reply exchange(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(request);
    QByteArray raw;
    while (socket.waitForReadyRead(2000)) {
        raw += socket.readAll();
        const qsizetype end = raw.indexOf("\r\n\r\n");
        if (end < 0)
            continue;
        const QByteArray head = raw.left(end).toLower();
        const qsizetype at = head.indexOf("content-length:");
        const qsizetype length = at < 0 ? 0 : head.mid(at + 15, head.indexOf('\r', at) - at - 15).trimmed().toLongLong();
        if (raw.size() >= end + 4 + length)
            break;
    }
    Reply reply;
    const qsizetype end = raw.indexOf("\r\n\r\n");
    const QList<QByteArray> lines = raw.left(end).split('\n');
    if (lines.isEmpty() || end < 0)
        return reply;
    reply.status = lines.first().mid(9).trimmed();
    for (const QByteArray& line : lines)
        if (line.toLower().startsWith("content-type:"))
            reply.contentType = line.mid(13).trimmed();
    reply.body = raw.mid(end + 4);
    return reply;
}

Reply get(quint16 port, const QByteArray& path)
{
    return exchange(port, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

QJsonObject jsonOf(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

const QByteArray Handshake = "GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                             "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n";

// Reads from `socket` until `enough` holds for what came, or 5 s pass.
QByteArray readUntil(QTcpSocket& socket, const std::function<bool(const QByteArray&)>& enough)
{
    QByteArray raw;
    QDeadlineTimer deadline(5000);
    while (!enough(raw) && !deadline.hasExpired() && (socket.bytesAvailable() || socket.waitForReadyRead(int(deadline.remainingTime()))))
        raw += socket.readAll();
    return raw;
}

// A WebSocket opened by hand, up to its first message, with `extraHeaders` in its handshake.
std::unique_ptr<QTcpSocket> openLive(quint16 port, const QByteArray& extraHeaders = {})
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket->waitForConnected(2000))
        return {};
    socket->write(Handshake + extraHeaders + "\r\n");
    const QByteArray raw = readUntil(*socket, [](const QByteArray& r) {
        const qsizetype end = r.indexOf("\r\n\r\n");
        return (end > 0 && !r.startsWith("HTTP/1.1 101")) || (end > 0 && r.size() > end + 4 + 2);
    });
    return raw.startsWith("HTTP/1.1 101") ? std::move(socket) : nullptr;
}

// Plain sockets on a thread of their own: connections that hold a place and never
// finish a request, or never read what they are sent.
struct IdleClients {
    std::vector<int> fds;
    std::thread opener;
    void open(quint16 port, int count)
    {
        opener = std::thread([this, port, count] {
            for (int i = 0; i < count; ++i) {
                const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
                sockaddr_in to{};
                to.sin_family = AF_INET;
                to.sin_port = htons(port);
                to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
                    [[maybe_unused]] auto sent = ::send(fd, "GET /state.json HTTP/1.1\r\n", 26, MSG_NOSIGNAL);
                }
                fds.push_back(fd);
            }
        });
    }
    ~IdleClients()
    {
        if (opener.joinable())
            opener.join();
        for (int fd : fds)
            ::close(fd);
    }
};

// A display of the state filled from its shapes, as the overlay page does it.
QImage drawnAsThePageDoes(const QJsonObject& display, const QJsonObject& shapes)
{
    QImage image(display["width"].toInt(), display["height"].toInt(), QImage::Format_RGB32);
    image.fill(QColor(display["back"].toString()));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QJsonArray cells = display["cells"].toArray();
    for (qsizetype i = 0; i < cells.size(); ++i) {
        QPainterPath lit;
        for (const QJsonValue e : shapes["elements"][cells[i]["kind"].toString()].toArray()) {
            if (!(e["bits"].toInt() & cells[i]["bits"].toInt()))
                continue;
            if (const QJsonArray circle = e["circle"].toArray(); !circle.isEmpty()) {
                const double radius = circle[2].toDouble();
                lit.addEllipse(QPointF(circle[0].toDouble(), circle[1].toDouble()), radius, radius);
                continue;
            }
            QPolygonF polygon;
            for (const QJsonValue point : e["points"].toArray())
                polygon << QPointF(point[0].toDouble(), point[1].toDouble());
            lit.addPolygon(polygon);
            lit.closeSubpath();
        }
        const QJsonArray corner = shapes["cells"][i].toArray();
        painter.fillPath(lit.translated(corner[0].toDouble(), corner[1].toDouble()), QColor(display["lit"].toString()));
    }
    return image;
}

int onFeedThread(Feed& feed, const std::function<int(FeedServer&)>& ask)
{
    int answer = 0;
    QMetaObject::invokeMethod(feed.server(), [&] { answer = ask(*feed.server()); }, Qt::BlockingQueuedConnection);
    return answer;
}

} // namespace

class TestFeed : public QObject
{
    Q_OBJECT

    ManualTimeSource time;
    QTemporaryDir programFolder;
    std::unique_ptr<Game> game;
    std::unique_ptr<frmScoreboard> box;
    std::unique_ptr<Feed> feed;
    ShownBox shownBox;
    int handedOut = 0;

    // A key as the dispatcher takes it, and the refresh that shows it.
    void press(int keyCode)
    {
        box->pressKey(keyCode);
        game->refresh();
    }
    // As the program hands the game out: each change of the game with the box as
    // drawn for it, and each change of the box alone.
    void publish()
    {
        ++handedOut;
        feed->publish(FeedState{game->state(), shownBox, Config()});
    }

private Q_SLOTS:
    void init()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
        settings.clear();
        LoadConfig(Config(), settings, programFolder.path());
        Config().UseShotClock = true;
        game = std::make_unique<Game>(time, GameRules::withShotClock(35));
        game->stopRefreshing();
        box = std::make_unique<frmScoreboard>(*game);
        box->load();
        feed = std::make_unique<Feed>();
        QCOMPARE(feed->apply(true, QStringLiteral("127.0.0.1"), 0), QString());
        handedOut = 0;
        connect(game.get(), &Game::changed, this, &TestFeed::publish);
        box->setShownBoxListener([this](const ShownBox& shown) {
            shownBox = shown;
            if (!game->isAnnouncing())
                publish();
        });
    }

    void cleanup()
    {
        box.reset();
        game.reset();
        feed.reset();
    }

    void eachPathServesTheBoxAsItStands()
    {
        for (int i = 0; i < 3; ++i)
            press(Config().QScoreH1);
        press(Config().QPeriod1);
        press(Config().StartStopClockKey);
        time.advanceMs((9 * 60 + 14) * 1000 + 750); // 45.25 s left, shown rounded up
        game->refresh();

        const Reply json = get(feed->port(), "/state.json");
        QCOMPARE(json.status, QByteArray("200 OK"));
        QCOMPARE(json.contentType, QByteArray("application/json"));
        const QJsonObject state = jsonOf(json.body);
        QCOMPARE(state["homeScore"].toInt(-1), 3);
        QCOMPARE(state["visitorScore"].toInt(-1), 0);
        QCOMPARE(state["period"].toInt(-1), 2);
        QCOMPARE(state["homeName"].toString(), QStringLiteral("Home"));
        QCOMPARE(state["periodCaption"].toString(), QStringLiteral("Period"));
        const QJsonObject clock = state["gameClock"].toObject();
        QCOMPARE(clock["text"].toString(), QStringLiteral("45.3"));
        QCOMPARE(clock["tenths"].toInt(), 453);
        QCOMPARE(clock["mode"].toString(), QStringLiteral("secondsTenths"));
        QCOMPARE(clock["running"].toBool(), true);
        // The shot clock started with the game clock and ran out at 35 s, and stopped there.
        QCOMPARE(state["shotClock"].toObject()["text"].toString(), QStringLiteral("0"));
        QCOMPARE(state["shotClock"].toObject()["running"].toBool(true), false);
        QCOMPARE(state["colors"].toObject()["time"].toString(), QStringLiteral("#ff8000"));
        QCOMPARE(state["box"].toObject()["width"].toInt(), box->findChild<QWidget*>("picScoreBox")->width());

        // Each document is made anew after a change, not served as first asked for.
        const auto vmixRow = [this] { return QJsonDocument::fromJson(get(feed->port(), "/vmix.json").body).array(); };
        QCOMPARE(vmixRow().at(0)["visitorScore"], QJsonValue(QStringLiteral("0")));
        Config().HomeText = QStringLiteral("A & B");
        press(Config().QScoreV1);
        const Reply xml = get(feed->port(), "/state.xml");
        QCOMPARE(xml.contentType, QByteArray("application/xml; charset=utf-8"));
        QVERIFY(xml.body.contains("<homeScore>3</homeScore>"));
        QVERIFY(xml.body.contains("<mode>secondsTenths</mode>"));
        // A path by name finds the one field: the period's colour is named as a colour.
        QCOMPARE(xml.body.count("<period>"), 1);
        QVERIFY(xml.body.contains("<periodColor>#00c000</periodColor>"));
        QXmlStreamReader reader(xml.body);
        QString homeName;
        while (reader.readNextStartElement() || (!reader.atEnd() && !reader.hasError()))
            if (reader.isStartElement() && reader.name() == QLatin1String("homeName"))
                homeName = reader.readElementText();
        QCOMPARE(homeName, QStringLiteral("A & B"));

        // vMix's row: the same game, every value a text.
        QCOMPARE(get(feed->port(), "/vmix.json").contentType, QByteArray("application/json"));
        const QJsonArray rows = vmixRow();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0]["visitorScore"], QJsonValue(QStringLiteral("1")));
        QCOMPARE(rows[0]["gameClock"], QJsonValue(QStringLiteral("45.3")));

        const Reply page = get(feed->port(), "/overlay");
        QCOMPARE(page.contentType, QByteArray("text/html; charset=utf-8"));
        QVERIFY(page.body.contains(R"("homeScore":3)"));
        QVERIFY(page.body.contains(R"("shapes":{)"));
        QVERIFY(!json.body.contains("shapes"));
        QVERIFY(!page.body.contains("/*STATE*/"));

        // A blank shot clock reads empty; the time of day reads as the box shows it.
        game->apply(GameCommand::clear(game::Display::ShotClock));
        press(Config().ClockSwitchKey);
        const auto current = [this] { return jsonOf(get(feed->port(), "/state.json").body); };
        QTRY_COMPARE(current()["gameClock"].toObject()["mode"].toString(), QStringLiteral("timeOfDay"));
        const QJsonObject switched = current();
        QCOMPARE(switched["shotClock"].toObject()["text"].toString(), QString());
        QCOMPARE(switched["gameClock"].toObject()["text"].toString(),
                 box->findChild<ClockDisplay*>("cdGame")->shownText());
        press(Config().ClockSwitchKey);

        // Without the shot clock in use there is none in the state.
        press(Config().ResetClockKey);
        Config().UseShotClock = false;
        box->runOptionsDialog();
        game->refresh();
        const QJsonObject after = jsonOf(get(feed->port(), "/state.json").body);
        QVERIFY(!after.contains("shotClock"));
        QCOMPARE(after["gameClock"].toObject()["mode"].toString(), QStringLiteral("minutesSeconds"));
    }

    void liveClientsGetTheStateOnConnectAndOnEveryShownChange()
    {
        QWebSocket client;
        QSignalSpy messages(&client, &QWebSocket::textMessageReceived);
        client.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(feed->port())));
        const auto message = [&messages](qsizetype i) -> const QJsonObject {
            return jsonOf(messages.at(i).at(0).toString().toUtf8());
        };
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(message(0)["homeScore"].toInt(-1), 0);
        // The shapes come on connect, and again only when they change.
        QVERIFY(message(0)["shapes"]["displays"]["cdGame"]["elements"]["digit"][0]["points"].isArray());

        press(Config().QScoreV1);
        QTRY_COMPARE(messages.size(), 2);
        QCOMPARE(message(1)["visitorScore"].toInt(-1), 1);
        QVERIFY(!message(1).contains("shapes"));
        Config().LEDType = led::Dots;
        box->runOptionsDialog();
        QTRY_COMPARE(messages.size(), 3);
        QVERIFY(message(2)["shapes"]["displays"]["cdGame"]["elements"]["digit"][0]["circle"].isArray());

        // Refreshes that change nothing shown hand nothing out; a running clock's
        // next second does.
        const int before = handedOut;
        for (int i = 0; i < 20; ++i)
            game->refresh();
        QCOMPARE(handedOut, before);
        press(Config().StartStopClockKey);
        const int started = handedOut;
        time.advanceMs(999);
        game->refresh();
        QCOMPARE(handedOut, started);
        time.advanceMs(2);
        game->refresh();
        QCOMPARE(handedOut, started + 1);
        QTRY_COMPARE(message(messages.size() - 1)["gameClock"]["text"].toString(), QStringLiteral("9:59"));
    }

    // The overlay page fills the lit elements the feed sends at the corners it
    // sends; done the same way here, that is what the displays paint, pixel for
    // pixel: both styles, small and large, the narrow "1" past 99, the separator.
    void theShapesSentAreWhatTheDisplaysPaint()
    {
        for (const int style : {LedDisplay::Lines, LedDisplay::Dots}) {
            for (const double size : {25.0, 333.0}) {
                QWidget board;
                auto* score = new DigitDisplay(&board);
                score->setObjectName(QStringLiteral("score"));
                score->setMax(199);
                score->setCaption(188);
                auto* clock = new ClockDisplay(&board);
                clock->setObjectName(QStringLiteral("clock"));
                clock->setFormat(QStringLiteral("1,.1"));
                clock->setValue(47.3f);
                for (LedDisplay* display : board.findChildren<LedDisplay*>()) {
                    display->setLedType(style);
                    display->setDigitSize(size);
                    display->setPaddingI(size * 2.3); // cells at fractions of a pixel
                }
                const ShownBox shown = describeShownBox(&board, {}, 0);
                const QJsonObject shapes = jsonOf(QJsonDocument(feedShapes(shown)).toJson())["displays"].toObject();
                const QJsonObject state = feedJson(FeedState{{}, shown, Config()});
                const QJsonArray elements = state["box"]["elements"].toArray();
                QCOMPARE(elements.size(), 2);
                for (const QJsonValue e : elements) {
                    QImage shot(e["width"].toInt(), e["height"].toInt(), QImage::Format_RGB32);
                    board.findChild<LedDisplay*>(e["name"].toString())->render(&shot);
                    QCOMPARE(drawnAsThePageDoes(e.toObject(), shapes[e["name"].toString()].toObject()), shot);
                }
            }
        }
    }

    void requestsOutsideTheFeedAreRefused_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        const QByteArray end = " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
        QTest::newRow("another path") << "GET /state" + end << QByteArray("404 Not Found");
        QTest::newRow("a way out of the root") << "GET /../state.json" + end << QByteArray("404 Not Found");
        QTest::newRow("the same, encoded") << "GET /%2e%2e/etc/passwd" + end << QByteArray("404 Not Found");
        QTest::newRow("a write") << "POST /state.json" + end << QByteArray("405 Method Not Allowed");
        QTest::newRow("a delete") << "DELETE /overlay" + end << QByteArray("405 Method Not Allowed");
        QTest::newRow("the live path without a WebSocket") << "GET /live" + end << QByteArray("426 Upgrade Required");
        QTest::newRow("a request over 8 KB") << "GET /state.json HTTP/1.1\r\nX-Pad: " + QByteArray(9000, 'a') + "\r\n\r\n"
                                              << QByteArray("413 Content Too Large");
    }

    void requestsOutsideTheFeedAreRefused()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        QCOMPARE(exchange(feed->port(), request).status, status);
        // The server serves on.
        QCOMPARE(get(feed->port(), "/state.json").status, QByteArray("200 OK"));
    }

    void heldAndUnreadConnectionsCostTheScoreBoxNothing()
    {
        // 200 connections that never finish a request: 32 are held, the rest refused.
        auto idle = std::make_unique<IdleClients>();
        const qint64 stall = longestStallMs([&] { idle->open(feed->port(), 200); });
        QVERIFY2(stall < 100, qPrintable(QStringLiteral("the loop stalled %1 ms").arg(stall)));
        idle->opener.join();
        QTRY_COMPARE(onFeedThread(*feed, [](FeedServer& s) { return s.openConnectionCount(); }), FeedServer::MaxConnections);
        // A quick request still gets through: it takes the place of the one that
        // has waited longest without a whole request.
        QCOMPARE(get(feed->port(), "/state.json").status, QByteArray("200 OK"));
        QCOMPARE(onFeedThread(*feed, [](FeedServer& s) { return s.openConnectionCount(); }), FeedServer::MaxConnections - 1);
        idle.reset();
        QTRY_COMPARE(onFeedThread(*feed, [](FeedServer& s) { return s.openConnectionCount(); }), 0);

        // A live client that never reads is dropped once its backlog passes the
        // limit, however long the box keeps changing.
        QTcpSocket deaf;
        deaf.setReadBufferSize(1);
        deaf.connectToHost(QStringLiteral("127.0.0.1"), feed->port());
        QVERIFY(deaf.waitForConnected(2000));
        deaf.write(Handshake + "\r\n");
        QTRY_COMPARE(onFeedThread(*feed, [](FeedServer& s) { return s.liveClientCount(); }), 1);
        Config().HomeText = QString(50000, u'H');
        int changes = 0;
        for (; changes < 4000 && onFeedThread(*feed, [](FeedServer& s) { return s.liveClientCount(); }) == 1; ++changes)
            press(changes % 2 ? Config().QScoreH1 : Config().QScoreV1);
        QVERIFY2(changes < 4000, "a client that never reads was kept");
        QCOMPARE(get(feed->port(), "/state.json").status, QByteArray("200 OK"));
    }

    // A connection that goes quiet is closed; a live client that only waits for
    // the next change is kept, however long the box shows the same.
    void quietConnectionsCloseButLiveClientsStay()
    {
        Feed quick(FeedLimits{.idleTimeoutMs = 500});
        QCOMPARE(quick.apply(true, QStringLiteral("127.0.0.1"), 0), QString());
        QWebSocket live;
        QSignalSpy closed(&live, &QWebSocket::disconnected);
        live.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(quick.port())));
        IdleClients quiet;
        quiet.open(quick.port(), 1);
        quiet.opener.join();
        QTRY_COMPARE(onFeedThread(quick, [](FeedServer& s) { return s.liveClientCount() * 10 + s.openConnectionCount(); }), 12);
        QTRY_COMPARE(onFeedThread(quick, [](FeedServer& s) { return s.openConnectionCount(); }), 1);
        QTest::qWait(2000);
        QCOMPARE(closed.size(), 0);
        QCOMPARE(onFeedThread(quick, [](FeedServer& s) { return s.liveClientCount(); }), 1);

        // A live client that answers no ping is gone, though the system still
        // takes what it is sent.
        auto silent = openLive(quick.port());
        QVERIFY(silent);
        QTRY_COMPARE(onFeedThread(quick, [](FeedServer& s) { return s.liveClientCount(); }), 2);
        QTRY_COMPARE_WITH_TIMEOUT(onFeedThread(quick, [](FeedServer& s) { return s.liveClientCount(); }), 1, 10000);
        QCOMPARE(closed.size(), 0);
    }

    // Sessions that end in every way a client ends them give their places back:
    // a close frame, an abrupt end, and a connection closed without a word.
    void endedSessionsGiveTheirPlacesBack()
    {
        const QByteArray maskedClose("\x88\x82\0\0\0\0\x03\xe8", 8);
        for (int i = 0; i < 1000; ++i) {
            auto live = openLive(feed->port());
            QVERIFY2(live, qPrintable(QStringLiteral("session %1 was refused").arg(i)));
            switch (i % 3) {
            case 0:
                live->write(maskedClose);
                QVERIFY(live->waitForDisconnected(5000));
                break;
            case 1:
                live->abort();
                break;
            case 2:
                live->disconnectFromHost();
                break;
            }
        }
        QTRY_COMPARE(onFeedThread(*feed, [](FeedServer& s) { return s.openConnectionCount(); }), 0);
        QCOMPARE(get(feed->port(), "/state.json").status, QByteArray("200 OK"));
    }

    // A request trickled a byte at a time is ended a fixed time after its first
    // byte, however often a byte comes.
    void aRequestMustArriveWholeInTime()
    {
        Feed strict(FeedLimits{.requestTimeoutMs = 300});
        QCOMPARE(strict.apply(true, QStringLiteral("127.0.0.1"), 0), QString());
        QTcpSocket slow;
        slow.connectToHost(QStringLiteral("127.0.0.1"), strict.port());
        QVERIFY(slow.waitForConnected(2000));
        slow.write("GET /state.json HTTP/1.1\r\n");
        QByteArray answer;
        QDeadlineTimer deadline(8000);
        while (slow.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
            slow.write("X");
            slow.waitForReadyRead(100);
            answer += slow.readAll();
        }
        QVERIFY2(!deadline.hasExpired(), "a trickled request kept its connection");
        QVERIFY2(answer.startsWith("HTTP/1.1 408 "), answer.constData());
    }

    void answersCloseWhenAskedAndStayWhenNot()
    {
        // HTTP/1.0, and HTTP/1.1 with close: the server closes after the answer.
        for (const QByteArray& request : {QByteArray("GET /state.json HTTP/1.0\r\n\r\n"),
                                         QByteArray("GET /state.json HTTP/1.1\r\nConnection: close\r\n\r\n")}) {
            QTcpSocket client;
            client.connectToHost(QStringLiteral("127.0.0.1"), feed->port());
            QVERIFY(client.waitForConnected(2000));
            client.write(request);
            QVERIFY2(client.waitForDisconnected(5000), "the answer left the connection open");
            const QByteArray answer = client.readAll();
            QVERIFY(answer.startsWith("HTTP/1.1 200 OK\r\n"));
            QVERIFY(answer.contains("\r\nConnection: close\r\n"));
        }
        // Kept alive otherwise: two answers on one connection, each saying so, and
        // no page of another site is let read them.
        QTcpSocket client;
        client.connectToHost(QStringLiteral("127.0.0.1"), feed->port());
        QVERIFY(client.waitForConnected(2000));
        client.write("GET /state.json HTTP/1.1\r\nHost: x\r\n\r\nGET /state.xml HTTP/1.0\r\nConnection: keep-alive\r\n\r\n");
        const QByteArray both = readUntil(client, [](const QByteArray& r) { return r.count("</scoreboard>") == 1; });
        QCOMPARE(both.count("HTTP/1.1 200 OK\r\n"), 2);
        QCOMPARE(both.count("\r\nConnection: keep-alive\r\n"), 2);
        QVERIFY(!both.toLower().contains("access-control-allow-origin"));
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
    }

    void onlyTheFeedsOwnPagesOpenTheLiveSocket()
    {
        QVERIFY(openLive(feed->port(), "Origin: http://127.0.0.1:" + QByteArray::number(feed->port()) + "\r\n"));
        QVERIFY(openLive(feed->port(), "Origin: null\r\n"));
        QTcpSocket stranger;
        stranger.connectToHost(QStringLiteral("127.0.0.1"), feed->port());
        QVERIFY(stranger.waitForConnected(2000));
        stranger.write(Handshake + "Origin: http://example.com\r\n\r\n");
        QVERIFY(stranger.waitForDisconnected(5000));
        QVERIFY(stranger.readAll().startsWith("HTTP/1.1 403 Forbidden\r\n"));
    }

    void anUnmaskedFrameClosesTheConnection()
    {
        auto live = openLive(feed->port());
        QVERIFY(live);
        live->readAll();
        live->write("\x81\x02hi");
        QVERIFY(live->waitForDisconnected(5000));
        QCOMPARE(live->readAll(), QByteArray("\x88\x02\x03\xea", 4));
    }

    // A start or a stop is said at once, before any digit changes, and so is the
    // stop at time up.
    void aClockStartOrStopIsSaidAtOnce()
    {
        const auto running = [this] {
            return jsonOf(get(feed->port(), "/state.json").body)["gameClock"].toObject()["running"].toBool();
        };
        press(Config().StartStopClockKey);
        QTRY_VERIFY(running());
        press(Config().StartStopClockKey);
        QTRY_VERIFY(!running());
        QCOMPARE(jsonOf(get(feed->port(), "/state.json").body)["gameClock"].toObject()["text"].toString(),
                 QStringLiteral("10:00"));
        press(Config().StartStopClockKey);
        time.advanceMs(600 * 1000);
        game->refresh();
        QTRY_VERIFY(!running());
        QCOMPARE(jsonOf(get(feed->port(), "/state.json").body)["gameClock"].toObject()["text"].toString(),
                 QStringLiteral("0.0"));
    }

    void aPortInUseIsSaidAndTheFeedMovesWhenAsked()
    {
        const quint16 taken = feed->port();
        Feed second;
        const QString problem = second.apply(true, QStringLiteral("127.0.0.1"), taken);
        QCOMPARE(problem, QStringLiteral("Cannot serve the feed on 127.0.0.1 port %1: The bound address is already in use").arg(taken));
        QVERIFY(!second.isServing());
        QCOMPARE(second.problem(), problem);

        feed->apply(false, QStringLiteral("127.0.0.1"), 0);
        QCOMPARE(get(taken, "/state.json").status, QByteArray());
        QCOMPARE(second.apply(true, QStringLiteral("127.0.0.1"), taken), QString());
        QCOMPARE(second.port(), taken);
        QVERIFY(second.problem().isEmpty());
    }
};

QTEST_MAIN(TestFeed)
#include "tst_feed.moc"
