// The box's appearance: proportional layout, the rounded outline, resizing from
// the grip, fitting the board picture and the colours of the score box.

#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "fitpicture.h"
#include "frmscoreboard.h"
#include "game.h"
#include "boxoutline.h"
#include "proportionallayout.h"
#include "placement.h"
#include "qcolour.h"
#include "timesource.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

// A lamp display as the layout knows it by name; no window of the program has one.
class LampDisplay : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;
};

namespace {

// A window with a reference box holding a label, a display, a shape and a lamp
// display, and a label directly on the window; 15 twips to a pixel.
struct LayoutForm
{
    QWidget form;
    PictureBox* box = new PictureBox(&form);
    Label* label = new Label(QStringLiteral("Period"), box);
    DigitDisplay* display = new DigitDisplay(box);
    Shape* shape = new Shape(box);
    LampDisplay* lamp = new LampDisplay(box);
    Label* onForm = new Label(QStringLiteral("Free"), &form);
    LayoutSet set;

    LayoutForm()
    {
        box->setGeometry(0, 0, 200, 100);
        label->setGeometry(10, 20, 60, 18);
        QFont f = label->font();
        f.setPointSizeF(9.75);
        label->setFont(f);
        display->move(80, 10);
        shape->setGeometry(4, 4, 12, 12);
        lamp->setProperty("LightDiameter", 30.0);
        lamp->setProperty("LightSpacing", 0.0);
        onForm->setGeometry(20, 300, 40, 20);
        CaptureLayout(set, &form, box, {new Image(box)});
    }
    void resizeBox(int width, int height)
    {
        box->resize(width, height);
        ApplyLayout(set, &form, box);
    }
};

} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captureRecordsEveryControlOnceAndAMinimisedWindowIsLeftAlone()
    {
        QCOMPARE(AtLeastOne(std::numeric_limits<double>::quiet_NaN()), 1.0);
        LayoutForm f;
        QCOMPARE(f.set.entries.size(), 5); // neither the reference box nor what is left out

        f.resizeBox(400, 200);
        QCOMPARE(f.shape->geometry(), QRect(8, 8, 24, 24));
        QCOMPARE(f.lamp->property("LightDiameter").toDouble(), 60.0);
        QCOMPARE(f.lamp->property("LightSpacing").toDouble(), 2.0); // a spacing of 0 is applied as 1
        f.form.showMinimized();
        f.resizeBox(200, 100);
        QCOMPARE(f.shape->geometry(), QRect(8, 8, 24, 24));
    }

    // Every control scales by the smaller of the box's two ratios to its reference
    // size; digit sizes are floored, everything else is rounded. The label's 9.75
    // points are captured as 10.
    void layoutScalesEveryControl_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QRect>("label");
        QTest::addColumn<double>("font");
        QTest::addColumn<QPoint>("onForm");
        QTest::addColumn<QSize>("digitAndPadding");
        QTest::newRow("twice") << QSize(400, 200) << QRect(20, 40, 120, 36) << 20.0 << QPoint(40, 600) << QSize(50, 110);
        QTest::newRow("wider: by height, the window's own centred in the spare 100 px")
            << QSize(600, 200) << QRect(20, 40, 120, 36) << 20.0 << QPoint(140, 600) << QSize(50, 110);
        QTest::newRow("1.55: digit 38.75, padding 85.25")
            << QSize(310, 155) << QRect(15, 31, 93, 28) << 15.5 << QPoint(31, 465) << QSize(38, 85);
        QTest::newRow("1.63: digit 40.75, padding 89.65")
            << QSize(326, 163) << QRect(16, 33, 98, 29) << 16.3 << QPoint(33, 489) << QSize(40, 90);
        QTest::newRow("below 1 held at 1") << QSize(1, 1) << QRect() << 1.0 << QPoint(0, 2) << QSize(1, 1);
        QTest::newRow("200 times: past 32767 twips held there")
            << QSize(40000, 20000) << QRect(2000, 2184, 2184, 2184) << 2000.0 << QPoint(2184, 2184) << QSize(5000, 11000);
    }
    void layoutScalesEveryControl()
    {
        QFETCH(QSize, box);
        QFETCH(QRect, label);
        QFETCH(double, font);
        QFETCH(QPoint, onForm);
        QFETCH(QSize, digitAndPadding);
        LayoutForm f;
        f.resizeBox(box.width(), box.height());
        QCOMPARE(f.label->geometry(), label);
        QCOMPARE(f.label->font().pointSizeF(), font);
        QCOMPARE(f.onForm->pos(), onForm);
        QCOMPARE(QSize(f.display->digitSize(), f.display->paddingH()), digitAndPadding);
    }

    // Each colour of the record is a different colour here, so a colour that
    // lands on another element, or an element left out, shows.
    void everyColourLandsOnItsOwnElement_data()
    {
        QTest::addColumn<QStringList>("elements");
        QTest::addColumn<QString>("part");
        QTest::addColumn<Colour>("colour");
        QTest::newRow("green background") << QStringList{"frmScoreboard"} << "back" << 0x000001;
        QTest::newRow("box colour") << QStringList{"picScoreBox", "picScoreTime", "picLogoContainer"} << "back" << 0x000002;
        QTest::newRow("time colour") << QStringList{"cdGame", "ddShotClock"} << "lit" << 0x000300;
        QTest::newRow("score colour") << QStringList{"ddHomeScore", "ddVisitorScore"} << "lit" << 0x000400;
        QTest::newRow("period colour") << QStringList{"ddPeriod"} << "lit" << 0x000500;
        QTest::newRow("LED background, the unlit segments") << QStringList{"ddPeriod", "cdGame"} << "back" << 0x060000;
        QTest::newRow("caption colour") << QStringList{"lblPeriod", "lblShotClock"} << "fore" << 0x070000;
        QTest::newRow("home colour") << QStringList{"lblHomeName"} << "fore" << 0x080000;
        QTest::newRow("visitor colour") << QStringList{"lblVisitorName"} << "fore" << 0x090000;
        QTest::newRow("selection colour") << QStringList{"shpObjectSelected"} << "fill" << 0x0a0000;
    }
    void everyColourLandsOnItsOwnElement()
    {
        QFETCH(QStringList, elements);
        QFETCH(QString, part);
        QFETCH(Colour, colour);
        ConfigRecord& c = Config();
        c.GreenBackColor = 0x000001, c.FormBack = 0x000002, c.TimeColor = 0x000300, c.ScoreColor = 0x000400;
        c.PeriodColor = 0x000500, c.LEDBack = 0x060000, c.BorderColor = 0x070000, c.HomeColor = 0x080000;
        c.VisitorColor = 0x090000, c.LEDSelected = 0x0a0000;
        ManualTimeSource time;
        Game game(time);
        frmScoreboard box(game);
        box.load();
        for (const QString& element : elements) {
            QWidget* w = element == box.objectName() ? &box : box.findChild<QWidget*>(element);
            QVERIFY2(w, qPrintable(element));
            QColor got = w->palette().color(part == QLatin1String("fore") ? QPalette::WindowText : QPalette::Window);
            if (auto* led = qobject_cast<LedDisplay*>(w))
                got = toQColor(part == QLatin1String("lit") ? led->litColor() : led->backColor());
            if (auto* shape = qobject_cast<Shape*>(w))
                got = shape->fillColor();
            QVERIFY2(got == toQColor(colour), qPrintable(element + u' ' + got.name()));
        }
    }

    // A period caption wider than its label is drawn whole in a smaller font:
    // no ink on the label's first column, where a cut letter would be. One that
    // fits keeps the designed size.
    void aCaptionTooWideForItsLabelIsDrawnWhole_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("designedSize");
        QTest::newRow("Period") << "Period" << true;
        QTest::newRow("Overtime") << "Overtime" << false;
        QTest::newRow("Half Time") << "Half Time" << false;
    }
    void aCaptionTooWideForItsLabelIsDrawnWhole()
    {
        QFETCH(QString, caption);
        QFETCH(bool, designedSize);
        Config() = defaultConfig(QString());
        Config().PeriodText = caption;
        Config().FormBack = 0xffffff;
        Config().BorderColor = 0;
        ManualTimeSource time;
        Game game(time);
        frmScoreboard box(game);
        box.load();
        Label* label = box.findChild<Label*>("lblPeriod");
        QCOMPARE(label->text(), caption);
        const QImage shot = box.grab(QRect(label->mapTo(&box, QPoint()), label->size())).toImage();
        int left = shot.width(), right = -1;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (qGray(shot.pixel(x, y)) < 128)
                    left = std::min(left, x), right = std::max(right, x);
            }
        }
        QVERIFY2(left > 0 && right < shot.width() - 1 && right - left > shot.width() / 2,
                 qPrintable(QStringLiteral("ink %1-%2 of %3").arg(left).arg(right).arg(shot.width())));
        QCOMPARE(label->shownFont().pointSizeF() == label->font().pointSizeF(), designedSize);
    }

    // Two monitors side by side, the left one primary.
    void aBoxIsBroughtWholeOntoAScreen_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("whole on the right screen: stays") << QRect(1500, 100, 361, 78) << QPoint(1500, 100);
        QTest::newRow("across both: onto the one it overlaps most") << QRect(1200, 100, 361, 78) << QPoint(1280, 100);
        QTest::newRow("past the right edge") << QRect(2400, 790, 361, 78) << QPoint(2199, 722);
        QTest::newRow("on no screen: onto the primary") << QRect(30000, 30000, 361, 78) << QPoint(919, 722);
        QTest::newRow("wider than the screen: its corner on it") << QRect(-50, 10, 1400, 78) << QPoint(0, 10);
    }
    void aBoxIsBroughtWholeOntoAScreen()
    {
        QFETCH(QRect, box);
        QFETCH(QPoint, placed);
        const QRect left(0, 0, 1280, 800), right(1280, 0, 1280, 800);
        QCOMPARE(wholeOnScreen(box, {left, right}, left), placed);
    }

    // One 1920 x 1080 screen; the sizes are outer ones, a window manager's frame included.
    void aWindowBesideTheBoxIsWholeOnTheScreen_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("no room below: right of the box") << QRect(100, 362, 361, 78) << QSize(739, 643) << QRect(469, 362, 739, 643);
        QTest::newRow("near the bottom: above the box") << QRect(100, 990, 361, 78) << QSize(739, 643) << QRect(100, 339, 739, 643);
        QTest::newRow("taller than the screen: shrunk to it") << QRect(100, 100, 361, 78) << QSize(800, 1200) << QRect(469, 0, 800, 1080);
        QTest::newRow("no room off the box: over it, whole") << QRect(1000, 300, 400, 500) << QSize(1500, 643) << QRect(420, 437, 1500, 643);
    }
    void aWindowBesideTheBoxIsWholeOnTheScreen()
    {
        QFETCH(QRect, box);
        QFETCH(QSize, size);
        QFETCH(QRect, placed);
        QCOMPARE(placeWholeBesideBox(box, size, {QRect(0, 0, 1920, 1080)}), placed);
    }

    void outlineHasRoundedCorners()
    {
        // A 5415 x 1170 twip box: 361 x 78 pixels with 12-pixel corner ellipses.
        QCOMPARE(outlineCorner(1170), 12);
        const QRegion r = roundedOutline(361, 78, 12);
        QCOMPARE(r.boundingRect(), QRect(0, 0, 361, 78));
        for (const QPoint corner : {QPoint(0, 0), QPoint(360, 0), QPoint(0, 77), QPoint(360, 77), QPoint(1, 1)})
            QVERIFY2(!r.contains(corner), qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        for (const QPoint inside : {QPoint(180, 0), QPoint(0, 39), QPoint(360, 39), QPoint(180, 77), QPoint(6, 6)})
            QVERIFY2(r.contains(inside), qPrintable(QStringLiteral("%1,%2").arg(inside.x()).arg(inside.y())));
    }

    void resizingKeepsTheBoxRatio_data()
    {
        QTest::addColumn<QSize>("dragged");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("1000 right gives no growth") << QSize(6415, 1170) << QSize(5415, 1170);
        QTest::newRow("both in proportion doubles") << QSize(10830, 2340) << QSize(10830, 2340);
        QTest::newRow("far up-left stops at 600") << QSize(-5000, -5000) << QSize(2777, 600);
    }
    void resizingKeepsTheBoxRatio()
    {
        QFETCH(QSize, dragged);
        QFETCH(QSize, expected);
        QCOMPARE(resizedBoxTwips(5415, 1170, dragged.width(), dragged.height()), expected);
    }

    // A tall picture is centred across, a wide one (40 x 10 pixels here) down.
    void picturesAreFittedAndCentredAndBadFilesKeepThePrevious()
    {
        QCOMPARE(fittedPictureRect(QSizeF(100, 400), QSizeF(1215, 1170)), QRectF(461.25, 0, 292.5, 1170));
        QTemporaryDir dir;
        PictureBox container;
        container.resize(81, 78);
        Image image(&container);
        QImage good(40, 10, QImage::Format_RGB32);
        QVERIFY(good.save(dir.filePath(QStringLiteral("good.png"))));
        // This test program itself is a file no picture decoder takes.
        for (const QString& path : {QStringLiteral("good.png"), QCoreApplication::applicationFilePath(), QStringLiteral("gone.png")}) {
            FitPicture(&image, &container, dir.filePath(path));
            QCOMPARE(image.geometry(), QRect(0, 29, 81, 20));
            QCOMPARE(image.picture().size(), QSize(40, 10));
            QVERIFY(!image.isHidden());
        }
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
