// The configuration record against the settings store: defaults of a first start,
// the text conversions of every kind of key, the save/load round trip, the
// placement written when the score box closes, and files that are not what the
// program wrote. Every store here lives in a temporary folder.

#include "configkeys.h"
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

// The test's own view of the record, by settings path, so that a wrong key name in
// the program's table shows up here.
using NumberOf = std::function<qint64(const ConfigRecord&)>;
using TextOf = std::function<QString(const ConfigRecord&)>;

qint64 vb(bool b) { return units::toVbBoolean(b); }

const QHash<QString, NumberOf>& numberFields()
{
    static const QHash<QString, NumberOf> fields{
        {"ColorSettings/TimeColor", [](const ConfigRecord& r) { return qint64(r.TimeColor); }},
        {"ColorSettings/LEDBack", [](const ConfigRecord& r) { return qint64(r.LEDBack); }},
        {"ColorSettings/ScoreColor", [](const ConfigRecord& r) { return qint64(r.ScoreColor); }},
        {"ColorSettings/PeriodColor", [](const ConfigRecord& r) { return qint64(r.PeriodColor); }},
        {"ColorSettings/FormBack", [](const ConfigRecord& r) { return qint64(r.FormBack); }},
        {"ColorSettings/LEDSelected", [](const ConfigRecord& r) { return qint64(r.LEDSelected); }},
        {"ColorSettings/BorderColor", [](const ConfigRecord& r) { return qint64(r.BorderColor); }},
        {"ColorSettings/HomeColor", [](const ConfigRecord& r) { return qint64(r.HomeColor); }},
        {"ColorSettings/VisitorColor", [](const ConfigRecord& r) { return qint64(r.VisitorColor); }},
        {"ColorSettings/GreenBackColor", [](const ConfigRecord& r) { return qint64(r.GreenBackColor); }},
        {"ColorSettings/LEDSelectedWidth", [](const ConfigRecord& r) { return qint64(r.LEDSelectedWidth); }},
        {"KeySettings/StartStopClockKey", [](const ConfigRecord& r) { return qint64(r.StartStopClockKey); }},
        {"KeySettings/ResetClockKey", [](const ConfigRecord& r) { return qint64(r.ResetClockKey); }},
        {"KeySettings/ResetShotClockKey", [](const ConfigRecord& r) { return qint64(r.ResetShotClockKey); }},
        {"KeySettings/ClockSwitchKey", [](const ConfigRecord& r) { return qint64(r.ClockSwitchKey); }},
        {"KeySettings/ClearKey", [](const ConfigRecord& r) { return qint64(r.ClearKey); }},
        {"KeySettings/BuzzerKey", [](const ConfigRecord& r) { return qint64(r.BuzzerKey); }},
        {"KeySettings/NumLockForce", [](const ConfigRecord& r) { return qint64(r.NumLockForce); }},
        {"QuickKeySettings/QScoreH1", [](const ConfigRecord& r) { return qint64(r.QScoreH1); }},
        {"QuickKeySettings/QScoreH2", [](const ConfigRecord& r) { return qint64(r.QScoreH2); }},
        {"QuickKeySettings/QScoreH3", [](const ConfigRecord& r) { return qint64(r.QScoreH3); }},
        {"QuickKeySettings/QScoreV1", [](const ConfigRecord& r) { return qint64(r.QScoreV1); }},
        {"QuickKeySettings/QScoreV2", [](const ConfigRecord& r) { return qint64(r.QScoreV2); }},
        {"QuickKeySettings/QScoreV3", [](const ConfigRecord& r) { return qint64(r.QScoreV3); }},
        {"QuickKeySettings/QPeriod1", [](const ConfigRecord& r) { return qint64(r.QPeriod1); }},
        {"PicSettings/LEDType", [](const ConfigRecord& r) { return qint64(r.LEDType); }},
        {"AdditionalSettings/UseShotClock", [](const ConfigRecord& r) { return vb(r.UseShotClock); }},
        {"AdditionalSettings/ShowShotClockScreen", [](const ConfigRecord& r) { return vb(r.ShowShotClockScreen); }},
        {"AdditionalSettings/ShotClockResetTime", [](const ConfigRecord& r) { return qint64(r.ShotClockResetTime); }},
        {"Views/ScoreboardView", [](const ConfigRecord& r) { return qint64(r.ScoreboardView); }},
        {"Views/StartX", [](const ConfigRecord& r) { return qint64(r.StartX); }},
        {"Views/StartY", [](const ConfigRecord& r) { return qint64(r.StartY); }},
        {"Views/Height", [](const ConfigRecord& r) { return qint64(r.Height); }},
    };
    return fields;
}

