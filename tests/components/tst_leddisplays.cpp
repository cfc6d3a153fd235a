// The LED displays: the text each forms from its values, the size it gives
// itself, the shapes it is drawn with, and that writing an unchanged value costs
// nothing.

#include "clockdisplay.h"
#include "digitdisplay.h"
#include "glyphdisplay.h"
#include "qcolour.h"

#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

// Counts the paint events a widget receives, and the area they repaint, from
// outside; a resize paints too.
class EventCounter : public QObject
{
public:
    int paints = 0;
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};

} // namespace

class TestLedDisplays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // No format: a digit display with this Max shows the value as its caption.
    void shownTextFollowsTheValue_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("max");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        const QString ms = QStringLiteral("60,1");
        const QString st = QStringLiteral("1,.1");
        QTest::newRow("zero") << QString() << 9 << 0.0 << "0";
        QTest::newRow("-1 is blank") << QString() << 9 << -1.0 << "";
        QTest::newRow("below -1 is blank too") << QString() << 99 << -7.0 << "";
        QTest::newRow("no leading zero") << QString() << 99 << 5.0 << "5";
        QTest::newRow("hundreds use the half digit") << QString() << 199 << 188.0 << "188";
        QTest::newRow("above Max shows Max") << QString() << 199 << 250.0 << "199";
        QTest::newRow("754 is 12:34") << ms << 0 << 754.0 << "12:34";
        QTest::newRow("599 is 9:59, leading minute blank") << ms << 0 << 599.0 << "9:59";
        QTest::newRow("past 99:59 stays 99:59") << ms << 0 << 7200.0 << "99:59";
        QTest::newRow("negative minutes show zero") << ms << 0 << -5.0 << "0:00";
        QTest::newRow("59.96 never reads 60.0") << st << 0 << double(59.96f) << "59.9";
        QTest::newRow("0.26 rounds to 0.3") << st << 0 << double(0.26f) << "0.3";
        QTest::newRow("9.5 has no leading zero") << st << 0 << 9.5 << "9.5";
        QTest::newRow("negative tenths show zero") << st << 0 << -0.3 << "0.0";
        QTest::newRow("unknown format shows minutes") << QStringLiteral("x") << 0 << 754.0 << "12:34";
    }
    // Stored colours keep red in the low byte.
    void coloursConvert()
    {
        QCOMPARE(toQColor(33023), QColor(255, 128, 0));
        QCOMPARE(fromQColor(QColor(0, 0, 255)), Colour(16711680));
    }

    void shownTextFollowsTheValue()
    {
        QFETCH(QString, format);
        QFETCH(int, max);
        QFETCH(double, value);
        QFETCH(QString, shown);
        DigitDisplay digits;
        digits.setMax(max);
        digits.setCaption(int(value));
        ClockDisplay clock;
        clock.setFormat(format);
        clock.setValue(float(value));
        QCOMPARE(format.isEmpty() ? digits.shownText() : clock.shownText(), shown);
    }

    // Sizes in pixels, near the design's extents in twips (15 to a pixel); a
    // digit size below 1 draws as 1, one past 32767 as 32767.
    void displaySizesItselfFromDigitAndPaddings_data()
    {
        QTest::addColumn<int>("max"); // -1: a clock display, 0: a glyph display at its defaults
        QTest::addColumn<double>("size");
        QTest::addColumn<QSizeF>("paddingHV");
        QTest::addColumn<double>("paddingI");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("score, Max 199: 690 x 480") << 199 << 25.0 << QSizeF(55, 55) << 55.0 << QSize(46, 32);
        QTest::newRow("period, one digit: 315 x 480") << 9 << 25.0 << QSizeF(55, 55) << 55.0 << QSize(21, 32);
        QTest::newRow("shot clock window: 7845 x 6660") << 99 << 410.0 << QSizeF(200, 250) << 600.0 << QSize(501, 443);
        QTest::newRow("game clock: 1245 x 480") << -1 << 25.0 << QSizeF(55, 55) << 55.0 << QSize(83, 32);
        QTest::newRow("glyph: 375 x 675") << 0 << 0.0 << QSizeF() << 0.0 << QSize(25, 45);
        QTest::newRow("digit size -5 as 1: 125 twips high") << 9 << -5.0 << QSizeF(55, 55) << 55.0 << QSize(8, 8);
        QTest::newRow("digit size 1e9 as 32767") << 9 << 1e9 << QSizeF(55, 55) << 55.0 << QSize(17374, 32774);
        QTest::newRow("clock, digit size 0, no padding: 15 twips high") << -1 << 0.0 << QSizeF(0, 0) << 0.0 << QSize(2, 1);
    }
    void displaySizesItselfFromDigitAndPaddings()
    {
        QFETCH(int, max);
        QFETCH(double, size);
        QFETCH(QSizeF, paddingHV);
        QFETCH(double, paddingI);
        QFETCH(QSize, pixels);
        DigitDisplay digits;
        ClockDisplay clock;
        GlyphDisplay glyph;
        LedDisplay* display = max > 0 ? &digits : max < 0 ? static_cast<LedDisplay*>(&clock) : &glyph;
        digits.setMax(max);
        clock.setPaddingD(paddingI);
        if (max != 0) {
            display->setDigitSize(size);
            display->setPaddingH(paddingHV.width());
            display->setPaddingV(paddingHV.height());
            display->setPaddingI(paddingI);
        }
        QCOMPARE(display->size(), pixels);
        display->setLedType(LedDisplay::Dots); // and paints at the smallest
        display->setDigitSize(1);
        QVERIFY(!display->grab().isNull());
    }

    // A board in the key colour must key out whole: the unlit leading digit of
    // " 0" leaves nothing but the board's own colour, in both styles.
    void unlitSegmentsAreTheBoardItself()
    {
        for (const auto style : {LedDisplay::Lines, LedDisplay::Dots}) {
            DigitDisplay display;
            display.setMax(99);
            display.setLedType(style);
            display.setBackColor(0x400000);
            display.setLitColor(0x0000ff);
            display.setCaption(0);
            const QImage shot = display.grab().toImage();
            QSet<QRgb> left, right;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x)
                    (x < shot.width() / 2 ? left : right).insert(shot.pixel(x, y));
            }
            QCOMPARE(left, QSet<QRgb>{qRgb(0, 0, 64)});
            QVERIFY(right.contains(qRgb(255, 0, 0)));
        }
    }

    void unchangedWritesCostNoPaint()
    {
        ClockDisplay clock;
        DigitDisplay digits;
        digits.setMax(199);
        digits.setCaption(12);
        clock.setValue(754);
        for (QWidget* w : {static_cast<QWidget*>(&digits), static_cast<QWidget*>(&clock)}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        QCoreApplication::processEvents();
        EventCounter counter;
        digits.installEventFilter(&counter);
        clock.installEventFilter(&counter);
        QSignalSpy captionSpy(&digits, &DigitDisplay::captionChanged);

        // What the refresh writes 20 times a second, and the layout on every resize.
        digits.setCaption(12);
        clock.setValue(754);
        clock.setFormat(QStringLiteral("60,1"));
        for (LedDisplay* d : {static_cast<LedDisplay*>(&digits), static_cast<LedDisplay*>(&clock)}) {
            d->setLitColor(d->litColor());
            d->setDigitSize(d->digitSize());
            d->setPaddingH(d->paddingH() + 0.2); // rounds to the same whole twips
        }
        clock.setPaddingD(clock.paddingD());
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);
        QCOMPARE(captionSpy.count(), 0);

        // A real change does paint, so the counter is watching.
        digits.setCaption(13);
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(captionSpy.count(), 1);
    }

    // Elements at sizes worked out by hand. Segments are a fifth of the cell's
    // width or 0.105 of its height thick, whichever is less, with 0.14 of that
    // between them; the separator's LEDs 1.25 of it across, a fifth of the height
    // off the middle. Dot digits have nine rows, each LED 0.8 of the pitch across.
    void cellElementsAtKnownSizes()
    {
        const auto element = [](int style, QSizeF cell, led::CellKind kind, size_t index) {
            LedPainter painter;
            painter.setMetrics({cell.height(), cell.width(), 3, 6, style, 1});
            return painter.elements(kind).at(index);
        };
        const LedPainter::Element top = element(led::Lines, {30, 40}, led::CellKind::Digit, 0);
        QCOMPARE(top.bits, led::A);
        QCOMPARE(top.polygon, (QPolygonF{{2.688, 2.1}, {4.788, 0}, {25.212, 0}, {27.312, 2.1}, {25.212, 4.2}, {4.788, 4.2}}));
        const LedPainter::Element narrow = element(led::Lines, {10, 40}, led::CellKind::Digit, 1);
        QCOMPARE(narrow.bits, led::B);
        QCOMPARE(narrow.polygon, (QPolygonF{{9, 1.28}, {10, 2.28}, {10, 18.72}, {9, 19.72}, {8, 18.72}, {8, 2.28}}));
        const LedPainter::Element colon = element(led::Lines, {30, 40}, led::CellKind::Separator, 0);
        QCOMPARE(colon.bits, led::Colon);
        QCOMPARE(colon.centre, QPointF(3, 12));
        QCOMPARE(colon.radius, 2.625);
        const LedPainter::Element dot = element(led::Dots, {20, 36}, led::CellKind::Digit, 0);
        QCOMPARE(dot.bits, led::A);
        QCOMPARE(dot.centre, QPointF(6, 2));
        QCOMPARE(dot.radius, 1.6);
        // A point is 0.17 of the digit wide, its LED as wide or 1.25 strokes, at the foot.
        const LedPainter::Element point = element(led::Lines, {30, 40}, led::CellKind::Point, 0);
        QCOMPARE(point.bits, led::Point);
        QCOMPARE(point.centre, QPointF(2.55, 37.45));
        QCOMPARE(point.radius, 2.55);
        // The arrow's heads fill a square cell but 0.08 of it all round.
        const LedPainter::Element up = element(led::Lines, {30, 40}, led::CellKind::Arrow, 0);
        QCOMPARE(up.bits, led::ArrowUp);
        QCOMPARE(up.polygon, (QPolygonF{{20, 3.2}, {36.8, 36.8}, {3.2, 36.8}}));
        const LedPainter::Element down = element(led::Dots, {30, 40}, led::CellKind::Arrow, 1);
        QCOMPARE(down.bits, led::ArrowDown);
        QCOMPARE(down.centre, QPointF(20, 36)); // the single LED at its point, a fifth of the height a row
    }

    // Tenths light a point between the two digits, in the middle of the space
    // between them, and leave the digits where they were: "4.9" from 49, "0.5"
    // from 5; blank leaves the point dark too.
    void tenthsLightAPointWithoutMovingTheDigits_data()
    {
        QTest::addColumn<int>("caption");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("point");
        QTest::newRow("4.9") << 49 << "4.9" << "49" << int(led::Point);
        QTest::newRow("0.5 keeps its zero") << 5 << "0.5" << "05" << int(led::Point);
        QTest::newRow("above Max is 9.9") << 120 << "9.9" << "99" << int(led::Point);
        QTest::newRow("blank is dark") << -1 << "" << "  " << 0;
    }
    void tenthsLightAPointWithoutMovingTheDigits()
    {
        QFETCH(int, caption);
        QFETCH(QString, shown);
        QFETCH(QString, digits);
        QFETCH(int, point);
        for (const auto style : {LedDisplay::Lines, LedDisplay::Dots}) {
            DigitDisplay d; // the score box's shot clock: a 6-pixel space between 21.2-pixel digits
            d.setLedType(style);
            d.setMax(99);
            d.setDigitSize(40);
            d.setPaddingH(60);
            d.setPaddingV(60);
            d.setPaddingI(90);
            d.setCaption(caption);
            const std::vector<LedDisplay::PlacedCell> whole = d.placedCells();
            const QSize size = d.size();
            d.setTenths(true);
            QCOMPARE(d.shownText(), shown);
            QCOMPARE(DigitDisplay::textFor(caption, 99, true), shown);
            QCOMPARE(d.size(), size);
            const std::vector<LedDisplay::PlacedCell> cells = d.placedCells();
            QCOMPARE(cells.size(), size_t(3));
            QCOMPARE(cells[0].rect, whole[0].rect);
            QCOMPARE(cells[2].rect, whole[1].rect);
            QCOMPARE(cells[0].litBits, led::segmentsFor(digits[0]));
            QCOMPARE(cells[2].litBits, led::segmentsFor(digits[1]));
            QCOMPARE(cells[1].kind, led::CellKind::Point);
            QCOMPARE(int(cells[1].litBits), point);
            // 0.17 of a 21.2-pixel digit wide, centred in the 6 pixels between them.
            QCOMPARE(whole[1].rect.left() - whole[0].rect.right(), 6.0);
            QCOMPARE(cells[1].rect.center().x(), whole[0].rect.right() + 3);
            QCOMPARE(cells[1].rect.width(), 3.604);
            // In dots it drops 0.6 of a row (40 / 9 pixels) below the digits' bottom row.
            QCOMPARE(cells[1].rect.top(), style == LedDisplay::Dots ? 4 + 0.6 * 40 / 9 : 4.0);
            QCOMPARE(whole[0].rect.top(), 4.0);
        }
    }

    // A paint of part of the display, at an offset, writes that part exactly as
    // a whole paint shows it and leaves every other pixel alone: written
    // straight into a 32-bit image, or painted by QPainter into another.
    void aPartialPaintWritesItsRegionOnly()
    {
        for (const auto style : {LedDisplay::Lines, LedDisplay::Dots}) {
            DigitDisplay digits;
            digits.setMax(99);
            digits.setLedType(style);
            digits.setDigitSize(60);
            digits.setCaption(47);
            QImage whole(digits.size(), QImage::Format_RGB32);
            digits.render(&whole);
            // From the middle of the first cell to the middle of the second, a
            // strip of board along the top, and single columns across the lower
            // half, so that some start where a run of one colour starts.
            const QRectF first = digits.placedCells()[0].rect, second = digits.placedCells()[1].rect;
            QRegion part = QRegion(QRect(QPoint(int(first.center().x()), int(first.top()) + 7),
                                         QPoint(int(second.center().x()), int(first.center().y()))))
                + QRect(0, 0, digits.width(), 3);
            for (int x = 0; x < digits.width(); x += 3)
                part += QRect(x, int(first.center().y()) + 9, 1, 40);
            part &= digits.rect();
            const QPoint offset(7, 5);
            const QRgb untouched = qRgb(255, 0, 255);
            for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
                QImage target(digits.size() + QSize(20, 20), format);
                target.fill(untouched);
                digits.render(&target, offset, part);
                int wrong = 0;
                for (int y = 0; y < target.height(); ++y) {
                    for (int x = 0; x < target.width(); ++x) {
                        const QPoint at = QPoint(x, y) - offset;
                        const QRgb expected = part.contains(at) ? whole.pixel(at) : untouched;
                        wrong += target.pixel(x, y) != expected;
                    }
                }
                QCOMPARE(wrong, 0);
            }
        }
    }

    // A new value repaints the cells whose segments change and nothing else:
    // 24 to 23 the last digit, 10:00 to 9:59 all but the colon.
    void aChangedFigureRepaintsOnlyItsCells()
    {
        DigitDisplay digits;
        digits.setMax(99);
        digits.setCaption(24);
        ClockDisplay clock;
        clock.setValue(600);
        const auto area = [](const LedDisplay& d, std::initializer_list<int> cells) {
            QRegion region;
            for (const int i : cells) {
                const QRectF r = d.placedCells()[size_t(i)].rect;
                region += QRectF(std::round(r.x()), std::round(r.y()), r.width(), r.height()).toAlignedRect();
            }
            return region;
        };
        const QRegion digitCell = area(digits, {1}), clockCells = area(clock, {0, 1, 3, 4});
        for (QWidget* w : {static_cast<QWidget*>(&digits), static_cast<QWidget*>(&clock)}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        QCoreApplication::processEvents();
        EventCounter digitPaints, clockPaints;
        digits.installEventFilter(&digitPaints);
        clock.installEventFilter(&clockPaints);
        digits.setCaption(23);
        clock.setValue(599);
        QTRY_COMPARE(digitPaints.painted, digitCell);
        QTRY_COMPARE(clockPaints.painted, clockCells);
    }
};

QTEST_MAIN(TestLedDisplays)
#include "tst_leddisplays.moc"
