// The options dialog's frame and round trip: what it shows and where the focus
// is, loading from the record (clamping what the controls cannot take), OK
// writing every edited key with the values shown, Cancel, Escape and the close
// box changing nothing, the NumLock choice, and the key binding editor driven
// with real clicks and key presses.

#include "optionsfixture.h"

#include "colour.h"
#include "controls.h"
#include "glyphdisplay.h"
#include "optionswidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

QStringList frameCaptions(QWidget* page)
{
    QStringList captions;
    for (QGroupBox* frame : page->findChildren<QGroupBox*>())
        captions.append(frame->title());
    captions.sort();
    return captions;
}

QStringList sortedList(QStringList l)
{
    l.sort();
    return l;
}

void clickLabel(KeyLabel* label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT

    OptionsFixture f;

private Q_SLOTS:
    void init() { f.reset(); }

    void theFrameHasItsCaptionsSizeAndTabsInOrder()
    {
        auto dialog = f.open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
        QVERIFY(dialog->isModal());
        QCOMPARE(dialog->size(), QSize(414, 381));
        QCOMPARE(dialog->SSTab1->count(), 5);
        const QStringList tabs{"Keys", "Quick Keys", "Colors", "Text", "Other Settings"};
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(dialog->SSTab1->tabText(i), tabs.at(i));
        QCOMPARE(dialog->cmdOk->text(), QStringLiteral("&Ok"));
        QCOMPARE(dialog->cmdCancel->text(), QStringLiteral("&Cancel"));
        QCOMPARE(dialog->cmdOk->geometry(), QRect(131, 348, 72, 25));
        QCOMPARE(dialog->cmdCancel->geometry(), QRect(218, 348, 72, 25));
        QCOMPARE(dialog->SSTab1->geometry(), QRect(8, 8, 393, 329));
    }

    void everyTabHoldsItsFramesAndControls()
    {
        auto dialog = f.open();
        QTabWidget* tabs = dialog->SSTab1;
        QCOMPARE(frameCaptions(tabs->widget(0)),
                 sortedList({"Start/Stop clock:", "Reset clock:", "Reset shot clock:", "Game/Clock switch:", "Clear Number:",
                             "Buzzer:", "Numlock Options:", "Reset Shot Clock to:"}));
        QCOMPARE(frameCaptions(tabs->widget(1)),
                 sortedList({"Home Score +1", "Home Score +2:", "Home Score +3", "Visitor Score +1", "Visitor Score +2",
                             "Visitor Score +3", "Period +1"}));
        QCOMPARE(frameCaptions(tabs->widget(2)),
                 sortedList({"Time Color:", "Score Color:", "Period Color:", "LED Background:", "Back Color:",
                             "Period Text Color:", "Home Name Color:", "Visitor Name Color:", "LED Selected"}));
        QCOMPARE(frameCaptions(tabs->widget(3)), sortedList({"Home Name:", "Visitor Name:", "Period Label:"}));
        QCOMPARE(frameCaptions(tabs->widget(4)), sortedList({"Show board as:", "Scoreboard Picture:", "Digit Type:"}));

        // Each control sits on its tab with its caption.
        const struct { int tab; const char* name; const char* caption; } controls[] = {
            {0, "optNormal", "Normal Mode"}, {0, "optKeepOn", "Keep Numlock On"}, {0, "optKeepOff", "Keep Numlock Off"},
            {0, "chkUseShotClock", "Use shot clock"}, {0, "chkShowShotClockScreen", "Show separate shot clock window."},
            {0, "cmdResetKeys", "Reset Keys"}, {1, "Command1", "Reset Keys"},
            {2, "cmdTimeC", "Change"}, {2, "cmdScoreC", "Change"}, {2, "cmdPeriodC", "Change"}, {2, "cmdLEDB", "Change"},
            {2, "cmdBackC", "Change"}, {2, "cmdBorderC", "Change"}, {2, "cmdHomeC", "Change"}, {2, "cmdVisitorC", "Change"},
            {2, "cmdLedSelected", "Change"}, {2, "cmdResetColors", "Reset Colors"},
            {4, "cmdBuzzerSound", "Change Buzzer Sound..."}, {4, "cmdShotClockSound", "Change Shot Clock Sound..."},
            {4, "cmdResetPosition", "Reset Size and Position"}, {4, "otnFloating", "Floating Screen"},
            {4, "otnGreenBack", "Solid background color for video keying:"}, {4, "cmdGreenScreen", "Change"},
            {4, "cmdChangeBoardPic", "Change"}, {4, "cmdClearBoardPic", "Clear"},
        };
        for (const auto& c : controls) {
            auto* button = tabs->widget(c.tab)->findChild<QAbstractButton*>(QString::fromLatin1(c.name));
            QVERIFY2(button, c.name);
            QCOMPARE(button->text(), QString::fromLatin1(c.caption));
        }
        const struct { int tab; const char* name; } others[] = {
            {0, "vsShotClock"}, {0, "lblShotClock"}, {2, "scrLEDSelectedWidth"}, {2, "lblLEDSelectedWidthValue"},
            {2, "picTimeC"}, {2, "picScoreC"}, {2, "picPeriodC"}, {2, "picLEDB"}, {2, "picBackC"}, {2, "picBorderC"},
            {2, "picHomeC"}, {2, "picVisitorC"}, {2, "picLedSelected"}, {3, "txtHomeText"}, {3, "txtVisitorText"},
            {3, "txtPeriodText"}, {4, "lblBFile"}, {4, "lblShotClockFile"}, {4, "picGreenBackC"},
            {4, "picBoardPicPreviewCon"}, {4, "imgBoardPicPreview"}, {4, "cmbLedType"}, {4, "gdPreview"},
        };
        for (const auto& c : others)
            QVERIFY2(tabs->widget(c.tab)->findChild<QWidget*>(QString::fromLatin1(c.name)), c.name);
        const auto labelsOn = [&](int tab) {
            QStringList texts;
            for (QLabel* l : tabs->widget(tab)->findChildren<QLabel*>())
                texts.append(l->text());
            return texts;
        };
        QVERIFY(labelsOn(0).contains("Seconds"));
        QVERIFY(labelsOn(2).contains("Width:"));
        QVERIFY(labelsOn(4).contains("Preview:"));
        QCOMPARE(dialog->cmbLedType->count(), 2);
        QCOMPARE(dialog->cmbLedType->itemText(0), QStringLiteral("Lines"));
        QCOMPARE(dialog->cmbLedType->itemText(1), QStringLiteral("Dots"));
        QVERIFY(!dialog->cmbLedType->isEditable());
        QCOMPARE(dialog->lblBFile->width(), 345);
        QCOMPARE(dialog->lblShotClockFile->width(), 345);
    }

    void itOpensOnKeysWithTheFocusOnOk()
    {
        auto dialog = f.open();
        dialog->SSTab1->setCurrentIndex(3);
        dialog.reset();
        dialog = f.open();
        showAndActivate(dialog.get());
        QCOMPARE(dialog->SSTab1->currentIndex(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), dialog->cmdOk);
    }

    void enterInATextBoxPressesNoButtonButAFocusedOkTakesIt()
    {
        auto d = f.open();
        showAndActivate(d.get());
        d->SSTab1->setCurrentIndex(3);
        d->txtHomeText->setFocus();
        QTest::keyClicks(d->txtHomeText, QStringLiteral("Lakers"));
        QTest::keyClick(d->txtHomeText, Qt::Key_Return);
        QVERIFY(d->isVisible());
        QVERIFY(!d->cmdOk->isDefault() && !d->cmdCancel->isDefault());
        d->cmdOk->setFocus();
        QTest::keyClick(d->cmdOk, Qt::Key_Return);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(Config().HomeText, QStringLiteral("Home") + QStringLiteral("Lakers"));
    }

    void loadingShowsTheRecord()
    {
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.open();
        QCOMPARE(d->lblKeyStartStopClock->text(), QStringLiteral("G"));
        QCOMPARE(d->tagOf(d->lblKeyStartStopClock), QStringLiteral("71"));
        QCOMPARE(d->lblKeyHS3->text(), QStringLiteral("F11"));
        QCOMPARE(d->lblKeyVS3->text(), QStringLiteral("\""));
        QCOMPARE(d->lblKeyPeriod1->text(), QStringLiteral("Ctrl"));
        QCOMPARE(d->picTimeC->colour(), 0x102030);
        QCOMPARE(d->picGreenBackC->colour(), 0x00ff00);
        QCOMPARE(d->picTimeC->palette().color(QPalette::Window), toQColor(0x102030));
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("3"));
        QVERIFY(d->optKeepOff->isChecked() && !d->optNormal->isChecked() && !d->optKeepOn->isChecked());
        QCOMPARE(d->NewBuzzerFile, Config().BuzzerFile);
        QCOMPARE(d->NewBoardPic, Config().BoardPic);
        QCOMPARE(d->cmbLedType->currentIndex(), 1);
        QCOMPARE(d->gdPreview->ledType(), 1);
        QVERIFY(d->chkUseShotClock->isChecked());
        QVERIFY(d->chkShowShotClockScreen->isEnabled() && d->chkShowShotClockScreen->isChecked());
        QCOMPARE(d->lblShotClock->text(), QStringLiteral("24"));
        QCOMPARE(d->vsShotClock->value(), 24);
        QCOMPARE(d->txtHomeText->text(), QStringLiteral("Lakers"));
        QCOMPARE(d->txtVisitorText->text(), QStringLiteral("Celtics"));
        QCOMPARE(d->txtPeriodText->text(), QStringLiteral("Quarter"));
        QVERIFY(d->otnGreenBack->isChecked() && d->cmdGreenScreen->isEnabled());
        QCOMPARE(d->lblBFile->text(), Config().BuzzerFile.size() <= 50 ? Config().BuzzerFile : d->lblBFile->text());
        QVERIFY(!d->ActiveKeyLabel());
    }

    void loadingClearsTheResetRequest()
    {
        Config().ResetSizeAndPosition = true;
        auto d = f.open();
        QVERIFY(!Config().ResetSizeAndPosition);
    }

    void okWithoutChangesWritesAll36KeysWithTheirOldValues_data()
    {
        QTest::addColumn<bool>("unusual");
        QTest::newRow("first start") << false;
        QTest::newRow("every key changed") << true;
    }

    void okWithoutChangesWritesAll36KeysWithTheirOldValues()
    {
        QFETCH(bool, unusual);
        if (unusual)
            Config() = unusualRecord(f.programFolder.path());
        const ConfigRecord before = Config();
        auto d = f.open();
        d->cmdOk->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(Config(), before);

        const QStringList stored = storeContents();
        QCOMPARE(stored.size(), 36);
        // What the store holds reads back as the same record.
        ConfigRecord reread = defaultConfig(f.programFolder.path());
        LoadConfig(reread, *testStore(), f.programFolder.path());
        reread.StartX = before.StartX;
        reread.StartY = before.StartY;
        reread.Height = before.Height;
        reread.RoundCorners = before.RoundCorners;
        QCOMPARE(reread, before);
        QCOMPARE(storedText("AdditionalSettings/UseShotClock"), unusual ? QStringLiteral("True") : QStringLiteral("False"));
        QCOMPARE(storedText("AdditionalSettings/ShowShotClockScreen"), unusual ? QStringLiteral("True") : QStringLiteral("False"));
        QVERIFY(!stored.join(u'\n').contains(QStringLiteral("Views/StartX")));
    }

    void cancelAfterChangingEverythingChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }

    void cancelAfterChangingEverythingChangesNothing()
    {
        QFETCH(QString, how);
        Config() = unusualRecord(f.programFolder.path());
        SaveConfig();
        const ConfigRecord before = Config();
        const QStringList storeBefore = storeContents();
        QVERIFY(writePicture(f.programFolder.filePath("other.png")));
        QVERIFY(QFile(f.programFolder.filePath("new.wav")).open(QIODevice::WriteOnly));

        auto d = f.open();
        showAndActivate(d.get());
        changeEverything(d.get());
        QCOMPARE(Config(), before); // nothing reaches the record while editing

        if (how == "cancel")
            d->cmdCancel->click();
        else if (how == "escape")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            d->close();
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(Config(), before);
        QCOMPARE(storeContents(), storeBefore);
        QCOMPARE(f.numLock.sets, 0);

        // The next opening shows the old values again.
        auto again = f.open();
        QCOMPARE(again->lblKeyStartStopClock->text(), QStringLiteral("G"));
        QCOMPARE(again->picTimeC->colour(), before.TimeColor);
        QCOMPARE(again->txtHomeText->text(), QStringLiteral("Lakers"));
        QCOMPARE(again->NewBoardPic, before.BoardPic);
        QCOMPARE(again->lblShotClock->text(), QStringLiteral("24"));
        QVERIFY(again->optKeepOff->isChecked());
    }

    void okStoresEveryChange()
    {
        Config() = unusualRecord(f.programFolder.path());
        QVERIFY(writePicture(f.programFolder.filePath("other.png")));
        QVERIFY(QFile(f.programFolder.filePath("new.wav")).open(QIODevice::WriteOnly));
        auto d = f.open();
        showAndActivate(d.get());
        changeEverything(d.get());
        d->cmdOk->click();

        const ConfigRecord& c = Config();
        QCOMPARE(c.StartStopClockKey, qint16('Q'));
        QCOMPARE(c.QPeriod1, qint16(220));
        QCOMPARE(c.TimeColor, 0x123456);
        QCOMPARE(c.GreenBackColor, 0x123456);
        QCOMPARE(c.LEDSelectedWidth, qint16(4));
        QCOMPARE(c.ShotClockResetTime, qint16(25));
        QVERIFY(!c.UseShotClock);
        QVERIFY(!c.ShowShotClockScreen);
        QCOMPARE(c.NumLockForce, 1);
        QVERIFY(f.numLock.on);
        QCOMPARE(c.HomeText, QString());
        QCOMPARE(c.VisitorText, QStringLiteral("Bulls"));
        QCOMPARE(c.BuzzerFile, f.programFolder.filePath("new.wav"));
        QCOMPARE(c.ShotClockFile, f.programFolder.filePath("new.wav"));
        QCOMPARE(c.BoardPic, QString());
        QCOMPARE(c.LEDType, qint16(0));
        QCOMPARE(c.ScoreboardView, 0);
        QCOMPARE(storedText("TextSettings/HomeText"), QString());
        QCOMPARE(storedText("KeySettings/NumLockForce"), QStringLiteral("1"));
        QCOMPARE(storedText("AdditionalSettings/ShotClockResetTime"), QStringLiteral("25"));
        QCOMPARE(storedText("PicSettings/BoardPic"), QString());
        QCOMPARE(storedText("Views/ScoreboardView"), QStringLiteral("0"));
        QCOMPARE(storeContents().size(), 36);
    }

    void aNumLockPolicyNoOptionShowsSurvivesOk()
    {
        Config().NumLockForce = 3;
        auto d = f.open();
        QVERIFY(!d->optNormal->isChecked() && !d->optKeepOn->isChecked() && !d->optKeepOff->isChecked());
        d->cmdOk->click();
        QCOMPARE(Config().NumLockForce, 3);
        QCOMPARE(storedText("KeySettings/NumLockForce"), QStringLiteral("3"));
        QCOMPARE(f.numLock.reads, 0);
        QCOMPARE(f.numLock.sets, 0);
    }

    void theNumLockChoiceAppliesAtOk_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("initiallyOn");
        QTest::addColumn<int>("force");
        QTest::addColumn<bool>("finallyOn");
        QTest::addColumn<int>("sets");
        QTest::newRow("normal leaves it on") << "optNormal" << true << 0 << true << 0;
        QTest::newRow("normal leaves it off") << "optNormal" << false << 0 << false << 0;
        QTest::newRow("keep on switches it on") << "optKeepOn" << false << 1 << true << 1;
        QTest::newRow("keep off switches it off") << "optKeepOff" << true << 2 << false << 1;
    }

    void theNumLockChoiceAppliesAtOk()
    {
        QFETCH(QString, option);
        QFETCH(bool, initiallyOn);
        QFETCH(int, force);
        QFETCH(bool, finallyOn);
        QFETCH(int, sets);
        f.numLock.on = initiallyOn;
        auto d = f.open();
        d->findChild<QRadioButton*>(option)->click();
        QCOMPARE(f.numLock.sets, 0); // only OK applies it
        d->cmdOk->click();
        QCOMPARE(Config().NumLockForce, force);
        QCOMPARE(f.numLock.on, finallyOn);
        QCOMPARE(f.numLock.sets, sets);
    }

    void aViewOtherThanBothSelectsNeitherAndOkStoresTheKeyedView()
    {
        Config().ScoreboardView = 5;
        auto d = f.open();
        QVERIFY(!d->otnFloating->isChecked() && !d->otnGreenBack->isChecked());
        d->cmdOk->click();
        QCOMPARE(Config().ScoreboardView, 1);
    }

    void floatingGreysOutTheKeyingColour()
    {
        Config().ScoreboardView = 1;
        auto d = f.open();
        QVERIFY(d->cmdGreenScreen->isEnabled());
        d->otnFloating->click();
        QVERIFY(!d->cmdGreenScreen->isEnabled());
        QVERIFY(!d->picGreenBackC->isHidden());
        d->otnGreenBack->click();
        QVERIFY(d->cmdGreenScreen->isEnabled());
        d->otnFloating->click();
        d->cmdOk->click();
        QCOMPARE(Config().ScoreboardView, 0);
    }

    void storedValuesTheControlsCannotTakeAreClamped_data()
    {
        QTest::addColumn<int>("shotClock");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("ledType");
        QTest::addColumn<int>("shownShotClock");
        QTest::addColumn<int>("shownWidth");
        QTest::addColumn<int>("shownType");
        QTest::newRow("above") << 150 << 9 << 7 << 99 << 5 << 1;
        QTest::newRow("below") << -4 << -1 << -1 << 0 << 0 << 0;
        QTest::newRow("extremes") << 32767 << -32768 << 32767 << 99 << 0 << 1;
    }

    void storedValuesTheControlsCannotTakeAreClamped()
    {
        QFETCH(int, shotClock);
        QFETCH(int, width);
        QFETCH(int, ledType);
        QFETCH(int, shownShotClock);
        QFETCH(int, shownWidth);
        QFETCH(int, shownType);
        Config().ShotClockResetTime = qint16(shotClock);
        Config().LEDSelectedWidth = qint16(width);
        Config().LEDType = qint16(ledType);
        auto d = f.open();
        QCOMPARE(d->lblShotClock->text(), QString::number(shownShotClock));
        QCOMPARE(d->vsShotClock->value(), shownShotClock);
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QString::number(shownWidth));
        QCOMPARE(d->cmbLedType->currentIndex(), shownType);
        d->cmdOk->click();
        QCOMPARE(int(Config().ShotClockResetTime), shownShotClock);
        QCOMPARE(int(Config().LEDSelectedWidth), shownWidth);
        QCOMPARE(int(Config().LEDType), shownType);
    }

    void everyWidthRoundTrips()
    {
        for (int width = 0; width <= 5; ++width) {
            Config().LEDSelectedWidth = qint16(width);
            auto d = f.open();
            QCOMPARE(d->lblLEDSelectedWidthValue->text(), QString::number(width));
            d->cmdOk->click();
            QCOMPARE(int(Config().LEDSelectedWidth), width);
            QCOMPARE(storedText("ColorSettings/LEDSelectedWidth"), QString::number(width));
        }
    }

    void theUpperArrowRaisesAndBothSpinnersStopAtTheirEnds()
    {
        Config().ShotClockResetTime = 98;
        Config().LEDSelectedWidth = 1;
        auto d = f.open();
        showAndActivate(d.get());
        QTest::mouseClick(d->vsShotClock->upButton(), Qt::LeftButton);
        QCOMPARE(d->lblShotClock->text(), QStringLiteral("99"));
        QTest::mouseClick(d->vsShotClock->upButton(), Qt::LeftButton);
        QCOMPARE(d->lblShotClock->text(), QStringLiteral("99"));
        QTest::mouseClick(d->vsShotClock->downButton(), Qt::LeftButton);
        QCOMPARE(d->lblShotClock->text(), QStringLiteral("98"));

        d->SSTab1->setCurrentIndex(2);
        QTest::mouseClick(d->scrLEDSelectedWidth->downButton(), Qt::LeftButton);
        QTest::mouseClick(d->scrLEDSelectedWidth->downButton(), Qt::LeftButton);
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("0"));
        for (int i = 0; i < 8; ++i)
            QTest::mouseClick(d->scrLEDSelectedWidth->upButton(), Qt::LeftButton);
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QStringLiteral("5"));
        d->vsShotClock->setValue(0);
        QTest::mouseClick(d->vsShotClock->downButton(), Qt::LeftButton);
        QCOMPARE(d->lblShotClock->text(), QStringLiteral("0"));
        d->cmdOk->click();
        QCOMPARE(Config().ShotClockResetTime, qint16(0));
        QCOMPARE(Config().LEDSelectedWidth, qint16(5));
    }

    void unusedShotClockKeepsItsWindowChoiceButGreyed()
    {
        Config().UseShotClock = false;
        Config().ShowShotClockScreen = true;
        auto d = f.open();
        QVERIFY(d->chkShowShotClockScreen->isChecked());
        QVERIFY(!d->chkShowShotClockScreen->isEnabled());
        d->cmdOk->click();
        QVERIFY(!Config().UseShotClock);
        QVERIFY(Config().ShowShotClockScreen);
    }

    void untickingTheShotClockClearsItsWindowChoice()
    {
        Config().UseShotClock = true;
        Config().ShowShotClockScreen = true;
        auto d = f.open();
        d->chkUseShotClock->click();
        QVERIFY(!d->chkShowShotClockScreen->isChecked());
        QVERIFY(!d->chkShowShotClockScreen->isEnabled());
        d->chkUseShotClock->click();
        QVERIFY(d->chkShowShotClockScreen->isEnabled());
        QVERIFY(!d->chkShowShotClockScreen->isChecked());
    }

    void theDisplayTypeListDrivesThePreview()
    {
        auto d = f.open();
        QCOMPARE(d->gdPreview->ledType(), 0);
        QCOMPARE(d->gdPreview->shownText(), QStringLiteral("8"));
        d->cmbLedType->setCurrentIndex(1);
        QCOMPARE(d->gdPreview->ledType(), 1);
        d->cmbLedType->setCurrentIndex(0);
        QCOMPARE(d->gdPreview->ledType(), 0);
    }

    void soundFileLabelsAtLoading_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("whole");
        QTest::newRow("50 characters show whole") << 50 << true;
        QTest::newRow("51 characters are shortened") << 51 << false;
    }

    void soundFileLabelsAtLoading()
    {
        QFETCH(int, length);
        QFETCH(bool, whole);
        const QString folder = f.programFolder.path() + u'/';
        const QString path = folder + QString(length - folder.size() - 9, u'x') + QStringLiteral("/horn.wav");
        QCOMPARE(path.size(), length);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        Config().BuzzerFile = QString();
        Config().ShotClockFile = path;
        auto d = f.open();
        QCOMPARE(d->lblBFile->text(), QStringLiteral("[No File Selected]"));
        QCOMPARE(d->lblShotClockFile->text(), whole ? path : path.left(10) + QStringLiteral(" ...\\horn.wav"));
        d->cmdOk->click();
        QCOMPARE(storedText("KeySettings/ShotClockFile"), path);
        QCOMPARE(storedText("KeySettings/BuzzerFile"), QString());
    }

    // The key binding editor through the widgets.

    void clickingAKeyLabelWaitsInPaleYellowWithTheFocusInTheCaptureBox()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyResetClock);
        QCOMPARE(d->ActiveKeyLabel(), d->lblKeyResetClock);
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("<Press any key>"));
        QCOMPARE(d->lblKeyResetClock->backColor(), 8454143);
        QCOMPARE(d->lblKeyResetClock->palette().color(QPalette::Window), QColor(255, 255, 128));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d->txtGetKey));

        QTest::keyClick(d->txtGetKey, Qt::Key_G);
        QVERIFY(!d->ActiveKeyLabel());
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("G"));
        QCOMPARE(d->lblKeyResetClock->backColor(), 16777215);
        QCOMPARE(d->tagOf(d->lblKeyResetClock), QStringLiteral("71"));
        QCOMPARE(d->txtGetKey->text(), QString());
        QCOMPARE(Config().ResetClockKey, qint16('R')); // only OK stores it
        QTest::keyClick(d->txtGetKey, Qt::Key_H); // nothing waits: nothing happens
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("G"));
        d->cmdOk->click();
        QCOMPARE(Config().ResetClockKey, qint16('G'));
        QCOMPARE(storedText("KeySettings/ResetClockKey"), QStringLiteral("71"));
    }

    void refusedKeysAskForAnotherAndShiftNeverMatters()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyBuzzer);
        QTest::keyClick(d->txtGetKey, Qt::Key_S); // start/stop has it
        QCOMPARE(d->lblKeyBuzzer->text(), QStringLiteral("Choose another"));
        QCOMPARE(d->lblKeyBuzzer->backColor(), 8454143);
        for (Qt::Key key : {Qt::Key_5, Qt::Key_Space, Qt::Key_Left, Qt::Key_F1, Qt::Key_F2, Qt::Key_F10, Qt::Key_Return,
                            Qt::Key_Shift, Qt::Key_Alt}) {
            QTest::keyClick(d->txtGetKey, key);
            QCOMPARE(d->lblKeyBuzzer->text(), QStringLiteral("Choose another"));
            QVERIFY(d->isVisible()); // Enter does not press a button
        }
        QTest::keyClick(d->txtGetKey, Qt::Key_Z, Qt::ShiftModifier);
        QCOMPARE(d->lblKeyBuzzer->text(), QStringLiteral("Z"));
        clickLabel(d->lblKeyBuzzer);
        QTest::keyClick(d->txtGetKey, Qt::Key_Control);
        QCOMPARE(d->lblKeyBuzzer->text(), QStringLiteral("Ctrl"));
        clickLabel(d->lblKeyBuzzer);
        QTest::keyClick(d->txtGetKey, Qt::Key_QuoteDbl, Qt::ShiftModifier);
        QCOMPARE(d->lblKeyBuzzer->text(), QStringLiteral("\""));
        QCOMPARE(d->tagOf(d->lblKeyBuzzer), QStringLiteral("222"));
    }

    void clickingTheWaitingLabelAgainKeepsTheOldBinding()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyClear);
        clickLabel(d->lblKeyClear);
        QVERIFY(!d->ActiveKeyLabel());
        QCOMPARE(d->lblKeyClear->text(), QStringLiteral("Backspace"));
        QCOMPARE(d->lblKeyClear->backColor(), 16777215);
    }

    void clickingAnotherLabelMovesTheWaitEvenAcrossTabs()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyStartStopClock);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d->txtGetKey));
        QTest::mouseClick(d->SSTab1->tabBar(), Qt::LeftButton, {}, d->SSTab1->tabBar()->tabRect(1).center());
        QCOMPARE(d->SSTab1->currentIndex(), 1);
        QVERIFY(d->lblKeyPeriod1->isVisible());
        QCOMPARE(d->ActiveKeyLabel(), d->lblKeyStartStopClock); // changing tabs keeps the wait
        clickLabel(d->lblKeyPeriod1);
        QCOMPARE(d->ActiveKeyLabel(), d->lblKeyPeriod1);
        QCOMPARE(d->lblKeyStartStopClock->text(), QStringLiteral("S"));
        QCOMPARE(d->lblKeyStartStopClock->backColor(), 16777215);
        QCOMPARE(d->lblKeyPeriod1->text(), QStringLiteral("<Press any key>"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d->txtGetKey));
        // The capture box takes keys while another tab shows.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
        QCOMPARE(d->lblKeyPeriod1->text(), QStringLiteral("F12"));
        d->cmdOk->click();
        QCOMPARE(Config().QPeriod1, qint16(123));
    }

    void anotherControlTakingTheFocusEndsTheWait_data()
    {
        QTest::addColumn<QString>("taker");
        QTest::newRow("Tab") << "tab";
        QTest::newRow("a text box") << "txtHomeText";
        QTest::newRow("a list") << "cmbLedType";
        QTest::newRow("a button") << "cmdOk";
    }

    void anotherControlTakingTheFocusEndsTheWait()
    {
        QFETCH(QString, taker);
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyHS2);
        QTest::keyClick(d->txtGetKey, Qt::Key_1);
        QCOMPARE(d->lblKeyHS2->text(), QStringLiteral("Choose another"));
        if (taker == "tab")
            QTest::keyClick(d->txtGetKey, Qt::Key_Tab);
        else {
            QWidget* w = d->findChild<QWidget*>(taker);
            for (int i = 0; i < d->SSTab1->count(); ++i) {
                if (d->SSTab1->widget(i)->isAncestorOf(w))
                    d->SSTab1->setCurrentIndex(i);
            }
            w->setFocus(Qt::MouseFocusReason);
        }
        QVERIFY(QApplication::focusWidget() != d->txtGetKey);
        QVERIFY(!d->ActiveKeyLabel());
        QCOMPARE(d->lblKeyHS2->text(), QStringLiteral("Home"));
        QCOMPARE(d->lblKeyHS2->backColor(), 16777215);
    }

    void escapeWhileWaitingCancelsTheDialog()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyStartStopClock);
        QTest::keyClick(d->txtGetKey, Qt::Key_G);
        clickLabel(d->lblKeyResetClock);
        QTest::keyClick(d->txtGetKey, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(Config().StartStopClockKey, qint16('S'));
        QCOMPARE(storeContents().size(), 0);
    }

    void anUnnamedStoredCodeShowsEmptyAndOkKeepsIt()
    {
        Config().ClearKey = 48;
        auto d = f.open();
        QCOMPARE(d->lblKeyClear->text(), QString());
        QCOMPARE(d->IsKeyInUse(48), QStringLiteral("lblKeyClear"));
        QCOMPARE(d->IsKeyInUse(999), QStringLiteral("None"));
        d->cmdOk->click();
        QCOMPARE(storedText("KeySettings/ClearKey"), QStringLiteral("48"));
    }

