// The settings store against a process killed in the middle of saving. A child
// (this same program, started with --save-loop) saves two complete records in
// turn as fast as it can; the test kills it at a random moment, then checks that
// the store still loads whole: every key present, all of one save or all of the
// other, never a mix. It also checks that the next save is not held up by
// whatever the killed process left behind.
//
// TALLIVOX_DURABILITY_SEED fixes the random kill moments; TALLIVOX_DURABILITY_TRIALS
// changes the number of kills (1000 by default).

#include "configkeys.h"
#include "configrecord.h"
#include "configstore.h"
#include "soakrandom.h"
#include "storemodel.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

char* toString(const ConfigRecord& record)
{
    QString text;
    QDebug(&text) << record;
    return qstrdup(text.toUtf8().constData());
}

namespace {

// A save that waits on an abandoned lock freezes for 30 s; anything under this is
// only a busy disk's fsync.
constexpr qint64 StallMs = 10000;

constexpr char SaveLoopArgument[] = "--save-loop";
const QString ProgramFolder = QStringLiteral("/opt/tallivox");

// Two records that differ from each other, and from the defaults, wherever a
// field can, and whose files differ in size.
ConfigRecord recordA()
{
    ConfigRecord r = defaultConfig(ProgramFolder);
    r.TimeColor = 0x123456;
    r.LEDBack = 0x010203;
    r.ScoreColor = 0x0000fe;
    r.PeriodColor = 0x00aa00;
    r.FormBack = 0x202020;
    r.LEDSelected = 0x303030;
    r.BorderColor = 0x0f0f0f;
    r.HomeColor = 0x111111;
    r.VisitorColor = 0x222222;
    r.GreenBackColor = 0x00ff00;
    r.LEDSelectedWidth = 1;
    r.StartStopClockKey = 'G';
    r.ResetClockKey = 'H';
    r.ResetShotClockKey = 'J';
    r.ClockSwitchKey = 'K';
    r.ClearKey = 46;
    r.BuzzerKey = 'L';
    r.BuzzerFile = QStringLiteral("/srv/a/buzz one.wav");
    r.ShotClockFile = QStringLiteral("/srv/a/horn one.wav");
    r.QScoreH1 = 114;
    r.QScoreH2 = 115;
    r.QScoreH3 = 116;
    r.QScoreV1 = 117;
    r.QScoreV2 = 118;
    r.QScoreV3 = 119;
    r.QPeriod1 = 120;
    r.NumLockForce = 1;
    r.PeriodText = QStringLiteral("Quarter");
    r.HomeText = QStringLiteral("Lions");
    r.VisitorText = QStringLiteral("Bears, the");
    r.BoardPic = QStringLiteral("/srv/a/logo.png");
    r.LEDType = 1;
    r.UseShotClock = true;
    r.ShowShotClockScreen = true;
    r.ShotClockResetTime = 24;
    r.ScoreboardView = 1;
    return r;
}

ConfigRecord recordB()
{
    ConfigRecord r = defaultConfig(ProgramFolder);
    r.TimeColor = 0xabcdef;
    r.LEDBack = 0x0a0b0c;
    r.ScoreColor = 0x00fe00;
    r.PeriodColor = 0xaa0000;
    r.FormBack = 0x404041;
    r.LEDSelected = 0x505050;
    r.BorderColor = 0xf0f0f0;
    r.HomeColor = 0x333333;
    r.VisitorColor = 0x444444;
    r.GreenBackColor = 0xff00ff;
    r.LEDSelectedWidth = 3;
    r.StartStopClockKey = 'M';
    r.ResetClockKey = 'N';
    r.ResetShotClockKey = 'O';
    r.ClockSwitchKey = 'Q';
    r.ClearKey = 'U';
    r.BuzzerKey = 'V';
    r.BuzzerFile = QStringLiteral("/srv/b/a much longer folder name/buzzer two.wav");
    r.ShotClockFile = QStringLiteral("/srv/b/a much longer folder name/horn two.wav");
    r.QScoreH1 = 186;
    r.QScoreH2 = 188;
    r.QScoreH3 = 191;
    r.QScoreV1 = 192;
    r.QScoreV2 = 219;
    r.QScoreV3 = 220;
    r.QPeriod1 = 221;
    r.NumLockForce = 2;
    r.PeriodText = QStringLiteral("Half");
    r.HomeText = QStringLiteral("Home team with a long name");
    r.VisitorText = QStringLiteral("Ünïcødé ✓");
    r.BoardPic = QString(); // an empty value must be kept as a key all the same
    r.LEDType = 0;
    r.UseShotClock = false;
    r.ShowShotClockScreen = false;
    r.ShotClockResetTime = 30;
    r.ScoreboardView = 0;
    return r;
}

// The placement the store holds from the last time the box closed: SaveConfig
// never writes it, so every save must carry it over untouched.
constexpr float PlacementLeft = 1234;
constexpr float PlacementTop = -567;
constexpr float PlacementHeight = 2345;

ConfigRecord withPlacement(ConfigRecord r)
{
    r.StartX = qint16(PlacementLeft);
    r.StartY = qint16(PlacementTop);
    r.Height = qint16(PlacementHeight);
    return r;
}

// The child: saves A and B in turn until it is killed.
int saveLoop(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const ConfigRecord records[] = {recordA(), recordB()};
    int next = argc > 2 && qstrcmp(argv[2], "B") == 0 ? 1 : 0;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        Config() = records[next];
        SaveConfig();
        next = 1 - next;
    }
}

} // namespace