const QHash<QString, TextOf>& textFields()
{
    static const QHash<QString, TextOf> fields{
        {"KeySettings/BuzzerFile", [](const ConfigRecord& r) { return r.BuzzerFile; }},
        {"KeySettings/ShotClockFile", [](const ConfigRecord& r) { return r.ShotClockFile; }},
        {"TextSettings/PeriodText", [](const ConfigRecord& r) { return r.PeriodText; }},
        {"TextSettings/HomeText", [](const ConfigRecord& r) { return r.HomeText; }},
        {"TextSettings/VisitorText", [](const ConfigRecord& r) { return r.VisitorText; }},
        {"PicSettings/BoardPic", [](const ConfigRecord& r) { return r.BoardPic; }},
    };
    return fields;
}

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

// A first start, written out by hand.
ConfigRecord expectedDefaults()
{
    ConfigRecord r;
    r.TimeColor = 33023;
    r.LEDBack = 0;
    r.ScoreColor = 255;
    r.PeriodColor = 49152;
    r.FormBack = 4210752;
    r.LEDSelected = 4210752;
    r.BorderColor = 16777215;
    r.HomeColor = 16777215;
    r.VisitorColor = 16777215;
    r.GreenBackColor = 16711680;
    r.LEDSelectedWidth = 0;
    r.StartStopClockKey = 83;
    r.ResetClockKey = 82;
    r.ResetShotClockKey = 84;
    r.ClockSwitchKey = 67;
    r.ClearKey = 8;
    r.BuzzerKey = 66;
    r.BuzzerFile = ProgramFolder + "/buzzer.wav";
    r.ShotClockFile = ProgramFolder + "/horn.wav";
    r.QScoreH1 = 45;
    r.QScoreH2 = 36;
    r.QScoreH3 = 33;
    r.QScoreV1 = 46;
    r.QScoreV2 = 35;
    r.QScoreV3 = 34;
    r.QPeriod1 = 80;
    r.NumLockForce = 0;
    r.PeriodText = "Period";
    r.HomeText = "Home";
    r.VisitorText = "Visitor";
    r.BoardPic = "";
    r.LEDType = 0;
    r.UseShotClock = false;
    r.ShowShotClockScreen = false;
    r.ShotClockResetTime = 35;
    r.ScoreboardView = 0;
    r.StartX = 0;
    r.StartY = 0;
    r.Height = 1170;
    return r;
}

