// Key events become the same virtual-key codes whatever the toolkit reports.

#include "virtualkeys.h"

#include <QKeyEvent>
#include <QTest>

class TestVirtualKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translation_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<uint>("keysym");
        QTest::addColumn<int>("code");
        QTest::newRow("S") << int(Qt::Key_S) << false << 0x73u << 83;
        QTest::newRow("Shift+S gives the same") << int(Qt::Key_S) << false << 0x53u << 83;
        QTest::newRow("top-row 7") << int(Qt::Key_7) << false << 0u << 55;
        QTest::newRow("Shift+1 is the 1 key") << int(Qt::Key_Exclam) << false << 0u << 49;
        QTest::newRow("Shift+8 is the 8 key") << int(Qt::Key_Asterisk) << false << 0u << 56;
        QTest::newRow("Shift+0 is the 0 key") << int(Qt::Key_ParenRight) << false << 0u << 48;
        QTest::newRow("keypad 7 with NumLock on") << int(Qt::Key_7) << true << 0u << 103;
        QTest::newRow("keypad 7 with NumLock off is Home") << int(Qt::Key_Home) << true << 0u << 36;
        QTest::newRow("keypad 0 with NumLock off is Insert") << int(Qt::Key_Insert) << true << 0u << 45;
        QTest::newRow("keypad point") << int(Qt::Key_Period) << true << 0u << 110;
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << true << 0u << 110;
        QTest::newRow("keypad point with NumLock off") << int(Qt::Key_Delete) << true << 0u << 46;
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << true << 0u << 107;
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << true << 0u << 109;
        QTest::newRow("keypad star") << int(Qt::Key_Asterisk) << true << 0u << 106;
        QTest::newRow("keypad slash") << int(Qt::Key_Slash) << true << 0u << 111;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 0u << 13;
        QTest::newRow("keypad 5 with NumLock off") << int(Qt::Key_Clear) << true << 0u << 12;
        QTest::newRow("Return") << int(Qt::Key_Return) << false << 0u << 13;
        QTest::newRow("equals") << int(Qt::Key_Equal) << false << 0u << 187;
        QTest::newRow("Shift+equals") << int(Qt::Key_Plus) << false << 0u << 187;
        QTest::newRow("minus") << int(Qt::Key_Minus) << false << 0u << 189;
        QTest::newRow("underscore") << int(Qt::Key_Underscore) << false << 0u << 189;
        QTest::newRow("full stop") << int(Qt::Key_Period) << false << 0u << 190;
        QTest::newRow("F1") << int(Qt::Key_F1) << false << 0u << 112;
        QTest::newRow("F12") << int(Qt::Key_F12) << false << 0u << 123;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << false << 0u << 27;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << 0u << 8;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << false << 0u << 33;
        QTest::newRow("NumLock") << int(Qt::Key_NumLock) << false << 0u << 144;
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << false << 0u << 17;
        QTest::newRow("Ctrl+Pause arrives as Break") << 0 << false << 0xff6bu << 19;
        QTest::newRow("a key with no code") << int(Qt::Key_VolumeUp) << false << 0u << 0;
    }
    void translation()
    {
        QFETCH(int, qtKey);
        QFETCH(bool, keypad);
        QFETCH(uint, keysym);
        QFETCH(int, code);
        QCOMPARE(virtualKeyCode(KeyFacts{qtKey, keypad, keysym}), code);
    }

    void readsTheKeypadFromTheEvent()
    {
        const QKeyEvent keypadSeven(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier, QStringLiteral("7"));
        const QKeyEvent shiftedS(QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, QStringLiteral("S"));
        QCOMPARE(virtualKeyCode(keypadSeven), 103);
        QCOMPARE(virtualKeyCode(shiftedS), 83);
    }
};

QTEST_APPLESS_MAIN(TestVirtualKeys)
#include "tst_virtualkeys.moc"
