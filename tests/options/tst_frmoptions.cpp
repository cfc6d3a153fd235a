// The options dialog's round trip: loading from the record (clamping what the
// controls cannot take), OK writing every key with the values shown, Cancel,
// Escape and the close box changing nothing, the NumLock choice, and the key
// binding editor driven with real clicks and key presses.

#include "optionsfixture.h"

#include "controls.h"
#include "optionswidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

void clickLabel(KeyLabel* label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

constexpr int Idle = 16777215, Waiting = 8454143;

} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT

    OptionsFixture f;

private Q_SLOTS:
    void init() { f.reset(); }

    void enterInANameBoxPressesNoButton()
    {
        auto d = f.open();
        showAndActivate(d.get());
        d->SSTab1->setCurrentIndex(3);
        d->txtHomeText->setFocus();
        QTest::keyClicks(d->txtHomeText, QStringLiteral("Lakers"));
        QTest::keyClick(d->txtHomeText, Qt::Key_Return);
        QVERIFY(d->isVisible());
        d->cmdOk->click();
        QCOMPARE(Config().HomeText, QStringLiteral("HomeLakers"));
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
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(Config(), before);

        const QStringList stored = storeContents();
        QCOMPARE(stored.size(), 36);
        // What the store holds reads back as the same record; the placement is
        // not among the 36.
        ConfigRecord reread = defaultConfig(f.programFolder.path());
        LoadConfig(reread, *tallivoxSettings(), f.programFolder.path());
        reread.StartX = before.StartX;
        reread.StartY = before.StartY;
        reread.Height = before.Height;
        reread.RoundCorners = before.RoundCorners;
        QCOMPARE(reread, before);
        QCOMPARE(storedText("AdditionalSettings/UseShotClock"), unusual ? QStringLiteral("True") : QStringLiteral("False"));
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
        QCOMPARE(again->lblShotClock->text(), QStringLiteral("24"));
        QVERIFY(again->optKeepOff->isChecked());
    }

    void okStoresEveryChange()
    {
        Config() = unusualRecord(f.programFolder.path());
        auto d = f.open();
        showAndActivate(d.get());
        changeEverything(d.get());
        d->cmdOk->click();

        ConfigRecord expected = unusualRecord(f.programFolder.path());
        expected.StartStopClockKey = 'Q';
        expected.QPeriod1 = 220;
        expected.TimeColor = expected.GreenBackColor = 0x123456;
        expected.LEDSelectedWidth = 4;
        expected.ShotClockResetTime = 25;
        expected.UseShotClock = expected.ShowShotClockScreen = false;
        expected.NumLockForce = 1;
        expected.HomeText = QString();
        expected.VisitorText = QStringLiteral("Bulls");
        expected.BuzzerFile = expected.ShotClockFile = f.programFolder.filePath("new.wav");
        expected.BoardPic = QString();
        expected.LEDType = 0;
        expected.ScoreboardView = 0;
        QCOMPARE(Config(), expected);
        QVERIFY(f.numLock.on);
        // The store reads back as the same record, the placement aside.
        ConfigRecord reread;
        LoadConfig(reread, *tallivoxSettings(), f.programFolder.path());
        reread.StartX = expected.StartX;
        reread.StartY = expected.StartY;
        reread.Height = expected.Height;
        QCOMPARE(reread, expected);
    }

    void storedValuesNoControlShowsSurviveOk()
    {
        Config().NumLockForce = 3;
        Config().ClearKey = 48; // a key without a name
        Config().ResetSizeAndPosition = true; // left over from an earlier opening
        auto d = f.open();
        QVERIFY(!Config().ResetSizeAndPosition);
        QVERIFY(!d->optNormal->isChecked() && !d->optKeepOn->isChecked() && !d->optKeepOff->isChecked());
        QCOMPARE(d->lblKeyClear->text(), QString());
        d->cmdOk->click();
        QCOMPARE(storedText("KeySettings/NumLockForce"), QStringLiteral("3"));
        QCOMPARE(storedText("KeySettings/ClearKey"), QStringLiteral("48"));
        QCOMPARE(f.numLock.sets, 0);
    }

    void theNumLockChoiceAppliesAtOk_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("initiallyOn");
        QTest::addColumn<int>("force");
        QTest::addColumn<int>("sets");
        QTest::newRow("normal leaves it alone") << "optNormal" << true << 0 << 0;
        QTest::newRow("keep on switches it on") << "optKeepOn" << false << 1 << 1;
        QTest::newRow("keep off switches it off") << "optKeepOff" << true << 2 << 1;
    }

    void theNumLockChoiceAppliesAtOk()
    {
        QFETCH(QString, option);
        QFETCH(bool, initiallyOn);
        QFETCH(int, force);
        QFETCH(int, sets);
        f.numLock.on = initiallyOn;
        auto d = f.open();
        d->findChild<QRadioButton*>(option)->click();
        QCOMPARE(f.numLock.sets, 0); // only OK applies it
        d->cmdOk->click();
        QCOMPARE(Config().NumLockForce, force);
        QCOMPARE(f.numLock.on, force == 0 ? initiallyOn : force == 1);
        QCOMPARE(f.numLock.sets, sets);
    }

    void storedValuesTheControlsCannotTakeAreClamped_data()
    {
        QTest::addColumn<int>("shotClock");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("ledType");
        QTest::addColumn<int>("shownShotClock");
        QTest::addColumn<int>("shownWidth");
        QTest::addColumn<int>("shownType");
        QTest::newRow("above") << 32767 << 9 << 7 << 99 << 5 << 1;
        QTest::newRow("below") << -4 << -32768 << -1 << 0 << 0 << 0;
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
        QCOMPARE(d->lblLEDSelectedWidthValue->text(), QString::number(shownWidth));
        QCOMPARE(d->cmbLedType->currentIndex(), shownType);
        d->cmdOk->click();
        QCOMPARE(int(Config().ShotClockResetTime), shownShotClock);
        QCOMPARE(int(Config().LEDSelectedWidth), shownWidth);
        QCOMPARE(int(Config().LEDType), shownType);
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
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        Config().BuzzerFile = QString();
        Config().ShotClockFile = path;
        auto d = f.open();
        QCOMPARE(d->lblBFile->text(), QStringLiteral("[No File Selected]"));
        QCOMPARE(d->lblShotClockFile->text(), whole ? path : path.left(10) + QStringLiteral(" ...\\horn.wav"));
        d->cmdOk->click();
        QCOMPARE(storedText("KeySettings/ShotClockFile"), path);
    }

    // The key binding editor through the widgets.

    void aClickedLabelWaitsAndTheNextFreeKeyBindsIt()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyResetClock);
        QCOMPARE(d->ActiveKeyLabel(), d->lblKeyResetClock);
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("<Press any key>"));
        QCOMPARE(d->lblKeyResetClock->palette().color(QPalette::Window), QColor(255, 255, 128));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d->txtGetKey));

        QTest::keyClick(d->txtGetKey, Qt::Key_S); // start/stop has it
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("Choose another"));
        QCOMPARE(d->lblKeyResetClock->backColor(), Waiting);
        QTest::keyClick(d->txtGetKey, Qt::Key_Return);
        QVERIFY(d->isVisible()); // Enter does not press a button
        QTest::keyClick(d->txtGetKey, Qt::Key_QuoteDbl, Qt::ShiftModifier); // Shift never matters
        QVERIFY(!d->ActiveKeyLabel());
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("\""));
        QCOMPARE(d->lblKeyResetClock->backColor(), Idle);
        QCOMPARE(Config().ResetClockKey, qint16('R')); // only OK stores it
        QTest::keyClick(d->txtGetKey, Qt::Key_H); // nothing waits: nothing happens
        QCOMPARE(d->lblKeyResetClock->text(), QStringLiteral("\""));
        d->cmdOk->click();
        QCOMPARE(storedText("KeySettings/ResetClockKey"), QStringLiteral("222"));
    }

    void clickingAnotherLabelMovesTheWaitEvenAcrossTabs()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyStartStopClock);
        QTest::mouseClick(d->SSTab1->tabBar(), Qt::LeftButton, {}, d->SSTab1->tabBar()->tabRect(1).center());
        QCOMPARE(d->ActiveKeyLabel(), d->lblKeyStartStopClock); // changing tabs keeps the wait
        clickLabel(d->lblKeyPeriod1);
        QCOMPARE(d->ActiveKeyLabel(), d->lblKeyPeriod1);
        QCOMPARE(d->lblKeyStartStopClock->text(), QStringLiteral("S"));
        QCOMPARE(d->lblKeyStartStopClock->backColor(), Idle);
        // The capture box takes keys while another tab shows.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
        QCOMPARE(d->lblKeyPeriod1->text(), QStringLiteral("F12"));
        d->cmdOk->click();
        QCOMPARE(Config().QPeriod1, qint16(123));
    }

    void theWaitEndsWithItsOldBinding_data()
    {
        QTest::addColumn<QString>("taker");
        QTest::newRow("a click on the waiting label again") << "label";
        QTest::newRow("Tab") << "tab";
        QTest::newRow("a text box") << "txtHomeText";
        QTest::newRow("a list") << "cmbLedType";
        QTest::newRow("Reset Keys") << "cmdResetKeys";
    }

    // The focus moving to another control, or the label clicked again.
    void theWaitEndsWithItsOldBinding()
    {
        QFETCH(QString, taker);
        Config().QScoreH2 = 'O';
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyHS2);
        QTest::keyClick(d->txtGetKey, Qt::Key_1);
        QCOMPARE(d->lblKeyHS2->text(), QStringLiteral("Choose another"));
        if (taker == "label") {
            clickLabel(d->lblKeyHS2);
        } else if (taker == "tab") {
            QTest::keyClick(d->txtGetKey, Qt::Key_Tab);
        } else if (taker == "cmdResetKeys") {
            QTest::mouseClick(d->cmdResetKeys, Qt::LeftButton); // the seam answers Yes
        } else {
            QWidget* w = d->findChild<QWidget*>(taker);
            d->SSTab1->setCurrentIndex(taker == "txtHomeText" ? 3 : 4);
            w->setFocus(Qt::MouseFocusReason);
        }
        QVERIFY(!d->ActiveKeyLabel());
        QCOMPARE(d->lblKeyHS2->text(), taker == "cmdResetKeys" ? QStringLiteral("Home") : QStringLiteral("O"));
        QCOMPARE(d->lblKeyHS2->backColor(), Idle);
    }

    void escapeWhileWaitingCancelsTheDialog()
    {
        auto d = f.open();
        showAndActivate(d.get());
        clickLabel(d->lblKeyStartStopClock);
        QTest::keyClick(d->txtGetKey, Qt::Key_G);
        clickLabel(d->lblKeyResetClock);
        QTest::keyClick(d->txtGetKey, Qt::Key_Escape);
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(Config().StartStopClockKey, qint16('S'));
        QCOMPARE(storeContents().size(), 0);
    }

private:
    // Every control of every tab moved away from what was loaded.
    void changeEverything(frmOptions* d)
    {
        d->ChooseKey(d->lblKeyStartStopClock);
        d->KeyChosen('Q');
        d->ChooseKey(d->lblKeyPeriod1);
        d->KeyChosen(220);
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
        QVERIFY(QFile(f.programFolder.filePath("new.wav")).open(QIODevice::WriteOnly));
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
