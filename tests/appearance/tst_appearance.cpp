// The box's appearance: proportional layout, the rounded outline, resizing from
// the grip, fitting the board picture and the colours of the score box.

#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "fitpicture.h"
#include "frmscoreboard.h"
#include "modscorebox.h"
#include "modstretch.h"
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
    Image* grip = new Image(box);
    LayoutSet set;

    LayoutForm()
    {
        form.resize(1000, 1000);
        box->setObjectName(QStringLiteral("picScoreBox"));
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
        grip->setObjectName(QStringLiteral("imgResizeSE"));
        CaptureLayout(set, &form, box);
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
    void doublingTheBoxDoublesEverything()
    {
        LayoutForm f;
        QCOMPARE(f.set.refWidth, 3000);
        QCOMPARE(f.set.refHeight, 1500);
        QStringList recorded;
        for (const LayoutEntry& e : f.set.entries)
            recorded << QString::fromLatin1(e.Ctl->metaObject()->className());
        // Neither the reference box nor the grip is recorded.
        QCOMPARE(recorded.join(u' '), QStringLiteral("Label DigitDisplay Shape LampDisplay Label"));
        QCOMPARE(f.set.entries[0].FontSize, qint16(10)); // 9.75 points captured as 10
        QCOMPARE(f.set.entries[3].LightSpacing, qint16(15)); // 0 stored as 15

        f.resizeBox(400, 200);
        QCOMPARE(f.label->geometry(), QRect(20, 40, 120, 36));
        QCOMPARE(f.label->font().pointSizeF(), 20.0);
        QCOMPARE(f.display->pos(), QPoint(160, 20));
        QCOMPARE(f.shape->geometry(), QRect(8, 8, 24, 24));
        QCOMPARE(f.lamp->property("LightDiameter").toDouble(), 60.0);
        QCOMPARE(f.lamp->property("LightSpacing").toDouble(), 2.0); // AtLeastOne(0) x 2
        QCOMPARE(f.onForm->pos(), QPoint(40, 600)); // both offsets are 0
    }

    // The design digit is 25 twips with 55 twips of padding.
    void digitSizeIsFlooredAndPaddingRounded_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<int>("digitSize");
        QTest::addColumn<int>("padding");
        QTest::newRow("twice") << QSize(400, 200) << 50 << 110;
        QTest::newRow("1.55 times: 38.75 and 85.25") << QSize(310, 155) << 38 << 85;
        QTest::newRow("1.63 times: 40.75 and 89.65") << QSize(326, 163) << 40 << 90;
        QTest::newRow("below 1 held at 1") << QSize(1, 1) << 1 << 1;
    }
    void digitSizeIsFlooredAndPaddingRounded()
    {
        QFETCH(QSize, box);
        QFETCH(int, digitSize);
        QFETCH(int, padding);
        LayoutForm f;
        f.resizeBox(box.width(), box.height());
        QCOMPARE(f.display->digitSize(), digitSize);
        QCOMPARE(f.display->paddingH(), padding);
    }

    void aBoxWiderThanItsProportionsScalesByHeight()
    {
        LayoutForm f;
        f.resizeBox(600, 200); // wr 3 > hr 2
        QCOMPARE(f.label->pos(), QPoint(20, 40)); // anchored top-left inside the box
        // A control directly on the window is centred in the spare width:
        // offset = (9000 - 3000 * 2) / 2 twips = 100 px.
        QCOMPARE(f.onForm->pos(), QPoint(40 + 100, 600));
    }

    void extremeSizesAreHeldAndAMinimisedWindowIsLeftAlone()
    {
        QCOMPARE(AtLeastOne(std::numeric_limits<double>::quiet_NaN()), 1.0);
        LayoutForm f;
        f.resizeBox(1, 1); // values below 1 are held at 1
        QCOMPARE(f.label->font().pointSizeF(), 1.0);
        f.resizeBox(200 * 200, 100 * 200); // every position far past 32767 twips
        QCOMPARE(f.onForm->x(), 32767 / 15);
        QVERIFY(f.display->digitSize() > 0);
        f.form.showMinimized();
        f.resizeBox(400, 200);
        QCOMPARE(f.onForm->x(), 32767 / 15);
    }

    // Each colour of the record is a different colour here, so a colour that
    // lands on another element, or an element left out, shows.
    void everyColourLandsOnItsOwnElement_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("part");
        QTest::addColumn<Colour>("colour");
        QTest::newRow("window: green background") << "frmScoreboard" << "back" << 0x000001;
        QTest::newRow("box: box colour") << "picScoreBox" << "back" << 0x000002;
        QTest::newRow("score and time: box colour") << "picScoreTime" << "back" << 0x000002;
        QTest::newRow("logo: box colour") << "picLogoContainer" << "back" << 0x000002;
        QTest::newRow("game clock: time colour") << "cdGame" << "lit" << 0x000300;
        QTest::newRow("shot clock: time colour") << "ddShotClock" << "lit" << 0x000300;
        QTest::newRow("home score: score colour") << "ddHomeScore" << "lit" << 0x000400;
        QTest::newRow("visitor score: score colour") << "ddVisitorScore" << "lit" << 0x000400;
        QTest::newRow("period: period colour") << "ddPeriod" << "lit" << 0x000500;
        QTest::newRow("unlit segments: LED background") << "ddPeriod" << "back" << 0x060000;
        QTest::newRow("period caption: caption colour") << "lblPeriod" << "fore" << 0x070000;
        QTest::newRow("shot clock caption: caption colour") << "lblShotClock" << "fore" << 0x070000;
        QTest::newRow("home name: home colour") << "lblHomeName" << "fore" << 0x080000;
        QTest::newRow("visitor name: visitor colour") << "lblVisitorName" << "fore" << 0x090000;
        QTest::newRow("selection: selection colour") << "shpObjectSelected" << "fill" << 0x0a0000;
    }
    void everyColourLandsOnItsOwnElement()
    {
        QFETCH(QString, element);
        QFETCH(QString, part);
        QFETCH(Colour, colour);
        ConfigRecord& c = Config();
        c = ConfigRecord();
        c.GreenBackColor = 0x000001, c.FormBack = 0x000002, c.TimeColor = 0x000300, c.ScoreColor = 0x000400;
        c.PeriodColor = 0x000500, c.LEDBack = 0x060000, c.BorderColor = 0x070000, c.HomeColor = 0x080000;
        c.VisitorColor = 0x090000, c.LEDSelected = 0x0a0000;
        ManualTimeSource time;
        frmScoreboard box(time, {});
        box.UpdateFormColors();
        QWidget* w = element == box.objectName() ? &box : box.findChild<QWidget*>(element);
        QVERIFY(w);
        QColor got = w->palette().color(part == QLatin1String("fore") ? QPalette::WindowText : QPalette::Window);
        if (auto* led = qobject_cast<LedDisplay*>(w))
            got = toQColor(part == QLatin1String("lit") ? led->litColor() : led->backColor());
        if (auto* shape = qobject_cast<Shape*>(w))
            got = shape->fillColor();
        QCOMPARE(got, toQColor(colour));
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

    void pictureIsFittedAndCentred()
    {
        QCOMPARE(fittedPictureRect(QSizeF(400, 100), QSizeF(1215, 1170)), QRectF(0, 433.125, 1215, 303.75));
        QCOMPARE(fittedPictureRect(QSizeF(100, 400), QSizeF(1215, 1170)), QRectF(461.25, 0, 292.5, 1170));
    }

    void fitPictureKeepsThePreviousPictureOnBadFiles()
    {
        QTemporaryDir dir;
        PictureBox container;
        container.resize(81, 78);
        Image image(&container);
        QImage good(40, 10, QImage::Format_RGB32);
        good.fill(Qt::red);
        const QString goodPath = dir.filePath(QStringLiteral("good.png"));
        QVERIFY(good.save(goodPath));
        FitPicture(&image, &container, goodPath);
        const QRect fitted = image.geometry();
        QCOMPARE(fitted.width(), 81);

        // This test program itself is a file no picture decoder takes.
        for (const QString& bad : {QCoreApplication::applicationFilePath(), dir.filePath(QStringLiteral("gone.png"))}) {
            FitPicture(&image, &container, bad);
            QCOMPARE(image.geometry(), fitted);
            QCOMPARE(image.picture().size(), QSize(40, 10));
            QVERIFY(!image.isHidden());
        }
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
