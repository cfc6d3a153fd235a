// The options dialog's pickers and questions: the colour boxes with the colour
// dialog, the three reset questions and what they reset, the sound choosers and
// the board picture with Clear.

#include "optionsfixture.h"

#include "colour.h"
#include "controls.h"
#include "optionslogic.h"
#include "optionswidgets.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

bool writePicture(const QString& path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return image.save(path);
}

// What each reset question guards, as text to compare before and after.
QString guarded(frmOptions* d, const QString& button)
{
    if (button == "cmdResetColors")
        return QString::number(d->picTimeC->colour());
    if (button == "cmdResetPosition")
        return Config().ResetSizeAndPosition ? "reset" : "kept";
    return d->lblKeyStartStopClock->text();
}

} // namespace

class TestFrmOptionsChoosers : public QObject
{
    Q_OBJECT

    OptionsFixture f;

private Q_SLOTS:
    void init() { f.reset(); }

    void eachColourButtonOffersItsBoxAndACancelKeepsIt()
    {
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.open();
        const QList<std::pair<QPushButton*, ColourBox*>> rows{
            {d->cmdTimeC, d->picTimeC},     {d->cmdScoreC, d->picScoreC},   {d->cmdPeriodC, d->picPeriodC},
            {d->cmdLEDB, d->picLEDB},       {d->cmdBackC, d->picBackC},     {d->cmdBorderC, d->picBorderC},
            {d->cmdHomeC, d->picHomeC},     {d->cmdVisitorC, d->picVisitorC},
            {d->cmdLedSelected, d->picLedSelected}, {d->cmdGreenScreen, d->picGreenBackC}};
        for (const auto& [button, box] : rows) {
            const Colour before = box->colour();
            button->click();
            QCOMPARE(f.choosers.coloursOffered.last(), toQColor(before));
            QCOMPARE(box->colour(), before);
        }
        QCOMPARE(f.choosers.coloursOffered.size(), 10);
    }

