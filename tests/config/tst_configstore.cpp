// The configuration record against the settings store: the text conversions of
// every kind of key, the save/load round trip, the placement written when the
// score box closes, files that are not what the program wrote, and saves cut
// short by a killed process. Every store here lives in a temporary folder.

#include "configrecord.h"
#include "configstore.h"
#include "killloop.h"
#include "loopwatch.h"
#include "units.h"

#include <QDebug>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>

char* toString(const ConfigRecord& record)
{
    QString text;
    QDebug(&text) << record;
    return qstrdup(text.toUtf8().constData());
}

namespace {

const QString ProgramFolder = QStringLiteral("/opt/tallivox");

// The test's own view of one field of each kind, by settings path, so that a
// wrong key name in the program's table shows up here.
const QHash<QString, std::function<qint64(const ConfigRecord&)>> Fields{
    {"ColorSettings/TimeColor", [](const ConfigRecord& r) { return qint64(r.TimeColor); }},
    {"ColorSettings/LEDSelected", [](const ConfigRecord& r) { return qint64(r.LEDSelected); }},
    {"KeySettings/ClearKey", [](const ConfigRecord& r) { return qint64(r.ClearKey); }},
    {"AdditionalSettings/UseShotClock", [](const ConfigRecord& r) { return units::toVbBoolean(r.UseShotClock); }},
    {"Views/ScoreboardView", [](const ConfigRecord& r) { return qint64(r.ScoreboardView); }},
    {"Views/StartX", [](const ConfigRecord& r) { return qint64(r.StartX); }},
    {"Views/Height", [](const ConfigRecord& r) { return qint64(r.Height); }},
    {"FeedSettings/FeedPort", [](const ConfigRecord& r) { return qint64(r.FeedPort); }},
    {"FeedSettings/ControlToken", [](const ConfigRecord& r) { return qint64(r.ControlToken.size()); }},
    // The address as its last number, or -1 when it is not the text stored.
    {"FeedSettings/FeedAddress", [](const ConfigRecord& r) { return r.FeedAddress.startsWith("10.1.2.") ? r.FeedAddress.section('.', 3).toLongLong() : r.FeedAddress == "127.0.0.1" ? 1 : -1; }},
};

// The 62 keys the options dialog's OK writes, sorted; a word ending in "/" is a group.
const QStringList SavedKeys = [] {
    QStringList keys;
    QString group;
    for (const QString& word : QStringLiteral(
             "ColorSettings/ TimeColor LEDBack LEDSelected ScoreColor PeriodColor FormBack BorderColor HomeColor "
             "VisitorColor GreenBackColor LEDSelectedWidth KeySettings/ StartStopClockKey ResetClockKey "
             "ResetShotClockKey ClockSwitchKey ClearKey BuzzerKey BuzzerFile ShotClockFile NumLockForce "
             "QuickKeySettings/ QScoreH1 QScoreH2 QScoreH3 QScoreV1 QScoreV2 QScoreV3 QPeriod1 QHomeFoul QVisitorFoul QHomeTimeout QVisitorTimeout QPossession "
             "ResetShotClockShortKey AdditionalSettings/ "
             "UseShotClock ShowShotClockScreen ShotClockResetTime TextSettings/ PeriodText HomeText VisitorText "
             "PicSettings/ BoardPic LEDType Views/ ScoreboardView FeedSettings/ FeedEnabled FeedPort FeedAddress ControlEnabled ControlToken "
             "GameSettings/ RuleSet PeriodLength Periods OvertimeLength ShotClockShortTime ShotClockTenths "
             "ShotClockSwitchOff BonusFouls DoubleBonusFouls FoulsPerHalf TimeoutsFirstHalf TimeoutsSecondHalf "
             "TimeoutsOvertime TimeoutsCarryOver ShowTeamFouls").split(u' '))
        word.endsWith(u'/') ? void(group = word) : void(keys << group + word);
    keys.sort();
    return keys;
}();

// Every field SaveConfig writes away from its default, with text that an INI file
// has to escape; the placement is what loads when the store has none.
ConfigRecord unusualRecord()
{
    ConfigRecord r;
    r.TimeColor = -1; r.LEDBack = 2147483647; r.ScoreColor = -2147483647 - 1; r.PeriodColor = 1; r.FormBack = 123456;
    r.LEDSelected = 654321; r.BorderColor = 2; r.HomeColor = 3; r.VisitorColor = 4; r.GreenBackColor = 65280;
    r.LEDSelectedWidth = 3; r.StartStopClockKey = 32; r.ResetClockKey = -32768; r.ResetShotClockKey = 32767;
    r.ClockSwitchKey = 112; r.ClearKey = 46; r.BuzzerKey = 13; r.BuzzerFile = "/home/op/My Sounds/buzz, loud.wav";
    r.ShotClockFile = "@horn;=\"odd\"\\.wav"; r.QScoreH1 = 97; r.QScoreH2 = 98; r.QScoreH3 = 99; r.QScoreV1 = 100;
    r.QScoreV2 = 101; r.QScoreV3 = 102; r.QPeriod1 = 107; r.NumLockForce = 2; r.PeriodText = "  Quarter  ";
    r.HomeText = "Smith, Jones & Co"; r.VisitorText = QString::fromUtf8("Ünïcødé [Gäste] #1") + QChar(0xDC00) + "a";
    r.BoardPic = "@ByteArray(logo=1.png)"; r.LEDType = 1; r.UseShotClock = true; r.ShowShotClockScreen = true;
    r.ShotClockResetTime = 24; r.ScoreboardView = 1; r.Height = 1170;
    r.FeedEnabled = true; r.FeedPort = 65535; r.FeedAddress = "0.0.0.0";
    r.ControlEnabled = true; r.ControlToken = "0123456789abcdefghijklmnopqrstuvwxyzAB-_";
    r.QHomeFoul = 1; r.QVisitorFoul = 2; r.QHomeTimeout = 3; r.QVisitorTimeout = 4; r.QPossession = 5;
    r.ResetShotClockShortKey = 6; r.RuleSet = "NCAAW"; r.PeriodLength = 12; r.Periods = 2; r.OvertimeLength = 3;
    r.ShotClockShortTime = 20; r.ShotClockTenths = true; r.ShotClockSwitchOff = true; r.BonusFouls = 7;
    r.DoubleBonusFouls = 10; r.FoulsPerHalf = true; r.TimeoutsFirstHalf = 4; r.TimeoutsSecondHalf = 0;
    r.TimeoutsOvertime = 9; r.TimeoutsCarryOver = true; r.ShowTeamFouls = true;
    return r;
}

ConfigRecord loadedFrom(QSettings& settings)
{
    ConfigRecord record;
    LoadConfig(record, settings, ProgramFolder);
    return record;
}

// The kill loop's writer saves these two in turn; they differ in every field.
ConfigRecord savedRecord(int n) { return n % 2 ? defaultConfig(ProgramFolder) : unusualRecord(); }

// The kill loop's writer, through the program's own forms.
void saveInProgramStore(const QString&, int n)
{
    Config() = savedRecord(n);
    SaveConfig();
}

QString faultInSavedStore(const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    QStringList keys = settings.allKeys();
    keys.sort();
    if (keys != SavedKeys)
        return QStringLiteral("keys ") + keys.join(u' ');
    const ConfigRecord loaded = loadedFrom(settings);
    if (loaded == savedRecord(0) || loaded == savedRecord(1))
        return {};
    return QStringLiteral("neither save whole: ") + QString::fromUtf8(std::unique_ptr<char[]>(toString(loaded)).get());
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "Group/Key=text" for each key of the file, sorted; read from a copy under a
// new name, so that no settings object's cache stands in for the file.
QStringList storedKeys(const QString& path)
{
    static int copies = 0;
    const QString copy = path + ".read" + QString::number(++copies);
    QFile::copy(path, copy);
    QStringList keys;
    {
        QSettings settings(copy, QSettings::IniFormat);
        for (const QString& key : settings.allKeys())
            keys << key + "=" + settings.value(key).toString();
    }
    QFile::remove(copy);
    keys.sort();
    return keys;
}

} // namespace

class tst_ConfigStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_configHome;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        // The program's own store must land here, never in a real user's settings;
        // QSettings reads the variable once, at its first per-user store.
        QVERIFY(m_configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
    }