// Every field away from its default, with text that an INI file has to escape.
ConfigRecord unusualRecord()
{
    ConfigRecord r;
    r.TimeColor = -1;
    r.LEDBack = 2147483647;
    r.ScoreColor = -2147483647 - 1;
    r.PeriodColor = 1;
    r.FormBack = 123456;
    r.LEDSelected = 654321;
    r.BorderColor = 2;
    r.HomeColor = 3;
    r.VisitorColor = 4;
    r.GreenBackColor = 65280;
    r.LEDSelectedWidth = 3;
    r.StartStopClockKey = 32;
    r.ResetClockKey = -32768;
    r.ResetShotClockKey = 32767;
    r.ClockSwitchKey = 112;
    r.ClearKey = 46;
    r.BuzzerKey = 13;
    r.BuzzerFile = "/home/op/My Sounds/buzz, loud.wav";
    r.ShotClockFile = "@horn;=\"odd\"\\.wav";
    r.QScoreH1 = 97;
    r.QScoreH2 = 98;
    r.QScoreH3 = 99;
    r.QScoreV1 = 100;
    r.QScoreV2 = 101;
    r.QScoreV3 = 102;
    r.QPeriod1 = 107;
    r.NumLockForce = 2;
    r.PeriodText = "  Quarter  ";
    r.HomeText = "Smith, Jones & Co";
    r.VisitorText = QString::fromUtf8("Ünïcødé [Gäste] #1");
    r.BoardPic = "/pics/logo=1.png";
    r.LEDType = 1;
    r.UseShotClock = true;
    r.ShowShotClockScreen = true;
    r.ShotClockResetTime = 24;
    r.ScoreboardView = 1;
    r.StartX = 1500;
    r.StartY = -300;
    r.Height = 2400;
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

private Q_SLOTS:
    void initTestCase()
    {
        // The program's own store must land here, never in a real user's settings;
        // QSettings reads the variable once, at its first per-user store.
        QVERIFY(m_configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
    }

    void emptyStoreLoadsTheDefaults()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("empty.ini"), QSettings::IniFormat);

        const ConfigRecord loaded = loadedFrom(settings);

        QCOMPARE(loaded, expectedDefaults());
        QCOMPARE(loaded.LEDSelected, loaded.FormBack);
        QCOMPARE(loaded.BuzzerFile, "/opt/tallivox/buzzer.wav");
        QCOMPARE(loaded.ShotClockFile, "/opt/tallivox/horn.wav");
    }

    void firstStartRecordIsTheEmptyStoreLoad() { QCOMPARE(defaultConfig(ProgramFolder), expectedDefaults()); }

    void loadLeavesRunTimeFlagsAlone()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("empty.ini"), QSettings::IniFormat);
        ConfigRecord record;
        record.ResetSizeAndPosition = true;
        record.RoundCorners = true;

        LoadConfig(record, settings, ProgramFolder);

        QVERIFY(record.ResetSizeAndPosition);
        QVERIFY(record.RoundCorners);
    }

    void selectionColourFollowsFormBack_data()
    {
        QTest::addColumn<QString>("formBack");
        QTest::addColumn<QString>("ledSelected"); // null: not stored
        QTest::addColumn<Colour>("expected");

        QTest::newRow("FormBack 0 alone gives LEDSelected 0") << "0" << QString() << 0;
        QTest::newRow("FormBack 255 alone gives LEDSelected 255") << "255" << QString() << 255;
        QTest::newRow("a stored LEDSelected wins over FormBack") << "0" << "7" << 7;
        QTest::newRow("a bad LEDSelected falls back to FormBack") << "99" << "red" << 99;
        QTest::newRow("a bad FormBack falls back to the default for both") << "grey" << QString() << 4210752;
    }

    void selectionColourFollowsFormBack()
    {
        QFETCH(QString, formBack);
        QFETCH(QString, ledSelected);
        QFETCH(Colour, expected);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
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

        // Whole numbers: nearest, ties to even.
        QTest::newRow("2.5 rounds to 2") << "KeySettings/ClearKey" << "2.5" << qint64(2);
        QTest::newRow("3.5 rounds to 4") << "KeySettings/ClearKey" << "3.5" << qint64(4);
        QTest::newRow("-0.5 rounds to 0") << "ColorSettings/LEDSelectedWidth" << "-0.5" << qint64(0);
        QTest::newRow("-1.5 rounds to -2") << "ColorSettings/LEDSelectedWidth" << "-1.5" << qint64(-2);
        QTest::newRow("2.4999 rounds to 2") << "QuickKeySettings/QScoreH1" << "2.4999" << qint64(2);
        QTest::newRow("2.5001 rounds to 3") << "QuickKeySettings/QScoreH1" << "2.5001" << qint64(3);
        QTest::newRow("24.5 seconds rounds to 24") << "AdditionalSettings/ShotClockResetTime" << "24.5" << qint64(24);
        QTest::newRow("colour 0.5 rounds to 0") << "ColorSettings/TimeColor" << "0.5" << qint64(0);
        QTest::newRow("NumLockForce 1.5 rounds to 2") << "KeySettings/NumLockForce" << "1.5" << qint64(2);
        QTest::newRow("spaces around a number are ignored") << "KeySettings/BuzzerKey" << "  66 " << qint64(66);
        QTest::newRow("an explicit plus sign") << "KeySettings/BuzzerKey" << "+70" << qint64(70);
        QTest::newRow("an exponent") << "KeySettings/BuzzerKey" << "1.1e2" << qint64(110);
        QTest::newRow("a leading point") << "PicSettings/LEDType" << ".6" << qint64(1);

        // Ranges: colours keep any signed 32-bit value, 16-bit fields keep theirs.
        QTest::newRow("colour -1 is kept") << "ColorSettings/TimeColor" << "-1" << qint64(-1);
        QTest::newRow("colour 2147483647 is kept") << "ColorSettings/TimeColor" << "2147483647" << qint64(2147483647);
        QTest::newRow("colour -2147483648 is kept") << "ColorSettings/ScoreColor" << "-2147483648" << qint64(-2147483648LL);
        QTest::newRow("colour 2147483648 falls back") << "ColorSettings/TimeColor" << "2147483648" << qint64(33023);
        QTest::newRow("colour 4294967295 falls back") << "ColorSettings/GreenBackColor" << "4294967295" << qint64(16711680);
        QTest::newRow("16-bit 32767 is kept") << "KeySettings/ResetClockKey" << "32767" << qint64(32767);
        QTest::newRow("16-bit -32768 is kept") << "KeySettings/ResetClockKey" << "-32768" << qint64(-32768);
        QTest::newRow("16-bit 32767.5 rounds out of range and falls back") << "KeySettings/ResetClockKey" << "32767.5" << qint64(82);
        QTest::newRow("16-bit 70000 falls back") << "KeySettings/StartStopClockKey" << "70000" << qint64(83);
        QTest::newRow("32-bit 70000 is kept") << "KeySettings/NumLockForce" << "70000" << qint64(70000);
        QTest::newRow("1e20 falls back") << "KeySettings/NumLockForce" << "1e20" << qint64(0);
        QTest::newRow("1e400 falls back") << "QuickKeySettings/QPeriod1" << "1e400" << qint64(80);

        // Text that is no number.
        QTest::newRow("a letter falls back") << "KeySettings/StartStopClockKey" << "S" << qint64(83);
        QTest::newRow("empty text falls back") << "KeySettings/StartStopClockKey" << "" << qint64(83);
        QTest::newRow("blank text falls back") << "KeySettings/StartStopClockKey" << "   " << qint64(83);
        QTest::newRow("nan falls back") << "ColorSettings/PeriodColor" << "nan" << qint64(49152);
        QTest::newRow("inf falls back") << "ColorSettings/PeriodColor" << "inf" << qint64(49152);
        QTest::newRow("-inf falls back") << "AdditionalSettings/ShotClockResetTime" << "-inf" << qint64(35);
        QTest::newRow("a comma separator falls back") << "AdditionalSettings/ShotClockResetTime" << "2,5" << qint64(35);
        QTest::newRow("hexadecimal falls back") << "QuickKeySettings/QScoreV1" << "0x10" << qint64(46);
        QTest::newRow("trailing junk falls back") << "QuickKeySettings/QScoreV1" << "12abc" << qint64(46);

        // Placement and view: rounded down.
        QTest::newRow("StartX 1530.75 loads as 1530") << "Views/StartX" << "1530.75" << qint64(1530);
        QTest::newRow("StartX -0.5 loads as -1") << "Views/StartX" << "-0.5" << qint64(-1);
        QTest::newRow("StartY -1530.25 loads as -1531") << "Views/StartY" << "-1530.25" << qint64(-1531);
        QTest::newRow("Height 720 loads as 720") << "Views/Height" << "720" << qint64(720);
        QTest::newRow("Height 2.5 loads as 2") << "Views/Height" << "2.5" << qint64(2);
        QTest::newRow("ScoreboardView 1.9 loads as 1") << "Views/ScoreboardView" << "1.9" << qint64(1);
        QTest::newRow("StartX 32767.9 loads as 32767") << "Views/StartX" << "32767.9" << qint64(32767);
        QTest::newRow("StartX 32768 falls back") << "Views/StartX" << "32768" << qint64(0);
        QTest::newRow("Height of letters falls back") << "Views/Height" << "tall" << qint64(1170);
        QTest::newRow("ScoreboardView 1e10 falls back") << "Views/ScoreboardView" << "1e10" << qint64(0);

        // Booleans: -1 True, 0 False.
        QTest::newRow("True loads as -1") << "AdditionalSettings/UseShotClock" << "True" << qint64(-1);
        QTest::newRow("true in lower case") << "AdditionalSettings/UseShotClock" << "true" << qint64(-1);
        QTest::newRow("TRUE in upper case") << "AdditionalSettings/ShowShotClockScreen" << "TRUE" << qint64(-1);
        QTest::newRow("True with spaces around") << "AdditionalSettings/UseShotClock" << " True " << qint64(-1);
        QTest::newRow("False loads as 0") << "AdditionalSettings/UseShotClock" << "False" << qint64(0);
        QTest::newRow("fAlSe in mixed case") << "AdditionalSettings/UseShotClock" << "fAlSe" << qint64(0);
        QTest::newRow("-1 is True") << "AdditionalSettings/UseShotClock" << "-1" << qint64(-1);
        QTest::newRow("1 is True") << "AdditionalSettings/ShowShotClockScreen" << "1" << qint64(-1);
        QTest::newRow("2.5 is True") << "AdditionalSettings/UseShotClock" << "2.5" << qint64(-1);
        QTest::newRow("0 is False") << "AdditionalSettings/UseShotClock" << "0" << qint64(0);
        QTest::newRow("0.0 is False") << "AdditionalSettings/UseShotClock" << "0.0" << qint64(0);
        QTest::newRow("yes falls back to False") << "AdditionalSettings/UseShotClock" << "yes" << qint64(0);
        QTest::newRow("empty falls back to False") << "AdditionalSettings/ShowShotClockScreen" << "" << qint64(0);
        QTest::newRow("nan falls back to False") << "AdditionalSettings/ShowShotClockScreen" << "nan" << qint64(0);
    }

    void storedTextConverts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        QVERIFY(numberFields().contains(key));
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
        settings.setValue(key, text);

        const ConfigRecord loaded = loadedFrom(settings);

        QCOMPARE(numberFields().value(key)(loaded), expected);
        // Only that one key differs from a first start, whatever it held.
        for (auto it = numberFields().cbegin(); it != numberFields().cend(); ++it) {
            if (it.key() != key && !(key == "ColorSettings/FormBack" && it.key() == "ColorSettings/LEDSelected"))
                QCOMPARE(it.value()(loaded), it.value()(expectedDefaults()));
        }
    }

    void textKeysLoadAsStored_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");

        QTest::newRow("an empty board picture means none") << "PicSettings/BoardPic" << "";
        QTest::newRow("a path with spaces and commas") << "KeySettings/BuzzerFile" << "/a b/c, d.wav";
        QTest::newRow("a name with surrounding spaces") << "TextSettings/HomeText" << "  Home  ";
        QTest::newRow("a name that starts with @") << "TextSettings/VisitorText" << "@Variant(x)";
        QTest::newRow("a name with quotes and semicolons") << "TextSettings/PeriodText" << "\"Q\";=1";
    }

    void textKeysLoadAsStored()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
        settings.setValue(key, text);
        settings.sync();

        QSettings reread(settings.fileName(), QSettings::IniFormat);
        QCOMPARE(textFields().value(key)(loadedFrom(reread)), text);
    }

    void saveThenLoadReproducesEveryEditedField()
    {
        QTemporaryDir dir;
        const ConfigRecord saved = unusualRecord();
        {
            QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
            SaveConfig(saved, settings);
        }

        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
        const ConfigRecord loaded = loadedFrom(settings);

        // The placement is not among the 36: it stays at a first start's.
        ConfigRecord expected = saved;
        expected.StartX = 0;
        expected.StartY = 0;
        expected.Height = 1170;
        QCOMPARE(loaded, expected);
        QCOMPARE(vb(loaded.UseShotClock), qint64(-1));
    }

    void saveWritesExactlyTheEditedKeys()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);

        SaveConfig(unusualRecord(), settings);

        QStringList written = settings.allKeys();
        QStringList expected = SavedKeys;
        written.sort();
        expected.sort();
        QCOMPARE(written, expected);
        QVERIFY(!settings.contains("Views/StartX"));
        QVERIFY(!settings.contains("Views/StartY"));
        QVERIFY(!settings.contains("Views/Height"));
    }

    void saveWritesInTheDialogsOrder()
    {
        QStringList order;
        for (const configkeys::SettingKey* key : configkeys::savedInOrder())
            order << key->path();
        QCOMPARE(order, SavedKeys);
    }

    void saveWritesPlainText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");

        QTest::newRow("a colour as a decimal integer") << "ColorSettings/TimeColor" << "-1";
        QTest::newRow("a key code as a decimal integer") << "KeySettings/ResetClockKey" << "-32768";
        QTest::newRow("a Boolean as True") << "AdditionalSettings/UseShotClock" << "True";
        QTest::newRow("the view as a decimal integer") << "Views/ScoreboardView" << "1";
        QTest::newRow("a path unchanged") << "KeySettings/BuzzerFile" << "/home/op/My Sounds/buzz, loud.wav";
        QTest::newRow("a name unchanged") << "TextSettings/PeriodText" << "  Quarter  ";
    }

    void saveWritesPlainText()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTemporaryDir dir;
        {
            QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
            SaveConfig(unusualRecord(), settings);
        }

        QSettings reread(dir.filePath("t.ini"), QSettings::IniFormat);
        const QVariant value = reread.value(key);
        QCOMPARE(value.typeId(), int(QMetaType::QString));
        QCOMPARE(value.toString(), text);
    }

    void saveKeepsTheStoredPlacement()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
        SaveBoxPlacement(settings, 100, 200, 900);
        ConfigRecord record = unusualRecord();
        record.ResetSizeAndPosition = true;

        SaveConfig(record, settings);
        ApplyPlacementReset(record);

        QCOMPARE(record.Height, qint16(1170));
        QCOMPARE(record.StartX, qint16(0));
        QCOMPARE(record.StartY, qint16(0));
        QCOMPARE(settings.value("Views/StartX").toString(), "100");
        QCOMPARE(settings.value("Views/StartY").toString(), "200");
        QCOMPARE(settings.value("Views/Height").toString(), "900");
    }

    void boxPlacementText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");

        QTest::newRow("a fraction is kept") << 1530.75f << "1530.75";
        QTest::newRow("a whole number has no fraction") << 720.0f << "720";
        QTest::newRow("a negative whole number") << -15.0f << "-15";
        QTest::newRow("0.1 as a float shows as 0.1") << 0.1f << "0.1";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("seven significant digits") << 1234.567f << "1234.567";
        QTest::newRow("a float's noise is cut at seven digits") << 1170.1f << "1170.1";
        QTest::newRow("a large screen position has no exponent") << 1234567.0f << "1234567";
        QTest::newRow("a negative fraction") << -0.5f << "-0.5";
    }

    void boxPlacementText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);

        SaveBoxPlacement(settings, value, value, value);

        QCOMPARE(settings.value("Views/StartX").toString(), text);
        QCOMPARE(settings.value("Views/StartY").toString(), text);
        QCOMPARE(settings.value("Views/Height").toString(), text);
    }

    void boxPlacementReadsBackRoundedDown()
    {
        QTemporaryDir dir;
        {
            QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
            SaveBoxPlacement(settings, 1530.75f, -0.5f, 720.9f);
            QCOMPARE(settings.allKeys().size(), 3);
        }

        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
        const ConfigRecord loaded = loadedFrom(settings);

        QCOMPARE(loaded.StartX, qint16(1530));
        QCOMPARE(loaded.StartY, qint16(-1));
        QCOMPARE(loaded.Height, qint16(720));
    }

    void placementThatIsNoNumberKeepsTheStoredOne()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("t.ini"), QSettings::IniFormat);
        SaveBoxPlacement(settings, 10, 20, 900);

        SaveBoxPlacement(settings, qQNaN(), qInf(), 800);

        const ConfigRecord loaded = loadedFrom(settings);
        QCOMPARE(loaded.StartX, qint16(10));
        QCOMPARE(loaded.StartY, qint16(20));
        QCOMPARE(loaded.Height, qint16(800));
    }

    void garbledIniLoadsGoodKeysAndDefaultsForBadOnes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("garbled.ini");
        writeFile(path,
                  "[ColorSettings]\n"
                  "TimeColor=orange\n"
                  "LEDBack=\n"
                  "ScoreColor=12345\n"
                  "FormBack=4294967296\n"
                  "PeriodColor=1e20\n"
                  "BorderColor=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18garbage)\n"
                  "HomeColor=@ByteArray(1)\n"
                  "VisitorColor=2,5\n"
                  "GreenBackColor=65280\n"
                  "this line has no equals sign\n"
                  "[KeySettings]\n"
                  "StartStopClockKey=70000\n"
                  "ResetClockKey=nan\n"
                  "ResetShotClockKey=inf\n"
                  "ClockSwitchKey=65\n"
                  "ClearKey=@Invalid()\n"
                  "BuzzerFile=/sounds/a.wav\n"
                  "NumLockForce=1\n"
                  "[QuickKeySettings]\n"
                  "QScoreH1=45\n"
                  "QScoreH1=49\n"
                  "QScoreH2=\n"
                  "QPeriod1=2.5\n"
                  "[TextSettings]\n"
                  "HomeText=Smith, Jones\n"
                  "VisitorText=\"Quoted Visitors\"\n"
                  "[AdditionalSettings]\n"
                  "UseShotClock=maybe\n"
                  "ShowShotClockScreen=TRUE\n"
                  "ShotClockResetTime=24.5\n"
                  "[Views]\n"
                  "StartX=1530.75\n"
                  "StartY=north\n"
                  "Height=-inf\n"
                  "ScoreboardView=1\n"
                  "[broken group\n"
                  "LEDType=1\n");
        QSettings settings(path, QSettings::IniFormat);

        const ConfigRecord loaded = loadedFrom(settings);

        ConfigRecord expected = expectedDefaults();
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
    }

    void binaryJunkLoadsAsDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("junk.ini");
        QByteArray junk(4096, '\0');
        QRandomGenerator generator(20240611);
        for (char& byte : junk)
            byte = char(generator.bounded(256));
        writeFile(path, junk);
        QSettings settings(path, QSettings::IniFormat);

        QCOMPARE(loadedFrom(settings), expectedDefaults());
    }

    void saveOverJunkReplacesIt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("junk.ini");
        writeFile(path, QByteArray("\x01\x02[ColorSettings\0\0\n\xff\xfe=\x00zz\n\"", 16));
        {
            QSettings settings(path, QSettings::IniFormat);
            SaveConfig(unusualRecord(), settings);
        }

        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(loadedFrom(settings).HomeText, unusualRecord().HomeText);
        QCOMPARE(loadedFrom(settings).TimeColor, unusualRecord().TimeColor);
    }

    void programStoreLivesUnderXdgConfigHome()
    {
        const QString expectedFile = m_configHome.filePath("Tallivox/Tallivox.ini");
        QCOMPARE(tallivoxSettings()->fileName(), expectedFile);
        Config() = unusualRecord();

        SaveConfig();
        SaveBoxPlacement(1530.75f, 45.0f, 2400.0f);

        QFile file(expectedFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        for (const char* group : {"[ColorSettings]", "[KeySettings]", "[QuickKeySettings]", "[TextSettings]",
                                  "[PicSettings]", "[AdditionalSettings]", "[Views]"})
            QVERIFY2(text.contains(group), group);
        QVERIFY(text.contains("StartX=1530.75"));
        QVERIFY(text.contains("UseShotClock=True"));

        Config() = ConfigRecord();
        LoadConfig();

        ConfigRecord expected = unusualRecord();
        expected.StartX = 1530;
        expected.StartY = 45;
        expected.Height = 2400;
        QCOMPARE(Config(), expected);
    }

    void programLoadUsesTheProgramFolderForSounds()
    {
        QVERIFY(QFile::remove(m_configHome.filePath("Tallivox/Tallivox.ini")));

        LoadConfig();

        QCOMPARE(Config().BuzzerFile, QCoreApplication::applicationDirPath() + "/buzzer.wav");
        QCOMPARE(Config().ShotClockFile, QCoreApplication::applicationDirPath() + "/horn.wav");
    }
};

QTEST_GUILESS_MAIN(tst_ConfigStore)
#include "tst_configstore.moc"