private:
    static bool writePicture(const QString& path)
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image.save(path);
    }

    // Every control of every tab moved away from what was loaded.
    void changeEverything(frmOptions* d)
    {
        const auto bind = [d](KeyLabel* label, int code) {
            d->ChooseKey(label);
            d->KeyChosen(code);
        };
        bind(d->lblKeyStartStopClock, 'Q');
        bind(d->lblKeyPeriod1, 220);
        f.choosers.colourAnswer = QColor(0x56, 0x34, 0x12);
        d->cmdTimeC->click();
        d->cmdGreenScreen->setEnabled(true);
        d->cmdGreenScreen->click();
        d->vsShotClock->upButton()->click();
        d->scrLEDSelectedWidth->upButton()->click();
        d->chkUseShotClock->click();
        d->optKeepOn->click();
        d->txtHomeText->clear();
        d->txtVisitorText->setText(QStringLiteral("Bulls"));
        f.choosers.fileAnswer = f.programFolder.filePath("new.wav");
        d->cmdBuzzerSound->click();
        d->cmdShotClockSound->click();
        d->cmdClearBoardPic->click();
        d->cmbLedType->setCurrentIndex(0);
        d->otnFloating->click();
    }
};

QTEST_MAIN(TestFrmOptions)
#include "tst_frmoptions.moc"
