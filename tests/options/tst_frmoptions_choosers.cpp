// The options dialog's pickers and questions: the ten colour boxes with the
// colour dialog, Reset Colors, Reset Keys on both tabs, Reset Size and Position,
// the two sound choosers and the board picture with Clear. The questions and the
// platform dialogs are answered on screen where their look is what is tested.

#include "optionsfixture.h"

#include "colour.h"
#include "controls.h"
#include "optionslogic.h"
#include "optionswidgets.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

struct ColourRow
{
    QPushButton* button;
    ColourBox* box;
};

QList<ColourRow> colourRows(frmOptions* d)
{
    return {{d->cmdTimeC, d->picTimeC},       {d->cmdScoreC, d->picScoreC},     {d->cmdPeriodC, d->picPeriodC},
            {d->cmdLEDB, d->picLEDB},         {d->cmdBackC, d->picBackC},       {d->cmdBorderC, d->picBorderC},
            {d->cmdHomeC, d->picHomeC},       {d->cmdVisitorC, d->picVisitorC}, {d->cmdLedSelected, d->picLedSelected},
            {d->cmdGreenScreen, d->picGreenBackC}};
}

// Checks the look of a confirmation question, then answers it.
void answerQuestion(const QString& title, const QString& text, bool yes, bool* seen)
{
    answerNextModal<QMessageBox>([=](QMessageBox* box) {
        *seen = box->windowTitle() == title && box->text() == text && box->icon() == QMessageBox::Question
                && box->standardButtons() == (QMessageBox::Yes | QMessageBox::No)
                && box->defaultButton() == box->button(QMessageBox::Yes);
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
}

// What an operator types into the dialog's name box. (selectFile() leaves the
// box alone once it has the focus.)
void typeFileName(QFileDialog* dialog, const QString& path)
{
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(path);
}

bool writePicture(const QString& path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return image.save(path);
}

} // namespace

class TestFrmOptionsChoosers : public QObject
{
    Q_OBJECT

    OptionsFixture f;

private Q_SLOTS:
    void init() { f.reset(); }

    void aCancelledColourPickerLeavesEveryBoxAsItWas()
    {
        Config() = unusualRecord(f.programFolder.path());
        Config().ScoreboardView = 1;
        auto d = f.open();
        for (const ColourRow& row : colourRows(d.get())) {
            const Colour before = row.box->colour();
            row.button->click();
            QCOMPARE(f.choosers.coloursOffered.last(), toQColor(before));
            QCOMPARE(row.box->colour(), before);
        }
        QCOMPARE(f.choosers.coloursOffered.size(), 10);
    }

    void aChosenColourPaintsOnlyItsBoxUntilOk()
    {
        auto d = f.open();
        f.choosers.colourAnswer = QColor(1, 2, 3);
        const ConfigRecord before = Config();
        d->cmdHomeC->click();
        QCOMPARE(d->picHomeC->colour(), 0x030201);
        QCOMPARE(d->picVisitorC->colour(), before.VisitorColor);
        QCOMPARE(Config(), before);
        d->cmdOk->click();
        QCOMPARE(Config().HomeColor, 0x030201);
        QCOMPARE(storedText("ColorSettings/HomeColor"), QString::number(0x030201));
    }

    void thePlatformColourDialogStartsFromTheBoxAndCanBeCancelled()
    {
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());
        bool startedFromBox = false;
        answerNextModal<QColorDialog>([&](QColorDialog* dialog) {
            startedFromBox = dialog->currentColor() == toQColor(33023);
            dialog->setCurrentColor(QColor(10, 20, 30));
            static_cast<QDialog*>(dialog)->accept();
        });
        d->cmdTimeC->click();
        QVERIFY(startedFromBox);
        QCOMPARE(d->picTimeC->colour(), 0x1e140a);

        answerNextModal<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(QColor(200, 200, 200));
            dialog->reject();
        });
        d->cmdTimeC->click();
        QCOMPARE(d->picTimeC->colour(), 0x1e140a);
    }

    void resetColorsAsksThenResetsAllButTheKeyingColour()
    {
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());
        QCOMPARE(d->scrLEDSelectedWidth->value(), 3);

        bool asked = false;
        answerQuestion("Reset Colors", "Are you sure you want to reset the colors?", false, &asked);
        d->cmdResetColors->click();
        QVERIFY(asked);
        QCOMPARE(d->picTimeC->colour(), 0x102030);
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("3"));

        answerQuestion("Reset Colors", "Are you sure you want to reset the colors?", true, &asked);
        d->cmdResetColors->click();
        QVERIFY(asked);
        QCOMPARE(d->picLedSelected->colour(), 4210752);
        QCOMPARE(d->picTimeC->colour(), 33023);
        QCOMPARE(d->picLEDB->colour(), 0);
        QCOMPARE(d->picScoreC->colour(), 255);
        QCOMPARE(d->picPeriodC->colour(), 49152);
        QCOMPARE(d->picBackC->colour(), 4210752);
        QCOMPARE(d->picBorderC->colour(), 16777215);
        QCOMPARE(d->picHomeC->colour(), 16777215);
        QCOMPARE(d->picVisitorC->colour(), 16777215);
        QCOMPARE(d->picGreenBackC->colour(), 0x00ff00);
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("0"));
        QCOMPARE(d->scrLEDSelectedWidth->value(), 3); // the spinner itself has not moved
        d->cmdOk->click();
        QCOMPARE(Config().LEDSelectedWidth, qint16(0));
        QCOMPARE(Config().GreenBackColor, 0x00ff00);
        QCOMPARE(storedText("ColorSettings/LEDSelectedWidth"), QStringLiteral("0"));
    }

    void afterResetColorsTheWidthSpinnerStepsFromWhereItWas()
    {
        Config().LEDSelectedWidth = 3;
        auto d = f.open();
        d->cmdResetColors->click();
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("0"));
        d->scrLEDSelectedWidth->upButton()->click();
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("4"));
    }

    void resetKeysOnEitherTabAsksThenRestoresTheDefaults_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Keys tab") << "cmdResetKeys";
        QTest::newRow("Quick Keys tab") << "Command1";
    }

    void resetKeysOnEitherTabAsksThenRestoresTheDefaults()
    {
        QFETCH(QString, button);
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());
        auto* reset = d->findChild<QPushButton*>(button);
        const QString question = QStringLiteral("Are you sure you want to reset Keys, Quick Keys, and Numlock option?");

        bool asked = false;
        answerQuestion("Reset Keys", question, false, &asked);
        reset->click();
        QVERIFY(asked);
        QCOMPARE(d->lblKeyStartStopClock->text(), QStringLiteral("G"));
        QVERIFY(d->optKeepOff->isChecked());
        QVERIFY(d->chkShowShotClockScreen->isChecked());

        answerQuestion("Reset Keys", question, true, &asked);
        reset->click();
        QVERIFY(asked);
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
        QCOMPARE(Config().StartStopClockKey, qint16(83));
        QCOMPARE(Config().QPeriod1, qint16(80));
        QCOMPARE(Config().NumLockForce, 0);
        QVERIFY(!Config().ShowShotClockScreen);
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
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());
        d->SSTab1->setCurrentIndex(4);

        bool asked = false;
        const QString question = QStringLiteral("Are you sure you want to reset the size and position?  This will take "
                                                "effect once you click OK on the options.");
        answerQuestion("Reset Size and Position", question, false, &asked);
        d->cmdResetPosition->click();
        QVERIFY(asked);
        QVERIFY(!Config().ResetSizeAndPosition);

        answerQuestion("Reset Size and Position", question, true, &asked);
        d->cmdResetPosition->click();
        QVERIFY(asked);
        QVERIFY(Config().ResetSizeAndPosition);
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

        d->cmdBuzzerSound->click(); // cancelled
        QCOMPARE(d->lblBFile->text(), loaded);
        f.choosers.fileAnswer = folder + QStringLiteral("missing.wav");
        d->cmdBuzzerSound->click();
        QCOMPARE(d->lblBFile->text(), loaded);
        QCOMPARE(d->NewBuzzerFile, Config().BuzzerFile);
        QCOMPARE(f.choosers.filtersOffered.last(), QStringLiteral("Sounds *.wav (*.wav)"));
        QCOMPARE(f.choosers.currentFilesOffered.last(), Config().BuzzerFile);

        f.choosers.fileAnswer = longPath;
        d->cmdBuzzerSound->click();
        QCOMPARE(d->NewBuzzerFile, longPath);
        QCOMPARE(d->lblBFile->text(), longPath.left(10) + QStringLiteral(" ...\\Buzzer.wav"));
        QCOMPARE(d->NewShotClockFile, Config().ShotClockFile);
        d->cmdShotClockSound->click();
        QCOMPARE(d->lblShotClockFile->text(), d->lblBFile->text());
        d->cmdOk->click();
        QCOMPARE(Config().BuzzerFile, longPath);
        QCOMPARE(storedText("KeySettings/BuzzerFile"), longPath);
        QCOMPARE(storedText("KeySettings/ShotClockFile"), longPath);
    }

    void thePlatformFileDialogOffersTheFilters()
    {
        const QString wave = f.programFolder.filePath("horn2.wav");
        const QString picture = f.programFolder.filePath("logo.jpg");
        QVERIFY(QFile(wave).open(QIODevice::WriteOnly));
        QVERIFY(writePicture(picture, QSize(40, 20)));
        auto d = f.openWithPlatformDialogs();
        showAndActivate(d.get());

        QStringList filters;
        QString startFolder;
        answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            startFolder = dialog->directory().absolutePath();
            typeFileName(dialog, wave);
            static_cast<QDialog*>(dialog)->accept();
        });
        d->cmdShotClockSound->click();
        QCOMPARE(filters, QStringList{"Sounds *.wav (*.wav)"});
        QCOMPARE(startFolder, QFileInfo(Config().ShotClockFile).absolutePath()); // where the horn is
        QCOMPARE(d->NewShotClockFile, wave);
        QCOMPARE(d->lblShotClockFile->text(), FileCaption(wave));

        answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            typeFileName(dialog, picture);
            static_cast<QDialog*>(dialog)->accept();
        });
        d->cmdChangeBoardPic->click();
        QCOMPARE(filters, QStringList{"Pictures (*.bmp;*.gif;*.jpg) (*.bmp *.gif *.jpg)"});
        QCOMPARE(d->NewBoardPic, picture);

        answerNextModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        d->cmdBuzzerSound->click();
        QCOMPARE(d->NewBuzzerFile, Config().BuzzerFile);
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
        QCOMPARE(f.choosers.filtersOffered.last(), optionstext::PictureFilter);
        QCOMPARE(d->NewBoardPic, wide);
        QCOMPARE(d->imgBoardPicPreview->picture().size(), QSize(400, 100));
        const QRect fitted = d->imgBoardPicPreview->geometry();
        QCOMPARE(fitted.width(), d->picBoardPicPreviewCon->width());
        QVERIFY(fitted.height() < d->picBoardPicPreviewCon->height());
        QVERIFY(qAbs(fitted.center().y() - d->picBoardPicPreviewCon->height() / 2) <= 1);
        QVERIFY(!d->imgBoardPicPreview->isHidden());

        d->cmdClearBoardPic->click();
        QVERIFY(d->imgBoardPicPreview->picture().isNull());
        QCOMPARE(d->NewBoardPic, QString());
        d->cmdOk->click();
        QCOMPARE(Config().BoardPic, QString());
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
        QCOMPARE(d->NewBoardPic, good);

        f.choosers.fileAnswer = f.programFolder.filePath("nothing.jpg");
        d->cmdChangeBoardPic->click();
        QCOMPARE(d->NewBoardPic, good);
        d->cmdOk->click();
        QCOMPARE(Config().BoardPic, good);
    }

    void aStoredPictureThatIsGoneLoadsAnEmptyPreviewAndIsKept()
    {
        Config().BoardPic = f.programFolder.filePath("gone.bmp");
        auto d = f.open();
        QVERIFY(d->imgBoardPicPreview->picture().isNull());
        d->cmdOk->click();
        QCOMPARE(Config().BoardPic, f.programFolder.filePath("gone.bmp"));
    }
};

QTEST_MAIN(TestFrmOptionsChoosers)
#include "tst_frmoptions_choosers.moc"
