// The key binding editor's rules without a window: key names and every
// transition of the wait for a key; the caption of a sound file.

#include "configrecord.h"
#include "keybindings.h"
#include "optionslogic.h"

#include <QtTest>

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

    // From a first start's bindings. Steps: "cN" clicks label N, "kN" offers key
    // code N, "x" ends the wait as a focus loss does, "sN=C" binds label N to code
    // C. Then the label waiting (-1: none), and a label's caption and code.
    void waitingForAKey_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a click starts the wait") << "c0" << "0|0|<Press any key>|83";
        QTest::newRow("a free named key binds") << "c0 k71" << "-1|0|G|71";
        QTest::newRow("the label's own key is accepted") << "c0 k83" << "-1|0|S|83";
        QTest::newRow("another binding's key is refused") << "c0 k82" << "0|0|Choose another|83";
        QTest::newRow("so is one from the other tab") << "c0 k45" << "0|0|Choose another|83";
        QTest::newRow("then a free key binds") << "c0 k82 k81" << "-1|0|Q|81";
        for (int unnamed : {48, 32, 13, 16, 18, 37, 112, 113, 121, 0, 107})
            QTest::newRow(qPrintable(QStringLiteral("unnamed %1 is refused").arg(unnamed)))
                << QStringLiteral("c4 k%1").arg(unnamed) << "4|4|Choose another|8";
        QTest::newRow("Shift then Ctrl binds Ctrl") << "c12 k16 k17" << "-1|12|Ctrl|17";
        QTest::newRow("a focus loss shows the old binding") << "c6 k82 x" << "-1|6|Insert|45";
        QTest::newRow("a click on the waiting label again") << "c0 c0" << "-1|0|S|83";
        QTest::newRow("a click on another label: the first is idle") << "c0 k49 c12" << "12|0|S|83";
        QTest::newRow("a click on another label: that one waits") << "c0 k49 c12" << "12|12|<Press any key>|80";
        QTest::newRow("a key with nothing waiting") << "k71 x" << "-1|0|S|83";
        QTest::newRow("a swap needs a free key between") << "c0 k88 c1 k83 c0 k82" << "-1|0|R|82";
        QTest::newRow("a label sharing an earlier one's key cannot take it") << "s12=45 c12 k45" << "12|12|Choose another|45";
    }

    void waitingForAKey()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        KeyBindings keys;
        keys.loadFrom(defaultConfig(QString()));
        keys.SetKeyTextFromTags();
        for (const QString& step : steps.split(u' ')) {
            if (step == u'x')
                keys.KeyChosen(KeyBindings::CancelWait);
            else if (step.startsWith(u's'))
                keys.setCode(step.mid(1).section(u'=', 0, 0).toInt(), qint16(step.section(u'=', 1).toInt()));
            else if (step.startsWith(u'c'))
                keys.ChooseKey(step.mid(1).toInt());
            else
                keys.KeyChosen(step.mid(1).toInt());
        }
        const int label = expected.section(u'|', 1, 1).toInt();
        QCOMPARE(QStringLiteral("%1|%2|%3|%4").arg(keys.active()).arg(label).arg(keys.caption(label)).arg(keys.code(label)), expected);
    }

    // "[No File Selected]", a path up to 50 characters whole, a longer one cut
    // after ten characters, with the file's name when the file exists.
    void soundFileCaptions_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("kept"); // after the first ten characters
        QTest::newRow("none") << 0 << "";
        QTest::newRow("50 characters show whole") << 50 << "whole";
        QTest::newRow("51 characters are shortened") << 51 << " ...\\horn.wav";
        QTest::newRow("a file that is gone") << 51 << " ...\\";
    }

    void soundFileCaptions()
    {
        QFETCH(int, length);
        QFETCH(QString, kept);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString path = length ? folder + QString(length - folder.size() - 9, u'x') + "/horn.wav" : QString();
        if (length && !kept.endsWith(u'\\'))
            QVERIFY(QDir().mkpath(QFileInfo(path).path()) && QFile(path).open(QIODevice::WriteOnly));
        QCOMPARE(FileCaption(path), length ? kept == "whole" ? path : path.left(10) + kept : "[No File Selected]");
    }
};

QTEST_GUILESS_MAIN(TestOptionsLogic)
#include "tst_optionslogic.moc"
