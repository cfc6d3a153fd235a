// Key events become the same virtual-key codes whatever the toolkit reports.
// Whole key events (keypad flag, Shift) are sent by tst_frmshotclock and
// tst_scoreboardkeys.

#include "displaycheck.h"
#include "virtualkeys.h"

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
        for (int digit = 0; digit <= 9; ++digit)
            QTest::addRow("keypad %d with NumLock on", digit) << Qt::Key_0 + digit << true << 0u << 96 + digit;
        QTest::newRow("keypad 7 with NumLock off is Home") << int(Qt::Key_Home) << true << 0u << 36;
        QTest::newRow("keypad point") << int(Qt::Key_Period) << true << 0u << 110;
        QTest::newRow("keypad point with NumLock off") << int(Qt::Key_Delete) << true << 0u << 46;
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << true << 0u << 107;
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << true << 0u << 109;
        QTest::newRow("keypad star") << int(Qt::Key_Asterisk) << true << 0u << 106;
        QTest::newRow("keypad slash") << int(Qt::Key_Slash) << true << 0u << 111;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 0u << 13;
        QTest::newRow("Shift+equals") << int(Qt::Key_Plus) << false << 0u << 187;
        QTest::newRow("underscore") << int(Qt::Key_Underscore) << false << 0u << 189;
        QTest::newRow("full stop") << int(Qt::Key_Period) << false << 0u << 190;
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

    // Keys of the us, fr and de layouts, as the event reports them and with the
    // keysyms their key carries unshifted and shifted.
    void layouts_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<uint>("base");
        QTest::addColumn<uint>("shifted");
        QTest::addColumn<int>("code");
        const auto row = [](const char* name, int qtKey, uint base, uint shifted, int code) {
            QTest::newRow(name) << qtKey << base << shifted << code;
        };
        row("us 1", Qt::Key_1, '1', '!', 49);
        row("us Shift+1", Qt::Key_Exclam, '1', '!', 49);
        row("us Shift+S", Qt::Key_S, 's', 'S', 83);
        row("us Shift+minus", Qt::Key_Underscore, '-', '_', 189);
        row("us F2", Qt::Key_F2, 0xffbf, 0xffbf, 113);
        row("fr 1 key types &", Qt::Key_Ampersand, '&', '1', 49);
        row("fr 6 key types -", Qt::Key_Minus, '-', '6', 54);
        row("fr 7 key types egrave", Qt::Key_Egrave, 0xe8, '7', 55);
        row("fr Shift+2", Qt::Key_2, 0xe9, '2', 50);
        row("fr A key", Qt::Key_A, 'a', 'A', 65);
        row("fr ) key is no 0", Qt::Key_ParenRight, ')', 0xb0, 0);
        row("fr Shift+comma types ?", Qt::Key_Question, ',', '?', 188);
        row("de Shift+0 types =", Qt::Key_Equal, '0', '=', 48);
        row("de Z key", Qt::Key_Z, 'z', 'Z', 90);
        row("de sharp s", Qt::Key_ssharp, 0xdf, '?', 0);
        row("de Shift+sharp s types ?", Qt::Key_Question, 0xdf, '?', 0);
    }
    void layouts()
    {
        QFETCH(int, qtKey);
        QFETCH(uint, base);
        QFETCH(uint, shifted);
        QFETCH(int, code);
        QCOMPARE(virtualKeyCode(KeyFacts{qtKey, false, 0, base, shifted}), code);
    }

    // On a Wayland desktop the program runs through X11 unless a platform is named.
    void platformOnWayland_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("Wayland, none named") << QByteArray() << QByteArray("wayland-0") << QByteArray("xcb");
        QTest::newRow("Wayland named") << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray("wayland");
        QTest::newRow("no Wayland") << QByteArray() << QByteArray() << QByteArray();
    }
    void platformOnWayland()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, platform);
        qputenv("QT_QPA_PLATFORM", chosen);
        qputenv("WAYLAND_DISPLAY", wayland);
        preferX11OnWayland();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), platform);
    }
};

QTEST_APPLESS_MAIN(TestVirtualKeys)
#include "tst_virtualkeys.moc"
