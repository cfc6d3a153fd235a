// The shot clock window: its keys reach the score box, its number grows with the
// window in proportion, and it takes the score box's colours.

#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "frmshotclock.h"

#include <QTest>

class TestFrmShotClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysGoToTheScoreBoxOnce()
    {
        QList<int> keys;
        frmShotClock window([&keys](int code) { keys << code; });
        window.Form_Load();
        window.show();
        QTest::keyClick(window.ddShotClock, Qt::Key_S);
        QTest::keyClick(window.picShotClock, Qt::Key_S, Qt::ShiftModifier);
        QTest::keyClick(window.picShotClock, Qt::Key_7, Qt::KeypadModifier);
        QCOMPARE(keys, (QList<int>{83, 16, 83, 103})); // Shift itself is a key too
    }

    void theNumberGrowsWithTheWindowInProportion()
    {
        frmShotClock window({});
        window.Form_Load();
        window.show();
        const QSize before = window.ddShotClock->size();
        window.resize(window.size() * 2);
        const QSize after = window.ddShotClock->size();
        QVERIFY2(std::abs(after.width() - 2 * before.width()) <= 1 && std::abs(after.height() - 2 * before.height()) <= 1,
                 qPrintable(QStringLiteral("%1x%2 -> %3x%4").arg(before.width()).arg(before.height()).arg(after.width()).arg(after.height())));
    }

    void takesTheScoreBoxColours()
    {
        Config().FormBack = 0x102030;
        Config().LEDBack = 0x010101;
        Config().TimeColor = 0x00ff00;
        frmShotClock window({});
        window.applyColours();
        QCOMPARE(window.ddShotClock->litColor(), Colour(0x00ff00));
        QCOMPARE(window.ddShotClock->backColor(), Colour(0x010101));
        QCOMPARE(window.palette().color(QPalette::Window), toQColor(0x102030));
    }
};

QTEST_MAIN(TestFrmShotClock)
#include "tst_frmshotclock.moc"
