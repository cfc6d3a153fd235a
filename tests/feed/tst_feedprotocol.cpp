// The feed's protocol as plain values: the game's documents, HTTP requests read
// whole or refused, which answers keep the connection, WebSocket frames both ways,
// and which pages may open the live socket.

#include "feedconnection.h"
#include "feedstate.h"
#include "httprequest.h"
#include "websocketframes.h"

#include <QJsonDocument>
#include <QTest>

using Status = HttpRequestReader::Status;
Q_DECLARE_METATYPE(GameState)

class TestFeedProtocol : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theGameGoesOutInEachDocument_data()
    {
        QTest::addColumn<GameState>("game");
        QTest::addColumn<QByteArray>("json"); // those fields of /state.json
        QTest::addColumn<QByteArrayList>("xml"); // lines of /state.xml
        QTest::addColumn<QByteArray>("vmix");
        using game::Bonus, game::Possession;
        const GameState g{.homeScore = 42, .gameClock = ClockSeconds::fromTenths(453), .gameClockResetTime = {},
                          .shotClock = ClockSeconds::fromTenths(49), .homeFouls = 3, .visitorFouls = 5, .homeTimeouts = 2,
                          .visitorTimeouts = 1, .possession = Possession::Home, .homeBonus = Bonus::Bonus,
                          .ruleSet = "FIBA", .shotClockTenths = true};
        QTest::newRow("home in the bonus with the ball")
            << g
            << QByteArray(R"({"homeFouls":3,"visitorFouls":5,"homeBonus":"bonus","visitorBonus":"none",)"
                          R"("homeTimeouts":2,"visitorTimeouts":1,"possession":"home","ruleSet":"FIBA"})")
            << QByteArrayList{"    <homeFouls>3</homeFouls>", "    <possession>home</possession>", "        <text>4.9</text>"}
            << QByteArray(R"([{"gameClock":"45.3","homeBonus":"bonus","homeFouls":"3","homeName":"Lions","homeScore":"42",)"
                          R"("homeTimeouts":"2","period":"1","periodCaption":"Quarter","possession":"home","ruleSet":"FIBA",)"
                          R"("shotClock":"4.9","visitorBonus":"none","visitorFouls":"5","visitorName":"Bears",)"
                          R"("visitorScore":"0","visitorTimeouts":"1"}])");
        const GameState blank{.gameClock = {}, .gameClockResetTime = {}, .shotClock = {}, .shotClockBlank = true,
                              .homeFouls = -1, .visitorFouls = 10, .homeTimeouts = -1,
                              .possession = Possession::Visitor,
                              .homeBonus = Bonus::DoubleBonus, .ruleSet = "NBA"};
        QTest::newRow("blank displays, the double bonus, the visitors' ball")
            << blank
            << QByteArray(R"({"homeFouls":null,"visitorFouls":10,"homeBonus":"doubleBonus","homeTimeouts":null,)"
                          R"("visitorTimeouts":0,"possession":"visitor","ruleSet":"NBA"})")
            << QByteArrayList{"    <homeFouls/>", "    <homeBonus>doubleBonus</homeBonus>"}
            << QByteArray(R"([{"gameClock":"0.0","homeBonus":"doubleBonus","homeFouls":"","homeName":"Lions",)"
                          R"("homeScore":"0","homeTimeouts":"","period":"1","periodCaption":"Quarter","possession":"visitor",)"
                          R"("ruleSet":"NBA","shotClock":"","visitorBonus":"none","visitorFouls":"10","visitorName":"Bears",)"
                          R"("visitorScore":"0","visitorTimeouts":"0"}])");
    }

    void theGameGoesOutInEachDocument()
    {
        QFETCH(GameState, game);
        QFETCH(QByteArray, json);
        QFETCH(QByteArrayList, xml);
        QFETCH(QByteArray, vmix);
        ConfigRecord config;
        config.HomeText = QStringLiteral("Lions");
        config.VisitorText = QStringLiteral("Bears");
        config.PeriodText = QStringLiteral("Quarter");
        config.UseShotClock = true;
        const QJsonObject state = feedJson(FeedState{game, {}, config});
        const QJsonObject expected = QJsonDocument::fromJson(json).object();
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(QJsonValue(state[it.key()]), QJsonValue(it.value()));
        const QByteArrayList lines = feedXml(state).split('\n');
        for (const QByteArray& line : xml)
            QVERIFY2(lines.contains(line), line.constData());
        QCOMPARE(feedVmix(state), vmix);
    }

    void requestsAreReadWholeOrRefused_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("path");
        const QByteArray get = "GET /state.json?x=1 HTTP/1.1\r\nHost: a\r\n\r\n";
        QTest::newRow("whole") << QList<QByteArray>{get} << int(Status::Complete) << QByteArray("/state.json");
        QTest::newRow("a byte at a time") << [&] {
            QList<QByteArray> bytes;
            for (char c : get)
                bytes << QByteArray(1, c);
            return bytes;
        }() << int(Status::Complete) << QByteArray("/state.json");
        QTest::newRow("the head without its end") << QList<QByteArray>{"GET / HTTP/1.1\r\nHost: a\r\n"} << int(Status::Incomplete)
                                                  << QByteArray();
        QTest::newRow("a body still to come") << QList<QByteArray>{"POST /x HTTP/1.1\r\nContent-Length: 5\r\n\r\nab"}
                                              << int(Status::Incomplete) << QByteArray();
        QTest::newRow("a body whole") << QList<QByteArray>{"POST /x HTTP/1.1\r\nContent-Length: 5\r\n\r\nabcde"}
                                      << int(Status::Complete) << QByteArray("/x");
        // The limit holds for the request, however small the pieces it comes in.
        QTest::newRow("8 KB in small pieces") << QList<QByteArray>(9, "GET / HTTP/1.1\r\nX: " + QByteArray(1000, 'a'))
                                              << int(Status::TooLarge) << QByteArray();
        QTest::newRow("a body announced too large") << QList<QByteArray>{"POST /x HTTP/1.1\r\nContent-Length: 9000\r\n\r\n"}
                                                    << int(Status::TooLarge) << QByteArray();
        QTest::newRow("a chunked body") << QList<QByteArray>{"POST /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"}
                                        << int(Status::Malformed) << QByteArray();
        QTest::newRow("two lengths") << QList<QByteArray>{"POST /x HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab"}
                                     << int(Status::Malformed) << QByteArray();
        QTest::newRow("a folded header") << QList<QByteArray>{"GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n"} << int(Status::Malformed)
                                         << QByteArray();
        QTest::newRow("HTTP/2 in plain text") << QList<QByteArray>{"PRI * HTTP/2.0\r\n\r\n"} << int(Status::Malformed)
                                              << QByteArray();
        QTest::newRow("a bare LF") << QList<QByteArray>{"GET / HTTP/1.1\nHost: a\r\n\r\n"} << int(Status::Malformed) << QByteArray();
    }

    void requestsAreReadWholeOrRefused()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(int, status);
        QFETCH(QByteArray, path);
        HttpRequestReader reader(8 * 1024);
        Status last = Status::Incomplete;
        for (const QByteArray& piece : pieces)
            last = reader.append(piece);
        QCOMPARE(int(last), status);
        if (last == Status::Complete)
            QCOMPARE(reader.take().path, path);
    }

    void pipelinedRequestsComeOneAfterAnother()
    {
        HttpRequestReader reader(8 * 1024);
        QCOMPARE(reader.append("GET /a HTTP/1.1\r\n\r\nGET /b HTTP/1.0\r\n\r\nGET /c"), Status::Complete);
        QCOMPARE(reader.take().path, QByteArray("/a"));
        QCOMPARE(reader.status(), Status::Complete);
        const HttpRequest second = reader.take();
        QCOMPARE(second.path, QByteArray("/b"));
        QCOMPARE(second.minorVersion, 0);
        QCOMPARE(reader.status(), Status::Incomplete);
        QVERIFY(reader.hasPartialRequest());
    }

    void theClientSaysWhetherTheConnectionStays_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("keepsAlive");
        QTest::newRow("HTTP/1.1") << QByteArray("GET / HTTP/1.1\r\n\r\n") << true;
        QTest::newRow("HTTP/1.1, close") << QByteArray("GET / HTTP/1.1\r\nConnection: Close\r\n\r\n") << false;
        QTest::newRow("HTTP/1.1, close among others") << QByteArray("GET / HTTP/1.1\r\nConnection: TE, close\r\n\r\n") << false;
        QTest::newRow("HTTP/1.0") << QByteArray("GET / HTTP/1.0\r\n\r\n") << false;
        QTest::newRow("HTTP/1.0, keep-alive") << QByteArray("GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n") << true;
    }

    void theClientSaysWhetherTheConnectionStays()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, keepsAlive);
        HttpRequestReader reader(8 * 1024);
        QCOMPARE(reader.append(request), Status::Complete);
        QCOMPARE(reader.take().keepsAlive(), keepsAlive);
        QVERIFY(httpResponse(200, "a/b", "xy", keepsAlive)
                    .endsWith(keepsAlive ? "Connection: keep-alive\r\n\r\nxy" : "Connection: close\r\n\r\nxy"));
    }

    void theHandshakeAnswersTheClientsKey()
    {
        // The example of the WebSocket protocol's own definition.
        QCOMPARE(ws::acceptKey("dGhlIHNhbXBsZSBub25jZQ=="), QByteArray("s3pPLMBiTxaQ9kYGzzhZRbK+xOo="));
        QVERIFY(ws::isValidClientKey("dGhlIHNhbXBsZSBub25jZQ=="));
        QVERIFY(!ws::isValidClientKey("c2hvcnQ="));
        QVERIFY(!ws::isValidClientKey("not base64 at all!!!!!!="));
    }

    void serverFramesCarryTheirLength_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("125") << 125 << QByteArray("\x81\x7d");
        QTest::newRow("126") << 126 << QByteArray("\x81\x7e\x00\x7e", 4);
        QTest::newRow("65535") << 65535 << QByteArray("\x81\x7e\xff\xff");
        QTest::newRow("65536") << 65536 << QByteArray("\x81\x7f\x00\x00\x00\x00\x00\x01\x00\x00", 10);
    }

    void serverFramesCarryTheirLength()
    {
        QFETCH(int, size);
        QFETCH(QByteArray, head);
        const QByteArray f = ws::frame(ws::Text, QByteArray(size, 'x'));
        QCOMPARE(f.left(head.size()), head);
        QCOMPARE(f.size(), head.size() + size);
    }

    void clientFramesAreUnmaskedAndChecked_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("opcode"); // -1: no frame yet
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("error"); // 0: none
        const QByteArray mask("\x01\x02\x03\x04");
        QTest::newRow("a masked pong") << QByteArray("\x8a\x82") + mask + QByteArray("\x69\x6b", 2) << int(ws::Pong)
                                       << QByteArray("hi") << 0;
        QTest::newRow("half a frame") << QByteArray("\x81\x85\x01\x02") << -1 << QByteArray() << 0;
        QTest::newRow("an unmasked frame") << QByteArray("\x81\x02hi") << -1 << QByteArray() << int(ws::ProtocolError);
        QTest::newRow("reserved bits") << QByteArray("\xc1\x80") + mask << -1 << QByteArray() << int(ws::ProtocolError);
        QTest::newRow("an unknown opcode") << QByteArray("\x83\x80") + mask << -1 << QByteArray() << int(ws::ProtocolError);
        QTest::newRow("a fragmented ping") << QByteArray("\x09\x80") + mask << -1 << QByteArray() << int(ws::ProtocolError);
        QTest::newRow("a frame over 8 KB") << QByteArray("\x82\xfe\x20\x01", 4) + mask << -1 << QByteArray() << int(ws::TooBig);
    }

    void clientFramesAreUnmaskedAndChecked()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, opcode);
        QFETCH(QByteArray, payload);
        QFETCH(int, error);
        ws::FrameReader reader(8 * 1024);
        reader.append(bytes);
        const auto frame = reader.next();
        QCOMPARE(frame ? int(frame->opcode) : -1, opcode);
        if (frame)
            QCOMPARE(frame->payload, payload);
        QCOMPARE(int(reader.error().value_or(ws::CloseCode(0))), error);
    }

    void onlyTheFeedsOwnPagesOpenTheLiveSocket_data()
    {
        QTest::addColumn<QByteArray>("origin");
        QTest::addColumn<QString>("local");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("video software sends none") << QByteArray() << "127.0.0.1" << true;
        QTest::newRow("a local file") << QByteArray("null") << "127.0.0.1" << true;
        QTest::newRow("the overlay page") << QByteArray("http://127.0.0.1:47800") << "127.0.0.1" << true;
        QTest::newRow("the overlay page by name") << QByteArray("http://localhost:47800") << "127.0.0.1" << true;
        QTest::newRow("on the network") << QByteArray("http://192.168.1.20:47800") << "192.168.1.20" << true;
        QTest::newRow("localhost from the network") << QByteArray("http://localhost:47800") << "192.168.1.20" << false;
        QTest::newRow("another port") << QByteArray("http://127.0.0.1:8080") << "127.0.0.1" << false;
        QTest::newRow("another site") << QByteArray("https://example.com") << "127.0.0.1" << false;
        QTest::newRow("a name that points here") << QByteArray("http://rebound.example:47800") << "127.0.0.1" << false;
        QTest::newRow("a look-alike") << QByteArray("http://127.0.0.1.example:47800") << "127.0.0.1" << false;
    }

    void onlyTheFeedsOwnPagesOpenTheLiveSocket()
    {
        QFETCH(QByteArray, origin);
        QFETCH(QString, local);
        QFETCH(bool, allowed);
        QCOMPARE(isAllowedOrigin(origin, QHostAddress(local), 47800), allowed);
    }
};

QTEST_GUILESS_MAIN(TestFeedProtocol)
#include "tst_feedprotocol.moc"