    void init() { QFile::remove(m_dir.filePath("t.ini")); }

    void storedTextConverts_data()
    {
        QTest::addColumn<QStringList>("stored"); // key, text, key, text, ...
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("expected");
        const auto rows = [](const char* key, std::initializer_list<std::pair<const char*, qint64>> cases) {
            for (const auto& [text, expected] : cases)
                QTest::addRow("%s '%s' loads as %lld", key, text, expected) << QStringList{key, text} << key << expected;
        };
        // Whole numbers: nearest, ties to even. A 16-bit key takes its default (8) for
        // text that is no number or a number that does not fit once rounded.
        rows("KeySettings/ClearKey", {{"2.5", 2}, {"3.5", 4}, {"-1.5", -2}, {"2.5001", 3}, {"  66 ", 66}, {"1.1e2", 110},
                                      {".6", 1}, {"-32768", -32768}, {"32767.5", 8}, {"70000", 8}, {"S", 8}, {"", 8},
                                      {"nan", 8}, {"inf", 8}, {"2,5", 8}, {"0x10", 8}, {"12abc", 8}});
        // Colours keep any signed 32-bit value, as other 32-bit keys do.
        rows("ColorSettings/TimeColor", {{"-1", -1}, {"70000", 70000}, {"2147483648", 33023}, {"1e400", 33023}});
        // Placement and view: rounded down.
        rows("Views/StartX", {{"1530.75", 1530}, {"-0.5", -1}, {"32767.9", 32767}, {"32768", 0}});
        rows("Views/Height", {{"2.5", 2}, {"tall", 1170}});
        rows("Views/ScoreboardView", {{"1.9", 1}});
        // The feed's port is unprivileged; its address one IPv4 address, else the defaults.
        rows("FeedSettings/FeedPort", {{"1024", 1024}, {"65535", 65535}, {"1023", 47800}, {"65536", 47800}, {"http", 47800}});
        rows("FeedSettings/FeedAddress", {{"10.1.2.255", 255}, {" 10.1.2.3 ", 1}, {"10.1.2.256", 1}, {"10.1.2", 1},
                                          {"10.1.2.+3", 1}, {"localhost", 1}});
        // A control token is 32 or more URL-safe characters, else none.
        rows("FeedSettings/ControlToken", {{"abcdefghijklmnopqrstuvwxyz-_0123", 32}, {"abcdefghijklmnopqrstuvwxyz-_012", 0},
                                           {"abcdefghijklmnopqrstuvwxyz-_012+", 0}});
        // Booleans: -1 True, 0 False, in any letter case or as a number.
        rows("AdditionalSettings/UseShotClock", {{"True", -1}, {"true", -1}, {"TRUE", -1}, {" True ", -1}, {"-1", -1},
                                                 {"1", -1}, {"2.5", -1}, {"fAlSe", 0}, {"0", 0}, {"0.0", 0},
                                                 {"yes", 0}, {"", 0}, {"nan", 0}});
        // The selection colour follows FormBack unless it has a number of its own.
        const auto selection = [](const char* name, const QStringList& stored, qint64 expected) {
            QTest::newRow(name) << stored << QStringLiteral("ColorSettings/LEDSelected") << expected;
        };
        selection("FormBack alone gives LEDSelected", {"ColorSettings/FormBack", "255"}, 255);
        selection("a stored LEDSelected wins", {"ColorSettings/FormBack", "0", "ColorSettings/LEDSelected", "7"}, 7);
        selection("a bad LEDSelected falls back to FormBack", {"ColorSettings/FormBack", "99", "ColorSettings/LEDSelected", "red"}, 99);
        selection("a bad FormBack falls back to the default for both", {"ColorSettings/FormBack", "grey"}, 4210752);
    }