class TestSettingsDurability : public QObject
{
    Q_OBJECT

private:
    QString m_store;
    QTemporaryDir m_checks;
    int m_checkCopies = 0;

    // What a fresh start would read from the store now. The file is read through a
    // copy under a name never used before, so that nothing QSettings remembers of
    // the store from this process's own saves can stand in for the file itself.
    struct Reading
    {
        QSettings::Status status = QSettings::NoError;
        QStringList missingKeys;
        ConfigRecord record;
    };
    Reading readStore()
    {
        Reading reading;
        const QString copy = m_checks.filePath(QStringLiteral("check-%1.ini").arg(++m_checkCopies));
        QFile store(m_store);
        QFile copyFile(copy);
        if (!store.open(QIODevice::ReadOnly) || !copyFile.open(QIODevice::WriteOnly) || copyFile.write(store.readAll()) < 0) {
            reading.status = QSettings::AccessError;
            return reading;
        }
        copyFile.close();
        {
            QSettings settings(copy, QSettings::IniFormat);
            reading.status = settings.status();
            for (const configkeys::SettingKey& key : configkeys::Table) {
                if (!settings.contains(key.path()))
                    reading.missingKeys << key.path();
            }
            LoadConfig(reading.record, settings, ProgramFolder);
        }
        QFile::remove(copy);
        return reading;
    }

    // The temporary files of saves that never finished, removed once counted.
    int takeLeftoverTemporaries()
    {
        const QFileInfo store(m_store);
        const QStringList names = store.dir().entryList({store.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
        int count = 0;
        for (const QString& name : names) {
            if (name == store.fileName() + QStringLiteral(".lock"))
                continue;
            ++count;
            QFile::remove(store.dir().filePath(name));
        }
        return count;
    }

    // The mean time of one save, to spread the kills over a few of them.
    qint64 meanSaveMicroseconds()
    {
        constexpr int Saves = 40;
        const ConfigRecord records[] = {recordA(), recordB()};
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Saves; ++i) {
            Config() = records[i % 2];
            SaveConfig();
        }
        return timer.nsecsElapsed() / 1000 / Saves;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_checks.isValid());
        m_store = tallivoxSettings()->fileName();
        QVERIFY(QDir().mkpath(QFileInfo(m_store).path()));
        QFile::remove(m_store);
        QFile::remove(m_store + QStringLiteral(".lock"));
    }

