// The arithmetic of the box's appearance: proportional layout, the rounded
// outline, resizing from the grip and fitting the board picture.

#include "controls.h"
#include "digitdisplay.h"
#include "fitpicture.h"
#include "modscorebox.h"
#include "modstretch.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {

// A window with a reference box holding a label, a display and a shape, and a
// label directly on the window, all placed in twips.
struct LayoutForm
{
    QWidget form;
    PictureBox* box = new PictureBox(&form);
    Label* label = new Label(QStringLiteral("Period"), box);
    DigitDisplay* display = new DigitDisplay(box);
    Shape* shape = new Shape(box);
    Label* onForm = new Label(QStringLiteral("Free"), &form);
    Image* grip = new Image(box);

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
        display->setDigitSize(25);
        display->setPaddingH(55);
        display->setPaddingV(55);
        display->setPaddingI(55);
        shape->setGeometry(4, 4, 12, 12);
        onForm->setGeometry(20, 300, 40, 20);
        grip->setObjectName(QStringLiteral("imgResizeSE"));
    }
};

} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void atLeastOne()
    {
        QCOMPARE(AtLeastOne(2.5), 2.5);
        QCOMPARE(AtLeastOne(0.2), 1.0);
        QCOMPARE(AtLeastOne(-3), 1.0);
        QCOMPARE(AtLeastOne(std::numeric_limits<double>::quiet_NaN()), 1.0);
    }

    void captureRecordsTheKnownKindsOnly()
    {
        LayoutForm f;
        LayoutSet set;
        CaptureLayout(set, &f.form, f.box);
        QCOMPARE(set.refWidth, 3000);
        QCOMPARE(set.refHeight, 1500);
        QStringList recorded;
        for (const LayoutEntry& e : set.entries)
            recorded << QString::fromLatin1(e.Ctl->metaObject()->className());
        // Neither the reference box nor the grip is recorded.
        QCOMPARE(recorded, (QStringList{QStringLiteral("Label"), QStringLiteral("DigitDisplay"), QStringLiteral("Shape"),
                                        QStringLiteral("Label")}));
        QCOMPARE(set.entries[0].FontSize, qint16(10)); // 9.75 points captured as 10
        QCOMPARE(set.entries[1].Width, qint16(0));     // displays size themselves
        QCOMPARE(set.entries[1].Size, qint16(25));
    }

    void doublingTheBoxDoublesEverything()
    {
        LayoutForm f;
        LayoutSet set;
        CaptureLayout(set, &f.form, f.box);
        f.box->resize(400, 200);
        ApplyLayout(set, &f.form, f.box);
        QCOMPARE(f.label->geometry(), QRect(20, 40, 120, 36));
        QCOMPARE(f.label->font().pointSizeF(), 20.0);
        QCOMPARE(f.display->pos(), QPoint(160, 20));
        QCOMPARE(f.display->digitSize(), qint16(50));
        QCOMPARE(f.display->paddingH(), qint16(110));
        QCOMPARE(f.shape->geometry(), QRect(8, 8, 24, 24));
        QCOMPARE(f.onForm->pos(), QPoint(40, 600)); // both offsets are 0
    }

    void aBoxWiderThanItsProportionsScalesByHeight()
    {
        LayoutForm f;
        LayoutSet set;
        CaptureLayout(set, &f.form, f.box);
        f.box->resize(600, 200); // wr 3 > hr 2
        ApplyLayout(set, &f.form, f.box);
        QCOMPARE(f.label->pos(), QPoint(20, 40)); // anchored top-left inside the box
        // A control directly on the window is centred in the spare width:
        // offset = (9000 - 3000 * 2) / 2 twips = 100 px.
        QCOMPARE(f.onForm->pos(), QPoint(40 + 100, 600));
    }

    void shrinkingHoldsValuesAtOne()
    {
        LayoutForm f;
        LayoutSet set;
        CaptureLayout(set, &f.form, f.box);
        f.box->resize(1, 1);
        ApplyLayout(set, &f.form, f.box);
        QCOMPARE(f.display->digitSize(), qint16(1));
        QVERIFY(f.label->font().pointSizeF() >= 1);
        QVERIFY(f.label->width() >= 0);
    }

    void hugeSizesAreHeldAtTheSixteenBitLimit()
    {
        LayoutForm f;
        LayoutSet set;
        CaptureLayout(set, &f.form, f.box);
        f.box->resize(200 * 200, 100 * 200); // every position far past 32767 twips
        ApplyLayout(set, &f.form, f.box);
        QCOMPARE(f.onForm->x(), 32767 / 15);
        QVERIFY(f.display->digitSize() > 0);
    }

    void minimisedWindowIsLeftAlone()
    {
        LayoutForm f;
        LayoutSet set;
        CaptureLayout(set, &f.form, f.box);
        f.form.showMinimized();
        f.box->resize(400, 200);
        ApplyLayout(set, &f.form, f.box);
        QCOMPARE(f.label->pos(), QPoint(10, 20));
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
        QCOMPARE(roundedOutline(10, 10, 0), QRegion(0, 0, 10, 10));
        QVERIFY(roundedOutline(0, 10, 4).isEmpty());
    }

    void resizingKeepsTheBoxRatio_data()
    {
        QTest::addColumn<QSize>("dragged");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("1000 right gives no growth") << QSize(6415, 1170) << QSize(5415, 1170);
        QTest::newRow("500 down gives no growth") << QSize(5415, 1670) << QSize(5415, 1170);
        QTest::newRow("both in proportion doubles") << QSize(10830, 2340) << QSize(10830, 2340);
        QTest::newRow("far up-left stops at 600") << QSize(-5000, -5000) << QSize(2777, 600);
        QTest::newRow("zero height") << QSize(3000, 0) << QSize(2777, 600);
    }
    void resizingKeepsTheBoxRatio()
    {
        QFETCH(QSize, dragged);
        QFETCH(QSize, expected);
        QCOMPARE(resizedBoxTwips(5415, 1170, dragged.width(), dragged.height()), expected);
    }

    void pictureIsFittedAndCentred()
    {
        const QRectF wide = fittedPictureRect(QSizeF(400, 100), QSizeF(1215, 1170));
        QCOMPARE(wide, QRectF(0, 433.125, 1215, 303.75));
        const QRectF tall = fittedPictureRect(QSizeF(100, 400), QSizeF(1215, 1170));
        QCOMPARE(tall, QRectF(461.25, 0, 292.5, 1170));
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
        QVERIFY(!image.picture().isNull());

        const QString junkPath = dir.filePath(QStringLiteral("junk.png"));
        QFile junk(junkPath);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("\x89PNG not really a picture");
        junk.close();
        for (const QString& bad : {junkPath, dir.filePath(QStringLiteral("missing.png")), QString()}) {
            FitPicture(&image, &container, bad);
            QCOMPARE(image.geometry(), fitted);
            QVERIFY(!image.picture().isNull());
            QVERIFY(!image.isHidden());
        }
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
