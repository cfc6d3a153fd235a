// The key binding editor's rules without a window: key names, every transition
// of the wait for a key and the lookup of a key in use; the caption of a sound
// file.

#include "configrecord.h"
#include "keybindings.h"
#include "optionslogic.h"

#include <QTemporaryDir>
#include <QtTest>


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
    // Named keys can be bound; every other code has no name.
    void everyKeyName()
    {
        QMap<int, QString> named{{8, "Backspace"}, {17, "Ctrl"}, {19, "Pause/Break"}, {33, "Page Up"}, {34, "Page Down"},
                                 {35, "End"}, {36, "Home"}, {45, "Insert"}, {46, "Delete"}, {106, "Numpad *"},
                                 {111, "Numpad /"}, {114, "F3"}, {115, "F4"}, {116, "F5"}, {117, "F6"}, {118, "F7"},
                                 {119, "F8"}, {120, "F9"}, {122, "F11"}, {123, "F12"}, {186, ";"}, {188, ","}, {191, "/"},
                                 {192, "`"}, {219, "["}, {220, "\\"}, {221, "]"}, {222, "\""}};
        for (char c = 'A'; c <= 'Z'; ++c)
            named[c] = QString(QChar(c));
        for (int code = -32768; code <= 32767; ++code)
            QCOMPARE(KeyCodeToStr(code), named.value(code));
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

    // "[No File Selected]", a path up to 50 characters whole, a longer one cut
    // after ten, with the file's name when the file exists.
    void soundFileCaptions_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("kept");
        QTest::newRow("none") << 0 << false << "";
        QTest::newRow("50 characters show whole") << 50 << true << "whole";
        QTest::newRow("51 characters are shortened") << 51 << true << " ...\\horn.wav";
        QTest::newRow("a file that is gone") << 51 << false << " ...\\";
    }

    void soundFileCaptions()
    {
        QFETCH(int, length);
        QFETCH(bool, exists);
        QFETCH(QString, kept);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString path = length ? folder + QString(length - folder.size() - 9, u'x') + QStringLiteral("/horn.wav") : QString();
        QVERIFY(!length || QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(!exists || QFile(path).open(QIODevice::WriteOnly));
        QCOMPARE(FileCaption(path), kept.isEmpty() ? QStringLiteral("[No File Selected]")
                                                   : kept == "whole" ? path : path.left(10) + kept);
    }
};

QTEST_GUILESS_MAIN(TestOptionsLogic)
#include "tst_optionslogic.moc"
