// The LED displays: the text each one forms from its values, the size it gives
// itself, the cost of writing an unchanged value, and the events it hands its host.

#include "clockdisplay.h"
#include "digitdisplay.h"
#include "glyphdisplay.h"

#include <QKeyEvent>
#include <QMouseEvent>
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
        if (e->type() == QEvent::Paint)
            ++paints;
        else if (e->type() == QEvent::Resize)
            ++resizes;
        return false;
    }
};

// A host window that notes which events got past its child display.
class Host : public QWidget
{
public:
    int keys = 0;
    int mouse = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void keyReleaseEvent(QKeyEvent*) override { ++keys; }
    void mousePressEvent(QMouseEvent*) override { ++mouse; }
    void mouseReleaseEvent(QMouseEvent*) override { ++mouse; }
};

enum Kind { Digit, Clock, Glyph };

std::unique_ptr<LedDisplay> make(Kind kind)
{
    switch (kind) {
    case Clock:
        return std::make_unique<ClockDisplay>();
    case Glyph:
        return std::make_unique<GlyphDisplay>();
    case Digit:
        break;
    }
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
        QTest::newRow("zero shows 0") << 0 << 9 << "0";
        QTest::newRow("-1 is blank") << -1 << 9 << "";
        QTest::newRow("below -1 is blank too") << -7 << 99 << "";
        QTest::newRow("one digit") << 4 << 9 << "4";
        QTest::newRow("two digits, no leading zero") << 5 << 99 << "5";
        QTest::newRow("score of twelve") << 12 << 199 << "12";
        QTest::newRow("hundreds use the half digit") << 188 << 199 << "188";
        QTest::newRow("above Max shows Max") << 250 << 199 << "199";
        QTest::newRow("shot clock above 99") << 100 << 99 << "99";
        QTest::newRow("three full digits") << 999 << 999 << "999";
    }
    void digitTextFollowsCaptionAndMax()
    {
        QFETCH(int, caption);
        QFETCH(int, max);
        QFETCH(QString, shown);
        QCOMPARE(DigitDisplay::textFor(caption, max), shown);

        DigitDisplay display;
        display.setMax(max);
        display.setCaption(caption);
        QCOMPARE(display.shownText(), shown);
        QCOMPARE(display.accessibleDescription(), shown);
    }

    void clockTextFollowsFormatAndValue_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("shown");
        const QString ms = QStringLiteral("60,1");
        const QString st = QStringLiteral("1,.1");
        QTest::newRow("754 is 12:34") << ms << 754.0f << "12:34";
        QTest::newRow("600 is 10:00") << ms << 600.0f << "10:00";
        QTest::newRow("599 is 9:59, leading minute blank") << ms << 599.0f << "9:59";
        QTest::newRow("60 is 1:00") << ms << 60.0f << "1:00";
        QTest::newRow("5999 is 99:59") << ms << 5999.0f << "99:59";
        QTest::newRow("past 99:59 stays 99:59") << ms << 7200.0f << "99:59";
        QTest::newRow("time of day 23:59") << ms << 1439.0f << "23:59";
        QTest::newRow("zero minutes") << ms << 0.0f << "0:00";
        QTest::newRow("negative minutes show zero") << ms << -5.0f << "0:00";
        QTest::newRow("59.9 in tenths") << st << 59.9f << "59.9";
        QTest::newRow("59.94 rounds to 59.9") << st << 59.94f << "59.9";
        QTest::newRow("59.96 never reads 60.0") << st << 59.96f << "59.9";
        QTest::newRow("9.5 has no leading zero") << st << 9.5f << "9.5";
        QTest::newRow("zero tenths") << st << 0.0f << "0.0";
        QTest::newRow("negative tenths show zero") << st << -0.3f << "0.0";
        QTest::newRow("0.26 rounds to 0.3") << st << 0.26f << "0.3";
        QTest::newRow("unknown format shows minutes") << QStringLiteral("x") << 754.0f << "12:34";
    }
    void clockTextFollowsFormatAndValue()
    {
        QFETCH(QString, format);
        QFETCH(float, value);
        QFETCH(QString, shown);
        QCOMPARE(ClockDisplay::textFor(format, value), shown);

        ClockDisplay display;
        display.setFormat(format);
        display.setValue(value);
        QCOMPARE(display.shownText(), shown);
        QCOMPARE(display.accessibleDescription(), shown);
    }

    void glyphShowsItsCaption()
    {
        GlyphDisplay display;
        QCOMPARE(display.caption(), qint16(8));
        QCOMPARE(display.shownText(), QStringLiteral("8"));
        display.setCaption(3);
        QCOMPARE(display.shownText(), QStringLiteral("3"));
        display.setCaption(-1);
        QCOMPARE(display.shownText(), QString());
    }

    void displaySizesItselfNearTheDesignExtent_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("max");
        QTest::addColumn<double>("size");
        QTest::addColumn<double>("paddingH");
        QTest::addColumn<double>("paddingV");
        QTest::addColumn<double>("paddingI");
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<int>("heightTwips");
        QTest::newRow("home score, Max 199") << int(Digit) << 199 << 25.0 << 55.0 << 55.0 << 55.0 << 690 << 480;
        QTest::newRow("period, one digit") << int(Digit) << 9 << 25.0 << 55.0 << 55.0 << 55.0 << 315 << 480;
        QTest::newRow("box shot clock") << int(Digit) << 99 << 40.0 << 60.0 << 60.0 << 90.0 << 870 << 705;
        QTest::newRow("shot clock window") << int(Digit) << 99 << 410.0 << 200.0 << 250.0 << 600.0 << 7845 << 6660;
        QTest::newRow("game clock") << int(Clock) << 0 << 25.0 << 55.0 << 55.0 << 55.0 << 1245 << 480;
        QTest::newRow("style preview, defaults") << int(Glyph) << 0 << 0.0 << 0.0 << 0.0 << 0.0 << 375 << 675;
    }
    void displaySizesItselfNearTheDesignExtent()
    {
        QFETCH(int, kind);
        QFETCH(int, max);
        QFETCH(double, size);
        QFETCH(double, paddingH);
        QFETCH(double, paddingV);
        QFETCH(double, paddingI);
        QFETCH(int, widthTwips);
        QFETCH(int, heightTwips);

        auto display = make(Kind(kind));
        if (auto* digits = qobject_cast<DigitDisplay*>(display.get()))
            digits->setMax(max);
        if (size > 0) {
            display->setDigitSize(size);
            display->setPaddingH(paddingH);
            display->setPaddingV(paddingV);
            display->setPaddingI(paddingI);
        }
        if (auto* clock = qobject_cast<ClockDisplay*>(display.get()))
            clock->setPaddingD(paddingI);

        const double w = display->width() * 15.0;
        const double h = display->height() * 15.0;
        QVERIFY2(qAbs(w - widthTwips) <= widthTwips * 0.1, qPrintable(QString::number(w)));
        QVERIFY2(qAbs(h - heightTwips) <= heightTwips * 0.1, qPrintable(QString::number(h)));
        QCOMPARE(display->sizeHint(), display->size());
    }

    void displayGrowsWithSizeAndNeverVanishes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("digit") << int(Digit);
        QTest::newRow("clock") << int(Clock);
        QTest::newRow("glyph") << int(Glyph);
    }
    void displayGrowsWithSizeAndNeverVanishes()
    {
        QFETCH(int, kind);
        auto display = make(Kind(kind));
        QSize previous(0, 0);
        for (double size : {-5.0, 0.0, 1.0, 2.0, 25.0, 100.0, 1000.0, 32767.0, 1e9}) {
            display->setDigitSize(size);
            const QSize now = display->size();
            QVERIFY(now.width() > 0 && now.height() > 0);
            QVERIFY(now.width() >= previous.width() && now.height() >= previous.height());
            previous = now;
        }
        display->setLedType(1);
        for (double size : {1.0, 2160.0}) {
            display->setDigitSize(size);
            display->setPaddingH(0.4);
            QVERIFY(!display->grab().isNull());
        }
    }

    void unchangedWritesCostNoPaintAndNoResize()
    {
        // Given a shown display with every value written once
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

        // When the same values are written a thousand times
        for (int i = 0; i < 1000; ++i) {
            digits.setCaption(12);
            digits.setMax(199);
            for (LedDisplay* d : {static_cast<LedDisplay*>(&digits), static_cast<LedDisplay*>(&clock)}) {
                d->setLitColor(d->litColor());
                d->setBackColor(d->backColor());
                d->setLedType(d->ledType());
                d->setDigitSize(d->digitSize());
                d->setPaddingH(d->paddingH() + 0.2);
                d->setPaddingV(d->paddingV());
                d->setPaddingI(d->paddingI());
                d->setDigitRatio(d->digitRatio());
            }
            clock.setValue(754);
            clock.setFormat(QStringLiteral("60,1"));
            clock.setPaddingD(clock.paddingD());
        }
        QCoreApplication::processEvents();

        // Then nothing is painted, resized or announced
        QCOMPARE(counter.paints, 0);
        QCOMPARE(counter.resizes, 0);
        QCOMPARE(captionSpy.count(), 0);

        // And a real change does paint, so the counter is watching
        digits.setCaption(13);
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(captionSpy.count(), 1);
        QCOMPARE(counter.resizes, 0);
    }

    void changedSizeResizesTheDisplay()
    {
        DigitDisplay display;
        QSignalSpy spy(&display, &LedDisplay::digitSizeChanged);
        const QSize before = display.size();
        display.setDigitSize(50.4);
        QCOMPARE(display.digitSize(), qint16(50));
        QCOMPARE(spy.count(), 1);
        QVERIFY(display.height() > before.height());
        QCOMPARE(display.size(), display.sizeHint());
    }

    void mouseClickEmitsClickAndStopsAtTheDisplay()
    {
        Host host;
        auto* display = new DigitDisplay(&host);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy click(display, &LedDisplay::Click);
        int downs = 0;
        int ups = 0;
        connect(display, &LedDisplay::MouseDown, this, [&downs](QMouseEvent*) { ++downs; });
        connect(display, &LedDisplay::MouseUp, this, [&ups](QMouseEvent*) { ++ups; });

        QTest::mouseClick(display, Qt::LeftButton, {}, QPoint(3, 3));

        QCOMPARE(click.count(), 1);
        QCOMPARE(downs, 1);
        QCOMPARE(ups, 1);
        QCOMPARE(host.mouse, 0);
    }

    void keyDownCarriesTheEventAndStopsAtTheDisplay()
    {
        Host host;
        auto* display = new ClockDisplay(&host);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        display->setFocus();
        QCOMPARE(display->focusPolicy(), Qt::StrongFocus);
        int downKey = 0;
        int upKey = 0;
        connect(display, &LedDisplay::KeyDown, this, [&downKey](QKeyEvent* e) { downKey = e->key(); });
        connect(display, &LedDisplay::KeyUp, this, [&upKey](QKeyEvent* e) { upKey = e->key(); });

        QTest::keyClick(display, Qt::Key_S);

        QCOMPARE(downKey, int(Qt::Key_S));
        QCOMPARE(upKey, int(Qt::Key_S));
        QCOMPARE(host.keys, 0);
    }

    void classNamesAndPropertiesAreTheProgramsOwn()
    {
        DigitDisplay digits;
        ClockDisplay clock;
        GlyphDisplay glyph;
        QCOMPARE(digits.metaObject()->className(), "DigitDisplay");
        QCOMPARE(clock.metaObject()->className(), "ClockDisplay");
        QCOMPARE(glyph.metaObject()->className(), "GlyphDisplay");
        for (const char* name : {"LitColor", "BackColor", "LedType", "Size", "PaddingH", "PaddingV", "PaddingI",
                                 "DigitRatio"})
            QVERIFY2(digits.property(name).isValid(), name);
        for (const char* name : {"Caption", "Max"})
            QVERIFY2(digits.property(name).isValid(), name);
        for (const char* name : {"Format", "Value", "PaddingD"})
            QVERIFY2(clock.property(name).isValid(), name);
        QVERIFY(glyph.property("Caption").isValid());
        QCOMPARE(digits.property("Size").metaType(), QMetaType::fromType<qint16>());
        QCOMPARE(digits.property("Max").toInt(), 9);
        QCOMPARE(digits.property("DigitRatio").toInt(), 53);
    }
};

QTEST_MAIN(TestLedDisplays)
#include "tst_leddisplays.moc"
