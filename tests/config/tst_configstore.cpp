// The configuration record against the settings store: the text conversions of
// every kind of key, the save/load round trip, the placement written when the
// score box closes, and files that are not what the program wrote. Every store
// here lives in a temporary folder.

#include "configrecord.h"
#include "configstore.h"
#include "units.h"

#include <QDebug>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

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
    {"KeySettings/ClearKey", [](const ConfigRecord& r) { return qint64(r.ClearKey); }},
    {"KeySettings/NumLockForce", [](const ConfigRecord& r) { return qint64(r.NumLockForce); }},
    {"AdditionalSettings/UseShotClock", [](const ConfigRecord& r) { return units::toVbBoolean(r.UseShotClock); }},
    {"Views/ScoreboardView", [](const ConfigRecord& r) { return qint64(r.ScoreboardView); }},
    {"Views/StartX", [](const ConfigRecord& r) { return qint64(r.StartX); }},
    {"Views/StartY", [](const ConfigRecord& r) { return qint64(r.StartY); }},
    {"Views/Height", [](const ConfigRecord& r) { return qint64(r.Height); }},
};

// The 36 keys the options dialog's OK writes, in the order it writes them.
const QStringList SavedKeys{
    "ColorSettings/TimeColor", "ColorSettings/LEDBack", "ColorSettings/LEDSelected", "ColorSettings/ScoreColor",
    "ColorSettings/PeriodColor", "ColorSettings/FormBack", "ColorSettings/BorderColor", "ColorSettings/HomeColor",
    "ColorSettings/VisitorColor", "ColorSettings/GreenBackColor", "ColorSettings/LEDSelectedWidth",
    "KeySettings/StartStopClockKey", "KeySettings/ResetClockKey", "KeySettings/ResetShotClockKey",
    "KeySettings/ClockSwitchKey", "KeySettings/ClearKey", "KeySettings/BuzzerKey",
    "QuickKeySettings/QScoreH1", "QuickKeySettings/QScoreH2", "QuickKeySettings/QScoreH3",
    "QuickKeySettings/QScoreV1", "QuickKeySettings/QScoreV2", "QuickKeySettings/QScoreV3",
    "QuickKeySettings/QPeriod1", "KeySettings/BuzzerFile", "KeySettings/ShotClockFile",
    "AdditionalSettings/UseShotClock", "AdditionalSettings/ShowShotClockScreen",
    "AdditionalSettings/ShotClockResetTime", "KeySettings/NumLockForce", "TextSettings/PeriodText",
    "TextSettings/HomeText", "TextSettings/VisitorText", "PicSettings/BoardPic", "PicSettings/LEDType",
    "Views/ScoreboardView",
};

// Every field away from its default, with text that an INI file has to escape.
ConfigRecord unusualRecord()
{
    ConfigRecord r;
    r.TimeColor = -1; r.LEDBack = 2147483647; r.ScoreColor = -2147483647 - 1; r.PeriodColor = 1; r.FormBack = 123456;
    r.LEDSelected = 654321; r.BorderColor = 2; r.HomeColor = 3; r.VisitorColor = 4; r.GreenBackColor = 65280;
    r.LEDSelectedWidth = 3; r.StartStopClockKey = 32; r.ResetClockKey = -32768; r.ResetShotClockKey = 32767;
    r.ClockSwitchKey = 112; r.ClearKey = 46; r.BuzzerKey = 13; r.BuzzerFile = "/home/op/My Sounds/buzz, loud.wav";
    r.ShotClockFile = "@horn;=\"odd\"\\.wav"; r.QScoreH1 = 97; r.QScoreH2 = 98; r.QScoreH3 = 99; r.QScoreV1 = 100;
    r.QScoreV2 = 101; r.QScoreV3 = 102; r.QPeriod1 = 107; r.NumLockForce = 2; r.PeriodText = "  Quarter  ";
    r.HomeText = "Smith, Jones & Co"; r.VisitorText = QString::fromUtf8("Ünïcødé [Gäste] #1");
    r.BoardPic = "/pics/logo=1.png"; r.LEDType = 1; r.UseShotClock = true; r.ShowShotClockScreen = true;
    r.ShotClockResetTime = 24; r.ScoreboardView = 1; r.StartX = 1500; r.StartY = -300; r.Height = 2400;
    return r;
}