    void storedTextConverts()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, key);
        QFETCH(qint64, expected);
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        for (qsizetype i = 0; i + 1 < stored.size(); i += 2)
            settings.setValue(stored[i], stored[i + 1]);
        QCOMPARE(Fields.value(key)(loadedFrom(settings)), expected);
    }

    void boxPlacementText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("a fraction is kept") << 1530.75f << "1530.75";
        QTest::newRow("a whole number has no fraction") << 720.0f << "720";
        QTest::newRow("a float's noise is cut at seven digits") << 1170.1f << "1170.1";
        QTest::newRow("a large screen position has no exponent") << 1234567.0f << "1234567";
        QTest::newRow("a negative fraction") << -0.5f << "-0.5";
        QTest::newRow("not a number keeps the stored one") << float(qQNaN()) << "10";
        QTest::newRow("infinity keeps the stored one") << float(-qInf()) << "10";
    }

    void boxPlacementText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        SaveBoxPlacement(settings, 10, 10, 10);
        SaveBoxPlacement(settings, value, value, value);
        const QStringList written{settings.value("Views/StartX").toString(), settings.value("Views/StartY").toString(),
                                  settings.value("Views/Height").toString()};
        QCOMPARE(written, QStringList(3, text));
    }

    void aBadValueTakesItsDefaultWhileTheOtherKeysLoad()
    {
        // Values of other types, a line without "=", a broken group, quotes and a list, as a hand edit may leave.
        QFile file(m_dir.filePath("t.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ColorSettings]\nBorderColor=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18garbage)\nScoreColor=12345\n"
                   "HomeColor=@ByteArray(1)\nthis line has no equals sign\nGreenBackColor=65280\n[KeySettings]\n"
                   "ClearKey=@Invalid()\nBuzzerFile=/sounds/a.wav\n[TextSettings]\nHomeText=Smith, Jones\n"
                   "VisitorText=\"Quoted Visitors\"\n[Views]\nStartX=1530.75\n[broken group\nLEDType=1\n");
        file.close();
        QSettings settings(file.fileName(), QSettings::IniFormat);
        ConfigRecord loaded;
        loaded.ResetSizeAndPosition = loaded.RoundCorners = true; // run-time flags: not the store's
        LoadConfig(loaded, settings, ProgramFolder);
        ConfigRecord expected = defaultConfig(ProgramFolder);
        expected.ResetSizeAndPosition = expected.RoundCorners = true;
        expected.ScoreColor = 12345; expected.GreenBackColor = 65280; expected.BuzzerFile = "/sounds/a.wav";
        expected.HomeText = "Smith, Jones"; expected.VisitorText = "Quoted Visitors"; expected.StartX = 1530;
        QCOMPARE(loaded, expected);
    }

    void anEmptyLockLeftByAKilledSaveDoesNotHoldUpTheNext()
    {
        // A writer killed between creating the lock file and naming itself in it
        // leaves it empty; QLockFile waits 30 s before it calls that stale. One
        // killed while it removed a dead writer's lock leaves that lock and a
        // "remove" lock beside it, empty or named; writers killed one after the
        // other leave a chain of them, a level for each kill, up to the longest
        // name a file can have ("t.ini.lock" and 35 ".rmlock", 255 characters),
        // where QLockFile cannot take the next level to remove the last.
        const QString path = m_dir.filePath("t.ini");
        const QByteArray deadWriter = "2147483\ntst_configstore\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        QSettings settings(path, QSettings::IniFormat);
        constexpr int Deepest = 35;
        for (const int chain : {0, 1, Deepest}) {
            QString lockPath = path + ".lock";
            QStringList locks{lockPath};
            for (int i = 0; i < chain; ++i)
                locks << (lockPath += ".rmlock");
            for (const QString& name : locks) {
                QFile lock(name);
                QVERIFY(lock.open(QIODevice::WriteOnly));
                if (name != locks.last() || chain == Deepest)
                    lock.write(deadWriter);
            }
            const SaveProblem problem = chain ? SaveBoxPlacement(settings, 1, 2, 3) : SaveConfig(unusualRecord(), settings);
            QCOMPARE(problem.value_or(QString()), QString());
            // It holds the remote control's token: its owner's alone.
            struct stat written = {};
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &written), 0);
            QCOMPARE(written.st_mode & 0777, 0600u);
            for (const QString& name : locks)
                QVERIFY2(!QFile::exists(name), qPrintable(name));
            QVERIFY(QFile::exists(path));
        }
    }

    // A save that cannot reach the file says why at once: the clock behind it
    // never stops.
    void aSaveThatCannotReachTheFileSaysWhyAtOnce_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder named like the lock") << "t.ini.lock" << "its lock file is held by something else";
        QTest::newRow("a folder in the file's place") << "t.ini" << "a folder stands in its place";
    }

    void aSaveThatCannotReachTheFileSaysWhyAtOnce()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("t.ini");
        QVERIFY(QDir(dir.path()).mkdir(obstacle));
        QSettings settings(path, QSettings::IniFormat);
        SaveProblem problem;
        QVERIFY(longestStallMs([&] { problem = SaveConfig(unusualRecord(), settings); }) < 100);
        QCOMPARE(problem.value_or(QString()), reason);
    }

    void anOverLongValueLoadsAsItsFirstThousandCharacters()
    {
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        settings.setValue("TextSettings/HomeText", QString(1000, u'a') + QString(1000000, u'b'));
        settings.sync();
        ConfigRecord loaded;
        QVERIFY(longestStallMs([&] {
            QSettings reread(settings.fileName(), QSettings::IniFormat);
            loaded = loadedFrom(reread);
        }) < 100);
        QCOMPARE(loaded.HomeText, QString(1000, u'a'));
    }

    // What a load finds that the file must not keep (UTF-16 from a Windows editor
    // reads as keys full of NULs) is set aside as it was and the file written
    // anew at once, with the program's keys only; the next save keeps to them.
    // A plain file is left alone.
    void whatALoadMustRepairIsKeptAsideAndWrittenAnew_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("what"); // the notice's words, or none
        QTest::addColumn<QStringList>("kept");
        const QString period = QStringLiteral("TextSettings/PeriodText=Half");
        const QString utf16 = QStringLiteral("[TextSettings]\r\nHomeText=Lions\r\n");
        QTest::newRow("plain text") << QByteArray("[TextSettings]\nPeriodText=Half\n") << QString() << QStringList{period};
        QTest::newRow("UTF-16") << QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)
                                << "cannot be read" << QStringList{};
        // Some editors save it without its byte-order mark.
        QTest::newRow("UTF-16 without a mark") << QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)
                                               << "cannot be read" << QStringList{};
        QTest::newRow("keys not ours") << QByteArray("[TextSettings]\nPeriodText=Half\nPeriod=Quarter\n[Junk]\nKey=1\n")
                                       << "held settings that are not the program's" << QStringList{period};
        QTest::newRow("an over-long value") << "[TextSettings]\nHomeText=" + QByteArray(1000, 'a') + "b\n"
                                            << "held a value over 1000 characters long"
                                            << QStringList{"TextSettings/HomeText=" + QString(1000, u'a')};
    }

    void whatALoadMustRepairIsKeptAsideAndWrittenAnew()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, what);
        QFETCH(QStringList, kept);
        const QString path = m_dir.filePath("t.ini");
        QFile::remove(path + ".bad");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QSettings settings(path, QSettings::IniFormat);
        loadedFrom(settings);
        const std::optional<QString> said = RepairStore(settings);
        QCOMPARE(said.value_or(QString()), what.isEmpty() ? QString()
                                           : "The settings file " + path + " " + what + "; it was kept as " + path
                                                 + ".bad and written anew.");
        QCOMPARE(fileContent(path + ".bad"), what.isEmpty() ? QByteArray() : content);
        QCOMPARE(storedKeys(path), kept);
        QCOMPARE(SaveBoxPlacement(settings, 1, 2, 3).value_or(QString()), QString());
        QCOMPARE(storedKeys(path), QStringList(kept) << "Views/Height=3" << "Views/StartX=1" << "Views/StartY=2");
    }

    // A value of many megabytes is cut at load and the file written anew then,
    // so that the saves after it (one with every drag of the box) stay quick.
    void aSaveAfterLoadingAHugeValueIsQuick()
    {
        const QString path = tallivoxSettings()->fileName();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        const QByteArray huge = QByteArray(16 * 1024 * 1024, 'x');
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[TextSettings]\nHomeText=" + huge + "\n"));
        file.close();
        LoadConfig();
        QCOMPARE(Config().HomeText, QString(1000, u'x'));
        QElapsedTimer save;
        save.start();
        SaveBoxPlacement(1, 2, 3);
        QVERIFY2(save.elapsed() < 100, qPrintable(QString::number(save.elapsed()) + " ms"));
        QCOMPARE(QFileInfo(path + ".bad").size(), huge.size() + 25);
        QFile::remove(path + ".bad");
        QFile::remove(path);
    }

    // A copy in its build folder has the sounds beside the executable; an installed
    // one in share/tallivox/ beside bin/. Each file is looked for on its own, the
    // program folder first; one found nowhere is named there.
    void soundsDefaultToWhereTheProgramFindsThem_data()
    {
        QTest::addColumn<QStringList>("made"); // under usr/; a trailing "/" makes a folder
        QTest::addColumn<QString>("buzzer");
        QTest::addColumn<QString>("horn");
        const QString b = "bin/buzzer.wav", h = "bin/horn.wav", sb = "share/tallivox/buzzer.wav", sh = "share/tallivox/horn.wav";
        QTest::newRow("build folder") << QStringList{b, h} << b << h;
        QTest::newRow("installed") << QStringList{sb, sh} << sb << sh;
        QTest::newRow("one of each") << QStringList{h, sb, sh} << sb << h;
        QTest::newRow("nowhere") << QStringList{"share/tallivox/"} << b << h;
        QTest::newRow("a folder is no sound") << QStringList{b + '/', sb, sh + '/'} << sb << h;
    }

    void soundsDefaultToWhereTheProgramFindsThem()
    {
        QFETCH(QStringList, made);
        QFETCH(QString, buzzer);
        QFETCH(QString, horn);
        QTemporaryDir root;
        const QString usr = root.filePath("usr/");
        QVERIFY(QDir().mkpath(usr + "bin") && QDir().mkpath(usr + "share/tallivox"));
        for (const QString& path : made)
            QVERIFY(path.endsWith(u'/') ? QDir().mkpath(usr + path) : QFile(usr + path).open(QIODevice::WriteOnly));
        const ConfigRecord record = defaultConfig(usr + "bin");
        QCOMPARE(record.BuzzerFile, usr + buzzer);
        QCOMPARE(record.ShotClockFile, usr + horn);
    }

    void theProgramStoreKeepsOneWholeSaveWhenASaveIsKilled()
    {
        const QString path = tallivoxSettings()->fileName();
        QCOMPARE(path, m_configHome.filePath("Tallivox/Tallivox.ini"));
        LoadConfig();
        QCOMPARE(Config().BuzzerFile, QCoreApplication::applicationDirPath() + "/buzzer.wav");
        // Every field comes back, and the file holds plain text; the kill loop checks the keys.
        saveInProgramStore(path, 0);
        LoadConfig();
        QCOMPARE(Config(), unusualRecord());
        const auto store = tallivoxSettings();
        for (const auto& [key, text] : {std::pair{"ColorSettings/TimeColor", "-1"}, {"AdditionalSettings/UseShotClock", "True"},
                                        {"TextSettings/PeriodText", "  Quarter  "}})
            QCOMPARE(store->value(key).toString(), text);
        // A save killed at any moment leaves one whole save or the other.
        const QString fault = killloop::killWhileSaving(path, faultInSavedStore);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // The placement goes beside the settings, rounded down when read.
        QCOMPARE(SaveBoxPlacement(*tallivoxSettings(), 1530.75f, -45.25f, 2400.9f).value_or(QString()), QString());
        LoadConfig();
        QCOMPARE(QList<qint16>({Config().StartX, Config().StartY, Config().Height}), QList<qint16>({1530, -46, 2400}));
    }
};

int main(int argc, char** argv)
{
    killloop::runWriterIfAsked(argc, argv, saveInProgramStore);
    QCoreApplication app(argc, argv);
    tst_ConfigStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_configstore.moc"
