// The key binding editor's rules without a window: key names, every transition
// of the wait for a key, the lookup of a key in use and the defaults; the sound
// file caption, the ranges and the reading back of shown numbers.

#include "configrecord.h"
#include "keybindings.h"
#include "optionslogic.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {

constexpr int StartStop = 0, ResetClock = 1, Clear = 4, HS1 = 6, Period1 = 12;

// Bindings as a first start has them, captions shown.
KeyBindings defaultBindings()
{
    KeyBindings keys;
    keys.loadFrom(defaultConfig(QString()));
    keys.SetKeyTextFromTags();
    return keys;
}

} // namespace

class TestOptionsLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("Backspace") << 8 << "Backspace";
        QTest::newRow("Ctrl can be bound") << 17 << "Ctrl";
        QTest::newRow("Pause") << 19 << "Pause/Break";
        QTest::newRow("Page Up") << 33 << "Page Up";
        QTest::newRow("Page Down") << 34 << "Page Down";
        QTest::newRow("End") << 35 << "End";
        QTest::newRow("Home") << 36 << "Home";
        QTest::newRow("Insert") << 45 << "Insert";
        QTest::newRow("Delete") << 46 << "Delete";
        QTest::newRow("A") << 65 << "A";
        QTest::newRow("S") << 83 << "S";
        QTest::newRow("Z") << 90 << "Z";
        QTest::newRow("keypad multiply") << 106 << "Numpad *";
        QTest::newRow("keypad divide") << 111 << "Numpad /";
        QTest::newRow("F3") << 114 << "F3";
        QTest::newRow("F9") << 120 << "F9";
        QTest::newRow("F11") << 122 << "F11";
        QTest::newRow("F12") << 123 << "F12";
        QTest::newRow("semicolon") << 186 << ";";
        QTest::newRow("comma") << 188 << ",";
        QTest::newRow("slash") << 191 << "/";
        QTest::newRow("grave") << 192 << "`";
        QTest::newRow("left bracket") << 219 << "[";
        QTest::newRow("backslash") << 220 << "\\";
        QTest::newRow("right bracket") << 221 << "]";
        QTest::newRow("quote is one double quotation mark") << 222 << "\"";
    }

    void keyNames()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(KeyCodeToStr(code), name);
    }

    void onlyTheListedKeysHaveANameAtAll()
    {
        std::set<int> named{8, 17, 19, 33, 34, 35, 36, 45, 46, 106, 111, 122, 123, 186, 188, 191, 192, 219, 220, 221, 222};
        for (int c = 65; c <= 90; ++c)
            named.insert(c);
        for (int c = 114; c <= 120; ++c)
            named.insert(c);
        for (int code = -32768; code <= 32767; ++code)
            QCOMPARE(KeyCodeToStr(code).isEmpty(), !named.count(code));
        // Digits, Space, Enter, Tab, Escape, Shift, Alt, arrows, F1, F2, F10, keypad + - .
        for (int code : {48, 57, 32, 13, 9, 27, 16, 18, 37, 38, 39, 40, 112, 113, 121, 107, 109, 110, 96, 144})
            QVERIFY2(KeyCodeToStr(code).isEmpty(), qPrintable(QString::number(code)));
    }

    void clickingALabelStartsTheWait()
    {
        KeyBindings keys = defaultBindings();
        QVERIFY(keys.ChooseKey(StartStop));
        QCOMPARE(keys.active(), StartStop);
        QVERIFY(keys.isWaiting(StartStop));
        QCOMPARE(keys.caption(StartStop), QStringLiteral("<Press any key>"));
    }

    void aFreeNamedKeyBindsAndEndsTheWait()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(StartStop);
        keys.KeyChosen('G');
        QCOMPARE(keys.active(), int(KeyBindings::None));
        QCOMPARE(keys.code(StartStop), qint16('G'));
        QCOMPARE(keys.tag(StartStop), QStringLiteral("71"));
        QCOMPARE(keys.caption(StartStop), QStringLiteral("G"));
    }

    void theLabelsOwnKeyIsAccepted()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(StartStop);
        keys.KeyChosen('S');
        QCOMPARE(keys.active(), int(KeyBindings::None));
        QCOMPARE(keys.caption(StartStop), QStringLiteral("S"));
        QCOMPARE(keys.code(StartStop), qint16('S'));
    }

    void anotherBindingsKeyAsksForAnotherUntilAFreeOneComes()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(StartStop);
        keys.KeyChosen('R'); // reset clock has it
        QCOMPARE(keys.active(), StartStop);
        QCOMPARE(keys.caption(StartStop), QStringLiteral("Choose another"));
        QCOMPARE(keys.code(StartStop), qint16('S'));
        keys.KeyChosen(45); // Insert: home score +1 on the other tab has it
        QCOMPARE(keys.caption(StartStop), QStringLiteral("Choose another"));
        keys.KeyChosen('Q');
        QCOMPARE(keys.active(), int(KeyBindings::None));
        QCOMPARE(keys.caption(StartStop), QStringLiteral("Q"));
    }

    void swappingTwoBindingsNeedsAFreeKeyInBetween()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(StartStop);
        keys.KeyChosen('X');
        keys.ChooseKey(ResetClock);
        keys.KeyChosen('S');
        keys.ChooseKey(StartStop);
        keys.KeyChosen('R');
        QCOMPARE(keys.code(StartStop), qint16('R'));
        QCOMPARE(keys.code(ResetClock), qint16('S'));
    }

    void unnamedKeysAskForAnother_data()
    {
        QTest::addColumn<int>("code");
        for (int code : {48, 57, 32, 13, 9, 16, 18, 37, 40, 112, 113, 121, 0, 96, 107})
            QTest::newRow(qPrintable(QString::number(code))) << code;
    }

    void unnamedKeysAskForAnother()
    {
        QFETCH(int, code);
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(Clear);
        keys.KeyChosen(code);
        QCOMPARE(keys.active(), Clear);
        QCOMPARE(keys.caption(Clear), QStringLiteral("Choose another"));
        QCOMPARE(keys.code(Clear), qint16(8));
    }

    void shiftThenSBindsS()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(Period1);
        keys.KeyChosen(16);
        QCOMPARE(keys.caption(Period1), QStringLiteral("Choose another"));
        keys.KeyChosen(17); // Ctrl is free and has a name
        QCOMPARE(keys.caption(Period1), QStringLiteral("Ctrl"));
        QCOMPARE(keys.code(Period1), qint16(17));
    }

    void cancellingTheWaitShowsTheOldBinding()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(HS1);
        keys.KeyChosen('R'); // refused first
        keys.KeyChosen(KeyBindings::CancelWait);
        QCOMPARE(keys.active(), int(KeyBindings::None));
        QCOMPARE(keys.caption(HS1), QStringLiteral("Insert"));
        QCOMPARE(keys.code(HS1), qint16(45));
    }

    void clickingTheWaitingLabelAgainEndsTheWait()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(StartStop);
        QVERIFY(!keys.ChooseKey(StartStop));
        QCOMPARE(keys.active(), int(KeyBindings::None));
        QCOMPARE(keys.caption(StartStop), QStringLiteral("S"));
    }

    void clickingAnotherLabelMovesTheWait()
    {
        KeyBindings keys = defaultBindings();
        keys.ChooseKey(StartStop);
        keys.KeyChosen('1');
        QVERIFY(keys.ChooseKey(Period1));
        QCOMPARE(keys.active(), Period1);
        QCOMPARE(keys.caption(StartStop), QStringLiteral("S"));
        QCOMPARE(keys.caption(Period1), QStringLiteral("<Press any key>"));
        QVERIFY(!keys.isWaiting(StartStop));
    }

    void aKeyWithNothingWaitingDoesNothing()
    {
        KeyBindings keys = defaultBindings();
        keys.KeyChosen('G');
        keys.KeyChosen(KeyBindings::CancelWait);
        for (int i = 0; i < keys.count(); ++i)
            QCOMPARE(keys.caption(i), KeyCodeToStr(keys.code(i)));
        QCOMPARE(keys.code(StartStop), qint16('S'));
    }

    void aKeyInUseIsNamedByTheFirstLabelInControlOrder()
    {
        KeyBindings keys = defaultBindings();
        QCOMPARE(keys.IsKeyInUse('S'), QStringLiteral("lblKeyStartStopClock"));
        QCOMPARE(keys.IsKeyInUse('G'), QStringLiteral("None"));
        keys.setCode(Period1, 45);
        QCOMPARE(keys.IsKeyInUse(45), QStringLiteral("lblKeyHS1"));
        // The waiting label counts too.
        keys.ChooseKey(HS1);
        QCOMPARE(keys.IsKeyInUse(45), QStringLiteral("lblKeyHS1"));
        // Period +1 shares the code with an earlier label: its own key is refused.
        keys.KeyChosen(KeyBindings::CancelWait);
        keys.ChooseKey(Period1);
        keys.KeyChosen(45);
        QCOMPARE(keys.caption(Period1), QStringLiteral("Choose another"));
    }

    void anUnnamedStoredCodeShowsEmptyAndIsKept()
    {
        ConfigRecord record = defaultConfig(QString());
        record.ClearKey = 48;
        KeyBindings keys;
        keys.loadFrom(record);
        keys.SetKeyTextFromTags();
        QCOMPARE(keys.caption(Clear), QString());
        ConfigRecord back = defaultConfig(QString());
        keys.storeInto(back);
        QCOMPARE(back.ClearKey, qint16(48));
    }

    void resetBringsTheFirstStartKeys()
    {
        ConfigRecord record = defaultConfig(QString());
        KeyBindings keys;
        for (int i = 0; i < keys.count(); ++i)
            keys.setCode(i, qint16(200 + i));
        keys.resetCommandKeys();
        keys.resetQuickKeys();
        keys.SetKeyTextFromTags();
        ConfigRecord back;
        keys.storeInto(back);
        QCOMPARE(back.StartStopClockKey, qint16(83));
        QCOMPARE(back.ResetClockKey, qint16(82));
        QCOMPARE(back.ResetShotClockKey, qint16(84));
        QCOMPARE(back.ClockSwitchKey, qint16(67));
        QCOMPARE(back.BuzzerKey, qint16(66));
        QCOMPARE(back.ClearKey, qint16(8));
        QCOMPARE(back.QScoreH1, qint16(45));
        QCOMPARE(back.QScoreH2, qint16(36));
        QCOMPARE(back.QScoreH3, qint16(33));
        QCOMPARE(back.QScoreV1, qint16(46));
        QCOMPARE(back.QScoreV2, qint16(35));
        QCOMPARE(back.QScoreV3, qint16(34));
        QCOMPARE(back.QPeriod1, qint16(80));
        QCOMPARE(keys.caption(Clear), QStringLiteral("Backspace"));
        QCOMPARE(keys.caption(Period1), QStringLiteral("P"));
    }

    void fileCaptions()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QCOMPARE(FileCaption(QString()), QStringLiteral("[No File Selected]"));

        // Paths of exactly 50 and 51 characters to existing files.
        const QString base = dir.path() + u'/';
        const auto pathOfLength = [&](int length, const QString& tail) {
            return base + QString(length - base.size() - tail.size(), u'x') + tail;
        };
        QVERIFY(base.size() < 30);
        const QString fifty = pathOfLength(50, QStringLiteral("/horn.wav"));
        const QString fiftyOne = pathOfLength(51, QStringLiteral("/horn.wav"));
        QVERIFY(QDir().mkpath(QFileInfo(fifty).path()) && QDir().mkpath(QFileInfo(fiftyOne).path()));
        for (const QString& p : {fifty, fiftyOne}) {
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(fifty.size(), 50);
        QCOMPARE(FileCaption(fifty), fifty);
        QCOMPARE(fiftyOne.size(), 51);
        QCOMPARE(FileCaption(fiftyOne), fiftyOne.left(10) + QStringLiteral(" ...\\horn.wav"));

        // A long path to nothing, or to a folder, ends in the separator.
        const QString missing = pathOfLength(60, QStringLiteral("/gone.wav"));
        QCOMPARE(FileCaption(missing), missing.left(10) + QStringLiteral(" ...\\"));
        const QString folder = QFileInfo(fiftyOne).path();
        QVERIFY(folder.size() > 40);
        const QString longFolder = folder + QStringLiteral("/") + QString(12, u'd');
        QVERIFY(QDir().mkpath(longFolder));
        QCOMPARE(FileCaption(longFolder), longFolder.left(10) + QStringLiteral(" ...\\"));
    }

    void storedValuesOutOfRangeAreBroughtIn()
    {
        QCOMPARE(clampShotClockResetTime(-4), 0);
        QCOMPARE(clampShotClockResetTime(35), 35);
        QCOMPARE(clampShotClockResetTime(150), 99);
        QCOMPARE(clampLEDSelectedWidth(-1), 0);
        QCOMPARE(clampLEDSelectedWidth(3), 3);
        QCOMPARE(clampLEDSelectedWidth(32767), 5);
        QCOMPARE(clampLEDType(-1), 0);
        QCOMPARE(clampLEDType(1), 1);
        QCOMPARE(clampLEDType(7), 1);
    }

    void shownNumbersReadBack()
    {
        QCOMPARE(wholePartOfCaption(QStringLiteral("3"), 9), qint16(3));
        QCOMPARE(wholePartOfCaption(QStringLiteral("4.9"), 9), qint16(4));
        QCOMPARE(wholePartOfCaption(QStringLiteral("x"), 9), qint16(9));
        QCOMPARE(roundedCaption(QStringLiteral("35"), 9), qint16(35));
        QCOMPARE(roundedCaption(QStringLiteral(""), 9), qint16(9));
    }
};

QTEST_GUILESS_MAIN(TestOptionsLogic)
#include "tst_optionslogic.moc"