ConfigRecord loadedFrom(QSettings& settings)
{
    ConfigRecord record;
    LoadConfig(record, settings, ProgramFolder);
    return record;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
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

    void emptyStoreLoadsTheDefaultsAndLeavesRunTimeFlagsAlone()
    {
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        ConfigRecord record;
        record.ResetSizeAndPosition = true;
        record.RoundCorners = true;
        LoadConfig(record, settings, ProgramFolder);
        QVERIFY(record.ResetSizeAndPosition && record.RoundCorners);
        record.ResetSizeAndPosition = record.RoundCorners = false;
        QCOMPARE(record, defaultConfig(ProgramFolder));
        QCOMPARE(record.BuzzerFile, "/opt/tallivox/buzzer.wav");
        QCOMPARE(record.Height, qint16(1170));
    }

    void selectionColourFollowsFormBack_data()
    {
        QTest::addColumn<QString>("formBack");
        QTest::addColumn<QString>("ledSelected"); // null: not stored
        QTest::addColumn<Colour>("expected");
        QTest::newRow("FormBack alone gives LEDSelected") << "255" << QString() << 255;
        QTest::newRow("a stored LEDSelected wins") << "0" << "7" << 7;
        QTest::newRow("a bad LEDSelected falls back to FormBack") << "99" << "red" << 99;
        QTest::newRow("a bad FormBack falls back to the default for both") << "grey" << QString() << 4210752;
    }

    void selectionColourFollowsFormBack()
    {
        QFETCH(QString, formBack);
        QFETCH(QString, ledSelected);
        QFETCH(Colour, expected);
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        settings.setValue("ColorSettings/FormBack", formBack);
        if (!ledSelected.isNull())
            settings.setValue("ColorSettings/LEDSelected", ledSelected);
        QCOMPARE(loadedFrom(settings).LEDSelected, expected);
    }

    void storedTextConverts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected");
        const auto row = [](const char* name, const char* key, const char* text, qint64 expected) {
            QTest::newRow(name) << QString::fromLatin1(key) << QString::fromLatin1(text) << expected;
        };
        // Whole numbers: nearest, ties to even.
        row("2.5 rounds to 2", "KeySettings/ClearKey", "2.5", 2);
        row("3.5 rounds to 4", "KeySettings/ClearKey", "3.5", 4);
        row("-1.5 rounds to -2", "KeySettings/ClearKey", "-1.5", -2);
        row("2.5001 rounds to 3", "KeySettings/ClearKey", "2.5001", 3);
        row("spaces around", "KeySettings/ClearKey", "  66 ", 66);
        row("an exponent", "KeySettings/ClearKey", "1.1e2", 110);
        row("a leading point", "KeySettings/ClearKey", ".6", 1);
        // Ranges: colours keep any signed 32-bit value, 16-bit fields keep theirs.
        row("colour -1 is kept", "ColorSettings/TimeColor", "-1", -1);
        row("colour 2147483648 falls back", "ColorSettings/TimeColor", "2147483648", 33023);
        row("16-bit -32768 is kept", "KeySettings/ClearKey", "-32768", -32768);
        row("16-bit 32767.5 rounds out of range", "KeySettings/ClearKey", "32767.5", 8);
        row("16-bit 70000 falls back", "KeySettings/ClearKey", "70000", 8);
        row("32-bit 70000 is kept", "KeySettings/NumLockForce", "70000", 70000);
        row("1e400 falls back", "KeySettings/NumLockForce", "1e400", 0);
        // Text that is no number.
        for (const char* text : {"S", "", "nan", "inf", "2,5", "0x10", "12abc"})
            row(qPrintable(QStringLiteral("'%1' falls back").arg(text)), "KeySettings/ClearKey", text, 8);
        // Placement and view: rounded down.
        row("StartX 1530.75 loads as 1530", "Views/StartX", "1530.75", 1530);
        row("StartY -0.5 loads as -1", "Views/StartY", "-0.5", -1);
        row("Height 2.5 loads as 2", "Views/Height", "2.5", 2);
        row("ScoreboardView 1.9 loads as 1", "Views/ScoreboardView", "1.9", 1);
        row("StartX 32767.9 loads as 32767", "Views/StartX", "32767.9", 32767);
        row("StartX 32768 falls back", "Views/StartX", "32768", 0);
        row("Height of letters falls back", "Views/Height", "tall", 1170);
        // Booleans: -1 True, 0 False, in any letter case or as a number.
        for (const char* text : {"True", "true", "TRUE", " True ", "-1", "1", "2.5"})
            row(qPrintable(QStringLiteral("%1 is True").arg(text)), "AdditionalSettings/UseShotClock", text, -1);
        for (const char* text : {"fAlSe", "0", "0.0", "yes", "", "nan"})
            row(qPrintable(QStringLiteral("%1 is False").arg(text)), "AdditionalSettings/UseShotClock", text, 0);
    }

    void storedTextConverts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        settings.setValue(key, text);
        QCOMPARE(Fields.value(key)(loadedFrom(settings)), expected);
    }

    void saveThenLoadReproducesEveryEditedField()
    {
        const ConfigRecord saved = unusualRecord();
        {
            QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
            SaveConfig(saved, settings);
            QStringList written = settings.allKeys();
            QStringList expected = SavedKeys;
            written.sort();
            expected.sort();
            QCOMPARE(written, expected); // the placement is not among the 36
        }
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        ConfigRecord expected = saved;
        expected.StartX = 0;
        expected.StartY = 0;
        expected.Height = 1170;
        QCOMPARE(loadedFrom(settings), expected);
        // Plain text, as another program reading the file expects.
        QCOMPARE(settings.value("ColorSettings/TimeColor").toString(), "-1");
        QCOMPARE(settings.value("AdditionalSettings/UseShotClock").toString(), "True");
        QCOMPARE(settings.value("TextSettings/PeriodText").toString(), "  Quarter  ");
    }

    void boxPlacementText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("a fraction is kept") << 1530.75f << "1530.75";
        QTest::newRow("a whole number has no fraction") << 720.0f << "720";
        QTest::newRow("0.1 as a float shows as 0.1") << 0.1f << "0.1";
        QTest::newRow("a float's noise is cut at seven digits") << 1170.1f << "1170.1";
        QTest::newRow("a large screen position has no exponent") << 1234567.0f << "1234567";
        QTest::newRow("a negative fraction") << -0.5f << "-0.5";
    }

    void boxPlacementText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        SaveBoxPlacement(settings, value, value, value);
        QCOMPARE(settings.value("Views/StartX").toString(), text);
        QCOMPARE(settings.value("Views/StartY").toString(), text);
        QCOMPARE(settings.value("Views/Height").toString(), text);
    }

    void placementThatIsNoNumberKeepsTheStoredOne()
    {
        QSettings settings(m_dir.filePath("t.ini"), QSettings::IniFormat);
        SaveBoxPlacement(settings, 10, 20, 900);
        SaveBoxPlacement(settings, qQNaN(), qInf(), 800);
        const ConfigRecord loaded = loadedFrom(settings);
        QCOMPARE(loaded.StartX, qint16(10));
        QCOMPARE(loaded.StartY, qint16(20));
        QCOMPARE(loaded.Height, qint16(800));
    }

    void garbledIniLoadsGoodKeysAndDefaultsForBadOnes()
    {
        const QString path = m_dir.filePath("t.ini");
        writeFile(path,
                  "[ColorSettings]\nTimeColor=orange\nLEDBack=\nScoreColor=12345\nFormBack=4294967296\n"
                  "PeriodColor=1e20\nBorderColor=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18garbage)\n"
                  "HomeColor=@ByteArray(1)\nVisitorColor=2,5\nGreenBackColor=65280\n"
                  "this line has no equals sign\n[KeySettings]\nStartStopClockKey=70000\nResetClockKey=nan\n"
                  "ResetShotClockKey=inf\nClockSwitchKey=65\nClearKey=@Invalid()\nBuzzerFile=/sounds/a.wav\n"
                  "NumLockForce=1\n[QuickKeySettings]\nQScoreH1=45\nQScoreH1=49\nQScoreH2=\nQPeriod1=2.5\n"
                  "[TextSettings]\nHomeText=Smith, Jones\nVisitorText=\"Quoted Visitors\"\n"
                  "[AdditionalSettings]\nUseShotClock=maybe\nShowShotClockScreen=TRUE\n"
                  "ShotClockResetTime=24.5\n[Views]\nStartX=1530.75\nStartY=north\nHeight=-inf\n"
                  "ScoreboardView=1\n[broken group\nLEDType=1\n");
        QSettings settings(path, QSettings::IniFormat);
        const ConfigRecord loaded = loadedFrom(settings);

        ConfigRecord expected = defaultConfig(ProgramFolder);
        expected.ScoreColor = 12345;
        expected.GreenBackColor = 65280;
        expected.ClockSwitchKey = 65;
        expected.BuzzerFile = "/sounds/a.wav";
        expected.NumLockForce = 1;
        expected.QScoreH1 = loaded.QScoreH1; // which of two equal keys wins is QSettings' choice
        expected.QPeriod1 = 2;
        expected.HomeText = "Smith, Jones";
        expected.VisitorText = "Quoted Visitors";
        expected.ShowShotClockScreen = true;
        expected.ShotClockResetTime = 24;
        expected.StartX = 1530;
        expected.ScoreboardView = 1;
        QCOMPARE(loaded, expected);
        QVERIFY(loaded.QScoreH1 == 45 || loaded.QScoreH1 == 49);

        // Binary junk loads as a first start.
        QByteArray junk(4096, '\0');
        QRandomGenerator generator(20240611);
        for (char& byte : junk)
            byte = char(generator.bounded(256));
        writeFile(path, junk);
        QSettings junkSettings(path, QSettings::IniFormat);
        QCOMPARE(loadedFrom(junkSettings), defaultConfig(ProgramFolder));
    }

    void theProgramStoreRoundTripsWithItsPlacement()
    {
        const QString file = m_configHome.filePath("Tallivox/Tallivox.ini");
        QCOMPARE(tallivoxSettings()->fileName(), file);
        LoadConfig();
        QCOMPARE(Config().BuzzerFile, QCoreApplication::applicationDirPath() + "/buzzer.wav");

        Config() = unusualRecord();
        SaveConfig();
        SaveBoxPlacement(1530.75f, 45.0f, 2400.0f);
        Config() = ConfigRecord();
        LoadConfig();
        ConfigRecord expected = unusualRecord();
        expected.StartX = 1530;
        expected.StartY = 45;
        expected.Height = 2400;
        QCOMPARE(Config(), expected);
    }
};

QTEST_GUILESS_MAIN(tst_ConfigStore)
#include "tst_configstore.moc"