    void thePlatformColourDialogCancelledKeepsTheStoredColour()
    {
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());
        bool startedFromBox = false;
        answerNextModal<QColorDialog>([&](QColorDialog* dialog) {
            startedFromBox = dialog->currentColor() == toQColor(33023);
            dialog->setCurrentColor(QColor(200, 200, 200));
            dialog->reject();
        });
        d->cmdTimeC->click();
        QVERIFY(startedFromBox);
        QCOMPARE(d->picTimeC->colour(), 33023);
        d->cmdOk->click();
        QCOMPARE(Config().TimeColor, 33023);
    }

    void everyResetAsksFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("afterYes");
        const QString keys = QStringLiteral("Are you sure you want to reset Keys, Quick Keys, and Numlock option?");
        QTest::newRow("Reset Colors") << "cmdResetColors" << "Reset Colors"
                                      << "Are you sure you want to reset the colors?" << "33023";
        QTest::newRow("Reset Keys") << "cmdResetKeys" << "Reset Keys" << keys << "S";
        QTest::newRow("Reset Keys on Quick Keys") << "Command1" << "Reset Keys" << keys << "S";
        QTest::newRow("Reset Size and Position")
            << "cmdResetPosition" << "Reset Size and Position"
            << "Are you sure you want to reset the size and position?  This will take effect once you click OK on "
               "the options."
            << "reset";
    }

    void everyResetAsksFirst()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, afterYes);
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());
        auto* reset = d->findChild<QPushButton*>(button);
        const QString before = guarded(d.get(), button);
        for (bool yes : {false, true}) {
            bool looksRight = false;
            answerNextModal<QMessageBox>([&](QMessageBox* box) {
                looksRight = box->windowTitle() == title && box->text() == text && box->icon() == QMessageBox::Question
                             && box->standardButtons() == (QMessageBox::Yes | QMessageBox::No)
                             && box->defaultButton() == box->button(QMessageBox::Yes);
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            reset->click();
            QVERIFY(looksRight);
            QCOMPARE(guarded(d.get(), button), yes ? afterYes : before);
        }
    }

    void resetColorsLeavesTheKeyingColourAndShowsWidthZero()
    {
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.open();
        d->cmdResetColors->click();
        const QList<std::pair<ColourBox*, Colour>> reset{
            {d->picTimeC, 33023},        {d->picLEDB, 0},           {d->picScoreC, 255},
            {d->picPeriodC, 49152},      {d->picBackC, 4210752},    {d->picBorderC, 16777215},
            {d->picHomeC, 16777215},     {d->picVisitorC, 16777215}, {d->picLedSelected, 4210752}};
        for (const auto& [box, colour] : reset)
            QCOMPARE(box->colour(), colour);
        QCOMPARE(d->picGreenBackC->colour(), 0x00ff00);
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("0"));
        QCOMPARE(d->scrLEDSelectedWidth->value(), 3); // the spinner itself has not moved
        d->cmdOk->click();
        QCOMPARE(Config().LEDSelectedWidth, qint16(0));
        QCOMPARE(Config().GreenBackColor, 0x00ff00);
    }

    void resetKeysRestoresTheDefaultsUntilOk()
    {
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.open();
        d->Command1->click();
        const QStringList expected{"S", "R", "T", "C", "Backspace", "B", "Insert", "Home", "Page Up", "Delete", "End",
                                   "Page Down", "P"};
        const QList<KeyLabel*> labels{d->lblKeyStartStopClock, d->lblKeyResetClock, d->lblKeyResetShotClock,
                                      d->lblKeyClockSwitch, d->lblKeyClear, d->lblKeyBuzzer, d->lblKeyHS1,
                                      d->lblKeyHS2, d->lblKeyHS3, d->lblKeyVS1, d->lblKeyVS2, d->lblKeyVS3,
                                      d->lblKeyPeriod1};
        for (int i = 0; i < labels.size(); ++i)
            QCOMPARE(labels.at(i)->text(), expected.at(i));
        QVERIFY(d->optNormal->isChecked());
        QVERIFY(!d->chkShowShotClockScreen->isChecked());
        QVERIFY(d->chkUseShotClock->isChecked());
        QCOMPARE(storeContents().size(), 0); // the store waits for OK
        d->cmdOk->click();
        QCOMPARE(Config().QPeriod1, qint16(80));
        QCOMPARE(Config().NumLockForce, 0);
    }

    void resetSizeAndPositionTakesEffectOnlyWithOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("then OK") << true;
        QTest::newRow("then Cancel") << false;
    }

    void resetSizeAndPositionTakesEffectOnlyWithOk()
    {
        QFETCH(bool, ok);
        Config().StartX = 1500;
        Config().StartY = 900;
        Config().Height = 2000;
        SaveBoxPlacement(1500, 900, 2000);
        auto d = f.open();
        d->cmdResetPosition->click();
        (ok ? d->cmdOk : d->cmdCancel)->click();

        QCOMPARE(Config().Height, qint16(ok ? 1170 : 2000));
        QCOMPARE(Config().StartX, qint16(ok ? 0 : 1500));
        QCOMPARE(Config().StartY, qint16(ok ? 0 : 900));
        QVERIFY(Config().ResetSizeAndPosition); // the score box reads it after either
        // The store keeps the old placement until the score box closes.
        QCOMPARE(storedText("Views/StartX"), QStringLiteral("1500"));
        QCOMPARE(storedText("Views/Height"), QStringLiteral("2000"));
    }

    void choosingASoundFile()
    {
        const QString folder = f.programFolder.path() + u'/';
        const QString longPath = folder + QString(60 - folder.size() - 11, u'y') + QStringLiteral("/Buzzer.wav");
        QVERIFY(QDir().mkpath(QFileInfo(longPath).path()));
        QVERIFY(QFile(longPath).open(QIODevice::WriteOnly));
        auto d = f.open();
        const QString loaded = d->lblBFile->text();

        f.choosers.fileAnswer = folder + QStringLiteral("missing.wav");
        d->cmdBuzzerSound->click();
        QCOMPARE(d->lblBFile->text(), loaded);
        QCOMPARE(d->NewBuzzerFile, Config().BuzzerFile);
        QCOMPARE(f.choosers.filtersOffered.last(), QStringLiteral("Sounds *.wav (*.wav)"));

        f.choosers.fileAnswer = longPath;
        d->cmdBuzzerSound->click();
        QCOMPARE(d->lblBFile->text(), longPath.left(10) + QStringLiteral(" ...\\Buzzer.wav"));
        d->cmdOk->click();
        QCOMPARE(storedText("KeySettings/BuzzerFile"), longPath);
    }

    void theBoardPictureIsPreviewedFittedAndCanBeCleared()
    {
        const QString wide = f.programFolder.filePath("wide.bmp");
        QVERIFY(writePicture(wide, QSize(400, 100)));
        auto d = f.open();
        showAndActivate(d.get());
        QVERIFY(d->imgBoardPicPreview->picture().isNull());

        f.choosers.fileAnswer = wide;
        d->cmdChangeBoardPic->click();
        QCOMPARE(f.choosers.filtersOffered.last(), QStringLiteral("Pictures (*.bmp;*.gif;*.jpg) (*.bmp *.gif *.jpg)"));
        QCOMPARE(d->imgBoardPicPreview->picture().size(), QSize(400, 100));
        const QRect fitted = d->imgBoardPicPreview->geometry();
        QCOMPARE(fitted.width(), d->picBoardPicPreviewCon->width());
        QVERIFY(fitted.height() < d->picBoardPicPreviewCon->height());

        d->cmdClearBoardPic->click();
        QVERIFY(d->imgBoardPicPreview->picture().isNull());
        d->cmdOk->click();
        QCOMPARE(storedText("PicSettings/BoardPic"), QString());
    }

    void aPictureThatDoesNotDecodeLeavesThePreviewAndTheChoiceAsTheyWere()
    {
        const QString good = f.programFolder.filePath("good.bmp");
        const QString broken = f.programFolder.filePath("broken.jpg");
        QVERIFY(writePicture(good, QSize(50, 50)));
        QFile b(broken);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write("\xff\xd8\xff\xe0 this is not a picture");
        b.close();
        Config().BoardPic = good;
        auto d = f.open();
        const qint64 shown = d->imgBoardPicPreview->picture().cacheKey();
        const QRect where = d->imgBoardPicPreview->geometry();
        QVERIFY(!d->imgBoardPicPreview->picture().isNull());

        f.choosers.fileAnswer = broken;
        d->cmdChangeBoardPic->click();
        QCOMPARE(d->imgBoardPicPreview->picture().cacheKey(), shown);
        QCOMPARE(d->imgBoardPicPreview->geometry(), where);
        d->cmdOk->click();
        QCOMPARE(Config().BoardPic, good);
    }
};

QTEST_MAIN(TestFrmOptionsChoosers)
#include "tst_frmoptions_choosers.moc"
