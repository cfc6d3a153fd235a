// The key binding editor's rules without a window: key names, every transition
// of the wait for a key, the lookup of a key in use and the defaults; the
// caption of a sound file that is gone.

#include "configrecord.h"
#include "keybindings.h"
#include "optionslogic.h"

#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {

constexpr int StartStop = 0, Clear = 4, HS1 = 6, Period1 = 12;

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
        QTest::newRow("keypad multiply") << 106 << "Numpad *";
        QTest::newRow("F3") << 114 << "F3";
        QTest::newRow("F12") << 123 << "F12";
        QTest::newRow("backslash") << 220 << "\\";
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
    }

    // Steps: "cN" clicks label N, "kN" offers key code N, "x" ends the wait as
    // a focus loss does. Then label `label` must show `caption` and hold `code`.
    void waitingForAKey_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("code");
        const int none = KeyBindings::None;
        QTest::newRow("a click starts the wait") << "c0" << 0 << 0 << "<Press any key>" << 83;
        QTest::newRow("a free named key binds") << "c0 k71" << none << 0 << "G" << 71;
        QTest::newRow("the label's own key is accepted") << "c0 k83" << none << 0 << "S" << 83;
        QTest::newRow("another binding's key is refused") << "c0 k82" << 0 << 0 << "Choose another" << 83;
        QTest::newRow("so is one from the other tab") << "c0 k45" << 0 << 0 << "Choose another" << 83;
        QTest::newRow("then a free key binds") << "c0 k82 k81" << none << 0 << "Q" << 81;
        for (int unnamed : {48, 32, 13, 16, 18, 37, 112, 113, 121, 0, 107})
            QTest::newRow(qPrintable(QStringLiteral("unnamed %1 is refused").arg(unnamed)))
                << QStringLiteral("c4 k%1").arg(unnamed) << Clear << Clear << "Choose another" << 8;
        QTest::newRow("Shift then Ctrl binds Ctrl") << "c12 k16 k17" << none << Period1 << "Ctrl" << 17;
        QTest::newRow("a focus loss shows the old binding") << "c6 k82 x" << none << HS1 << "Insert" << 45;
        QTest::newRow("a click on the waiting label again") << "c0 c0" << none << 0 << "S" << 83;
        QTest::newRow("a click on another label: the first is idle") << "c0 k49 c12" << Period1 << 0 << "S" << 83;
        QTest::newRow("a click on another label: that one waits") << "c0 k49 c12" << Period1 << Period1 << "<Press any key>" << 80;
        QTest::newRow("a key with nothing waiting") << "k71 x" << none << 0 << "S" << 83;
        QTest::newRow("a swap needs a free key between") << "c0 k88 c1 k83 c0 k82" << none << 0 << "R" << 82;
    }

    void waitingForAKey()
    {
        QFETCH(QString, steps);
        QFETCH(int, active);
        QFETCH(int, label);
        QFETCH(QString, caption);
        QFETCH(int, code);
        KeyBindings keys = defaultBindings();
        for (const QString& step : steps.split(u' ')) {
            if (step == u'x')
                keys.KeyChosen(KeyBindings::CancelWait);
            else if (step.startsWith(u'c'))
                keys.ChooseKey(step.mid(1).toInt());
            else
                keys.KeyChosen(step.mid(1).toInt());
        }
        QCOMPARE(keys.active(), active);
        QCOMPARE(keys.caption(label), caption);
        QCOMPARE(int(keys.code(label)), code);
    }

    void aKeyInUseIsNamedByTheFirstLabelInControlOrder()
    {
        KeyBindings keys = defaultBindings();
        QCOMPARE(keys.IsKeyInUse('G'), QStringLiteral("None"));
        keys.setCode(Period1, 45);
        QCOMPARE(keys.IsKeyInUse(45), QStringLiteral("lblKeyHS1"));
        // Period +1 shares the code with an earlier label: its own key is refused.
        keys.ChooseKey(Period1);
        keys.KeyChosen(45);
        QCOMPARE(keys.caption(Period1), KeyBindings::ChooseAnother);
    }

    void resetBringsTheFirstStartKeys()
    {
        KeyBindings keys;
        for (int i = 0; i < keys.count(); ++i)
            keys.setCode(i, qint16(200 + i));
        keys.resetCommandKeys();
        keys.resetQuickKeys();
        ConfigRecord back;
        keys.storeInto(back);
        const ConfigRecord first = defaultConfig(QString());
        for (const KeyLabelField& f : KeyLabelFields)
            QCOMPARE(back.*f.field, first.*f.field);
    }

    void aLongPathToNothingIsCaptionedUpToItsSeparator()
    {
        QTemporaryDir dir;
        const QString missing = dir.path() + u'/' + QString(40, u'x') + QStringLiteral("/gone.wav");
        QCOMPARE(FileCaption(missing), missing.left(10) + QStringLiteral(" ...\\"));
    }
};

QTEST_GUILESS_MAIN(TestOptionsLogic)
#include "tst_optionslogic.moc"
