// The LED displays: the text each forms from its values, the size it gives
// itself, and that writing an unchanged value costs nothing.

#include "clockdisplay.h"
#include "digitdisplay.h"
#include "glyphdisplay.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// Counts the paint and resize events a widget receives, from outside.
class EventCounter : public QObject
{
public:
    int paints = 0;
    int resizes = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint;
        resizes += e->type() == QEvent::Resize;
        return false;
    }
};

std::unique_ptr<LedDisplay> make(const QByteArray& className)
{
    if (className == "ClockDisplay")
        return std::make_unique<ClockDisplay>();
    if (className == "GlyphDisplay")
        return std::make_unique<GlyphDisplay>();
    return std::make_unique<DigitDisplay>();
}

} // namespace

class TestLedDisplays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void digitTextFollowsCaptionAndMax_data()
    {
        QTest::addColumn<int>("caption");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0 << 9 << "0";
        QTest::newRow("-1 is blank") << -1 << 9 << "";
        QTest::newRow("below -1 is blank too") << -7 << 99 << "";
        QTest::newRow("no leading zero") << 5 << 99 << "5";
        QTest::newRow("hundreds use the half digit") << 188 << 199 << "188";
        QTest::newRow("above Max shows Max") << 250 << 199 << "199";
    }
    void digitTextFollowsCaptionAndMax()
    {
        QFETCH(int, caption);
        QFETCH(int, max);
        QFETCH(QString, shown);
        DigitDisplay display;
        display.setMax(max);
        display.setCaption(caption);
        QCOMPARE(display.shownText(), shown);
    }

    void clockTextFollowsFormatAndValue_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("shown");
        const QString ms = QStringLiteral("60,1");
        const QString st = QStringLiteral("1,.1");
        QTest::newRow("754 is 12:34") << ms << 754.0f << "12:34";
        QTest::newRow("599 is 9:59, leading minute blank") << ms << 599.0f << "9:59";
        QTest::newRow("past 99:59 stays 99:59") << ms << 7200.0f << "99:59";
        QTest::newRow("negative minutes show zero") << ms << -5.0f << "0:00";
        QTest::newRow("59.96 never reads 60.0") << st << 59.96f << "59.9";
        QTest::newRow("0.26 rounds to 0.3") << st << 0.26f << "0.3";
        QTest::newRow("9.5 has no leading zero") << st << 9.5f << "9.5";
        QTest::newRow("negative tenths show zero") << st << -0.3f << "0.0";
        QTest::newRow("unknown format shows minutes") << QStringLiteral("x") << 754.0f << "12:34";
    }
    void clockTextFollowsFormatAndValue()
    {
        QFETCH(QString, format);
        QFETCH(float, value);
        QFETCH(QString, shown);
        ClockDisplay display;
        display.setFormat(format);
        display.setValue(value);
        QCOMPARE(display.shownText(), shown);
    }

    void displaySizesItselfNearTheDesignExtent_data()
    {
        QTest::addColumn<QByteArray>("className"); // as the layout finds it
        QTest::addColumn<int>("max");
        QTest::addColumn<double>("size");
        QTest::addColumn<QSizeF>("paddingHV");
        QTest::addColumn<double>("paddingI");
        QTest::addColumn<QSize>("twips");
        QTest::newRow("score, Max 199") << QByteArray("DigitDisplay") << 199 << 25.0 << QSizeF(55, 55) << 55.0 << QSize(690, 480);
        QTest::newRow("period, one digit") << QByteArray("DigitDisplay") << 9 << 25.0 << QSizeF(55, 55) << 55.0 << QSize(315, 480);
        QTest::newRow("shot clock window") << QByteArray("DigitDisplay") << 99 << 410.0 << QSizeF(200, 250) << 600.0 << QSize(7845, 6660);
        QTest::newRow("game clock") << QByteArray("ClockDisplay") << 0 << 25.0 << QSizeF(55, 55) << 55.0 << QSize(1245, 480);
        QTest::newRow("glyph defaults") << QByteArray("GlyphDisplay") << 0 << 0.0 << QSizeF() << 0.0 << QSize(375, 675);
    }
    void displaySizesItselfNearTheDesignExtent()
    {
        QFETCH(QByteArray, className);
        QFETCH(int, max);
        QFETCH(double, size);
        QFETCH(QSizeF, paddingHV);
        QFETCH(double, paddingI);
        QFETCH(QSize, twips);
        auto display = make(className);
        QCOMPARE(display->metaObject()->className(), className.constData());
        if (auto* digits = qobject_cast<DigitDisplay*>(display.get()))
            digits->setMax(max);
        if (size > 0) { // else the glyph's own defaults
            display->setDigitSize(size);
            display->setPaddingH(paddingHV.width());
            display->setPaddingV(paddingHV.height());
            display->setPaddingI(paddingI);
        }
        if (auto* clock = qobject_cast<ClockDisplay*>(display.get()))
            clock->setPaddingD(paddingI);
        const QSizeF got = QSizeF(display->size()) * 15.0;
        QVERIFY2(qAbs(got.width() - twips.width()) <= twips.width() * 0.1, qPrintable(QString::number(got.width())));
        QVERIFY2(qAbs(got.height() - twips.height()) <= twips.height() * 0.1, qPrintable(QString::number(got.height())));
        QCOMPARE(display->sizeHint(), display->size());

        // Larger digits never shrink it, and no size makes it vanish or fail to paint.
        QSize previous(0, 0);
        for (double s : {-5.0, 0.0, 1.0, 25.0, 1000.0, 32767.0, 1e9}) {
            display->setDigitSize(s);
            const QSize now = display->size();
            QVERIFY(!now.isEmpty() && now.width() >= previous.width() && now.height() >= previous.height());
            previous = now;
        }
        display->setLedType(LedDisplay::Dots);
        display->setDigitSize(1);
        QVERIFY(!display->grab().isNull());
    }

    void unchangedWritesCostNoPaintAndNoResize()
    {
        ClockDisplay clock;
        DigitDisplay digits;
        digits.setMax(199);
        digits.setCaption(12);
        clock.setValue(754);
        clock.show();
        digits.show();
        QVERIFY(QTest::qWaitForWindowExposed(&digits));
        QVERIFY(QTest::qWaitForWindowExposed(&clock));
        QCoreApplication::processEvents();
        EventCounter counter;
        digits.installEventFilter(&counter);
        clock.installEventFilter(&counter);
        QSignalSpy captionSpy(&digits, &DigitDisplay::captionChanged);

        // What the refresh writes 20 times a second, and the layout on every
        // resize; here a thousand times.
        for (int i = 0; i < 1000; ++i) {
            digits.setCaption(12);
            clock.setValue(754);
            clock.setFormat(QStringLiteral("60,1"));
            for (LedDisplay* d : {static_cast<LedDisplay*>(&digits), static_cast<LedDisplay*>(&clock)}) {
                d->setLitColor(d->litColor());
                d->setDigitSize(d->digitSize());
                d->setPaddingH(d->paddingH() + 0.2); // rounds to the same whole twips
            }
            clock.setPaddingD(clock.paddingD());
        }
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);
        QCOMPARE(counter.resizes, 0);
        QCOMPARE(captionSpy.count(), 0);

        // A real change does paint, so the counter is watching.
        digits.setCaption(13);
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(captionSpy.count(), 1);
        QCOMPARE(counter.resizes, 0);
    }
};

QTEST_MAIN(TestLedDisplays)
#include "tst_leddisplays.moc"
