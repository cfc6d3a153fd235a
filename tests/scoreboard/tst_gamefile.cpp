// The game kept across a crash: read back whole, a damaged file set aside and
// said, a file from before the blank shot clock was kept still read, one whole
// game whenever the writer is killed, and a normal end keeps the last game,
// offered back for 12 hours.

#include "gamefile.h"
#include "killloop.h"
#include "timesource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The kill loop's n-th save: every field follows from n, so a mix of two saves shows.
GameState savedGame(int n)
{
    return GameState{n % 200, n % 200, n % 10, ClockSeconds::fromTicks(n), true, ClockSeconds::fromTicks(2 * n),
                     ClockSeconds::fromTicks(3 * n), false, n % 2 == 0, n % 3 == 0, n % 5 == 0};
}

void saveGame(const QString& path, int n)
{
    static GameFile file(path);
    file.save(savedGame(n));
    QThread::usleep(200);
}

QString faultInGameFile(const QString& path)
{
    const std::optional<GameState> kept = GameFile(path).takeLeftover();
    if (!kept)
        return QStringLiteral("no whole game");
    return *kept == savedGame(int(kept->gameClock.ticks())) ? QString() : QStringLiteral("a mix of two saves");
}

const GameState Kept = [] {
    GameState s{7, 103, 4, ClockSeconds::fromTicks(1234000), true, ClockSeconds::fromSeconds(300),
                ClockSeconds::fromTicks(123000), true, true, false, false};
    s.homeFouls = 11;
    s.visitorFouls = -1;
    s.visitorFoulsLastTwoMinutes = 2;
    s.homeTimeouts = 9;
    s.possession = game::Possession::Visitor;
    s.visitorBonus = game::Bonus::DoubleBonus;
    s.ruleSet = QStringLiteral("NCAAM");
    s.shotClockTenths = true;
    return s;
}();

bool writeFile(const QString& to, const QByteArray& bytes)
{
    QFile file(to);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_GameFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aDamagedFileIsMovedAsideAndAWholeOneReadBack_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("whole");
        const QByteArray json = toJson(Kept);
        QTest::newRow("as written") << json << true;
        QTest::newRow("cut short") << json.left(json.size() / 2) << false;
        QTest::newRow("not an object") << QByteArray("[1, 2]") << false;
        QTest::newRow("a score out of range") << QByteArray(json).replace("103", "200") << false;
        QTest::newRow("a fraction of a tick") << QByteArray(json).replace("1234000", "1234000.5") << false;
        QTest::newRow("a negative clock") << QByteArray(json).replace("1234000", "-1") << false;
        QTest::newRow("another version") << QByteArray(json).replace("\"version\": 1", "\"version\": 2") << false;
        QTest::newRow("a flag as a number") << QByteArray(json).replace("\"showsTimeOfDay\": false", "\"showsTimeOfDay\": 0") << false;
        QTest::newRow("the blank shot clock as a number") << QByteArray(json).replace("\"shotClockBlank\": false", "\"shotClockBlank\": 1") << false;
        QTest::newRow("team fouls beyond 99") << QByteArray(json).replace("\"homeFouls\": 11", "\"homeFouls\": 100") << false;
        QTest::newRow("an unknown possession") << QByteArray(json).replace("\"visitor\"", "\"away\"") << false;
        QTest::newRow("an unknown bonus") << QByteArray(json).replace("\"doubleBonus\"", "\"triple\"") << false;
        // Written before a blank shot clock was kept: one that is not blank.
        QTest::newRow("no blank shot clock") << QByteArray(json).replace("\"shotClockBlank\": false", "\"x\": 0") << true;
    }

    void aDamagedFileIsMovedAsideAndAWholeOneReadBack()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, whole);
        QTemporaryDir dir;
        const QString path = dir.filePath("game.json");
        // One damaged before: a newly damaged game takes its place.
        QVERIFY(writeFile(path + ".bad", "an older damaged game") && writeFile(path, content));
        QStringList said;
        const std::optional<GameState> kept = GameFile(path, [&](const QString& s) { said << s; }).takeLeftover();
        QCOMPARE(kept.has_value(), whole);
        QVERIFY(!whole || *kept == Kept);
        QCOMPARE(contentOf(path + ".bad"), whole ? QByteArray("an older damaged game") : content);
        // A fresh game where the operator expected the last one is explained.
        QCOMPARE(said, whole ? QStringList() : QStringList{"The saved game could not be read; it was kept as game.json.bad."});
    }

    // A crash at the end of a period leaves both clocks at 0.0: a whole game.
    void aGameAtTimeUpIsWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("game.json");
        GameState timeUp = Kept;
        timeUp.gameClock = timeUp.shotClock = ClockSeconds::fromTicks(0);
        timeUp.gameClockRunning = timeUp.shotClockRunning = false;
        GameFile(path).save(timeUp);
        QCOMPARE(GameFile(path).takeLeftover(), std::optional<GameState>(timeUp));
    }

    void aNormalEndKeepsTheLastGameAndRemovesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("game.json");
        const QString kept = dir.filePath("last-game.json");
        QStringList said;
        const auto hear = [&](const QString& s) { said << s; };
        // Nothing can be kept where a folder stands: that is said, and the game
        // file takes the game to bring it back at the next start.
        QVERIFY(writeFile(path, "the game as last saved") && QDir().mkdir(kept));
        GameFile(path, hear).retire(Kept);
        QCOMPARE(said, QStringList{"The last game was not kept in " + kept + ": a folder stands in its place."});
        QCOMPARE(contentOf(path), toJson(Kept));

        // An older last game gives way; a save after the end writes nothing.
        QVERIFY(QDir().rmdir(kept) && writeFile(kept, "an older game"));
        {
            GameFile file(path, hear);
            file.save(savedGame(1));
            file.retire(Kept);
            file.save(savedGame(2));
        }
        QCOMPARE(contentOf(kept), toJson(Kept));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(said.size(), 1);
    }

    void theLastGameIsOfferedForTwelveHours_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("minutesLater");
        QTest::addColumn<bool>("crashLeftAGame");
        QTest::addColumn<bool>("offered");
        const QByteArray json = toJson(Kept);
        QTest::newRow("11:59 later") << json << 11 * 60 + 59 << false << true;
        QTest::newRow("12:01 later") << json << 12 * 60 + 1 << false << false;
        QTest::newRow("damaged") << json.left(json.size() - 2) << 1 << false << false;
        QTest::newRow("a crash's game waits") << json << 1 << true << false;
    }

    void theLastGameIsOfferedForTwelveHours()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, minutesLater);
        QFETCH(bool, crashLeftAGame);
        QFETCH(bool, offered);
        QTemporaryDir dir;
        const QString path = dir.filePath("game.json");
        const QString kept = dir.filePath("last-game.json");
        QVERIFY(writeFile(kept, content));
        QVERIFY(!crashLeftAGame || writeFile(path, toJson(Kept)));
        const QDateTime now = QFileInfo(kept).lastModified().addSecs(minutesLater * 60);
        QCOMPARE(GameFile(path).lastGame(now), offered ? std::optional<GameState>(Kept) : std::nullopt);
    }

    void aKilledWriterLeavesOneWholeGame()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("game.json");
        {
            GameFile file(path);
            file.save(savedGame(0));
        }
        const QString fault = killloop::killWhileSaving(path, faultInGameFile);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

int main(int argc, char** argv)
{
    killloop::runWriterIfAsked(argc, argv, saveGame);
    QApplication app(argc, argv);
    tst_GameFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gamefile.moc"