    void anEmptyLockLeftByAKilledSaveDoesNotHoldUpTheNext()
    {
        // Given the lock file a writer killed right after creating it leaves behind,
        QFile lock(m_store + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();

        // when the settings are saved,
        Config() = recordB();
        QElapsedTimer timer;
        timer.start();
        SaveConfig();

        // then the save goes through at once.
        QVERIFY2(timer.elapsed() < StallMs, QByteArray::number(timer.elapsed()).constData());
        QCOMPARE(readStore().record, recordB());
        QVERIFY(!QFileInfo::exists(lock.fileName()));
    }

    void storeLoadsWholeAfterEveryKillInTheMiddleOfASave()
    {
        const std::uint64_t seed = soakSeed("TALLIVOX_DURABILITY_SEED");
        const int trials = soakCount("TALLIVOX_DURABILITY_TRIALS", 1000);
        qInfo("durability: seed %llu (set TALLIVOX_DURABILITY_SEED=%llu to repeat), %d trials",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), trials);
        std::mt19937_64 random(seed);

        // Given a store holding A and a placement, as after an earlier run.
        Config() = recordA();
        SaveConfig();
        SaveBoxPlacement(PlacementLeft, PlacementTop, PlacementHeight);
        const ConfigRecord a = withPlacement(recordA());
        const ConfigRecord b = withPlacement(recordB());
        QCOMPARE(readStore().record, a);

        const qint64 saveUs = std::max<qint64>(meanSaveMicroseconds(), 50);
        // Past the child's start-up the kill lands anywhere in its first two saves,
        // which write the whole file over what the store held before.
        const qint64 maxDelayUs = 2 * saveUs;
        std::uniform_int_distribution<qint64> delayUs(0, maxDelayUs);
        std::bernoulli_distribution parentWritesB(0.5);

        int endedAsA = 0, endedAsB = 0, leftoverTemporaries = 0, leftoverLocks = 0, emptyLocks = 0;
        qint64 slowestRecoveryMs = 0;
        bool storeHoldsB = false;
        QElapsedTimer total;
        total.start();
        for (int trial = 0; trial < trials; ++trial) {
            const QByteArray where = QByteArray("trial ") + QByteArray::number(trial) + " of seed " + QByteArray::number(qulonglong(seed));

            // When a child saving as fast as it can is killed at a random moment,
            QProcess child;
            child.setProgram(QCoreApplication::applicationFilePath());
            // Its first save changes the store, whichever record that holds.
            child.setArguments({QString::fromLatin1(SaveLoopArgument), storeHoldsB ? QStringLiteral("A") : QStringLiteral("B")});
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start();
            QVERIFY2(child.waitForStarted(10000), where.constData());
            QVERIFY2(child.waitForReadyRead(10000), where.constData());
            const qint64 delay = delayUs(random);
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            // It must be our kill that ends it, not a failure of its own.
            QVERIFY2(child.state() == QProcess::Running, where.constData());
            child.kill();
            QVERIFY2(child.waitForFinished(10000), where.constData());
            QVERIFY2(child.exitStatus() == QProcess::CrashExit, where.constData());

            // then the store loads, with every key, as exactly one of the two records.
            const Reading reading = readStore();
            QVERIFY2(reading.status == QSettings::NoError, where.constData());
            QVERIFY2(reading.missingKeys.isEmpty(),
                     (where + " lost " + reading.missingKeys.join(QStringLiteral(", ")).toUtf8()).constData());
            if (reading.record == a) {
                ++endedAsA;
            } else {
                QVERIFY2(reading.record == b,
                         (where + " mixed the records: " + differences(reading.record, b).toUtf8()).constData());
                ++endedAsB;
            }

            leftoverTemporaries += takeLeftoverTemporaries();
            const QFileInfo lock(m_store + QStringLiteral(".lock"));
            const bool lockLeft = lock.exists();
            const bool lockEmpty = lockLeft && lock.size() == 0;
            leftoverLocks += lockLeft;
            emptyLocks += lockEmpty;

            // And the next save goes through at once, whatever the kill left behind.
            storeHoldsB = parentWritesB(random);
            const ConfigRecord next = storeHoldsB ? recordB() : recordA();
            Config() = next;
            QElapsedTimer recovery;
            recovery.start();
            SaveConfig();
            const qint64 recoveryMs = recovery.elapsed();
            slowestRecoveryMs = std::max(slowestRecoveryMs, recoveryMs);
            QVERIFY2(recoveryMs < StallMs,
                     (where + " the save after the kill took " + QByteArray::number(recoveryMs) + " ms; lock file left: "
                      + (lockEmpty ? "empty" : lockLeft ? "named" : "none"))
                         .constData());
            QCOMPARE(readStore().record, withPlacement(next));
        }

        qInfo("durability: %d kills in %lld ms; a save takes about %lld us, kills spread over %lld us after start-up",
              trials, total.elapsed(), saveUs, maxDelayUs);
        qInfo("durability: store held A %d times, B %d times; killed saves left %d temporary files and %d lock files "
              "(%d empty); slowest save after a kill %lld ms",
              endedAsA, endedAsB, leftoverTemporaries, leftoverLocks, emptyLocks, slowestRecoveryMs);
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], SaveLoopArgument) == 0)
        return saveLoop(argc, argv);
    QCoreApplication app(argc, argv);
    TestSettingsDurability test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsdurability.moc"
