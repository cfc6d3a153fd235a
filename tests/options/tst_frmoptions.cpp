// The options dialog's rules without a window first: key names, every
// transition of the wait for a key, the caption of a sound file. Then the dialog
// against a private store and a fake NumLock, its pickers and questions answered
// through the chooser seam or, for the platform's own dialogs, on screen: which
// controls are enabled, OK storing exactly what the controls show while no other
// way out writes, the key binding editor driven with real clicks and keys, the
// choosers and the resets.
//
// Several tables give each row as "name:fields", the fields split at '|'.

#include "clockdisplay.h"
#include "colour.h"
#include "configkeys.h"
#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "frmoptions.h"
#include "frmscoreboard.h"
#include "game.h"
#include "keybindings.h"
#include "namedchild.h"
#include "numlock.h"
#include "optionslogic.h"
#include "optionswidgets.h"
#include "qcolour.h"
#include "timesource.h"

#include <QtTest>
#include <QtWidgets>

namespace {

class CountingNumLock final : public NumLock
{
public:
    bool on = true; int sets = 0;
    bool available() const override { return true; }
    bool isOn() const override { return on; }
    void setOn(bool state) override { on = state, ++sets; }
};

// The store as "Section/Key=text" lines, in the order of the keys.
QStringList storeLines()
{
    auto settings = tallivoxSettings();
    QStringList lines = settings->allKeys();
    for (QString& key : lines)
        key += u'=' + settings->value(key).toString();
    return lines;
}

// A record unlike a first start in every stored field.
ConfigRecord unusualRecord(const QString& folder)
{
    ConfigRecord r = defaultConfig(folder);
    r.TimeColor = 0x102030; r.LEDBack = 0x010203; r.ScoreColor = 0x00ff00; r.PeriodColor = 0x0000ff; r.FormBack = 0x202020;
    r.LEDSelected = 0x808080; r.BorderColor = 0x00ffff; r.HomeColor = 0xff00ff; r.VisitorColor = 0xffff00; r.GreenBackColor = 0x00ff01;
    r.LEDSelectedWidth = 3; r.StartStopClockKey = 'G'; r.ResetClockKey = 'H'; r.ResetShotClockKey = 'J'; r.ClockSwitchKey = 'K';
    r.ClearKey = 48; r.BuzzerKey = 'M'; r.QScoreH1 = 'N'; r.QScoreH2 = 'O'; r.QScoreH3 = 122; r.QScoreV1 = 123; r.QScoreV2 = 186;
    r.QScoreV3 = 222; r.QPeriod1 = 17; r.NumLockForce = 2; // 48: a key without a name
    r.BuzzerFile = folder + "/b.wav"; r.ShotClockFile = folder + "/h.wav"; r.BoardPic = folder + "/logo.png";
    r.PeriodText = "Quarter"; r.HomeText = "Lakers"; r.VisitorText = "Celtics"; r.LEDType = 1; r.UseShotClock = true;
    r.ShowShotClockScreen = true; r.ShotClockResetTime = 24; r.ScoreboardView = 1; r.StartX = 1500; r.StartY = 900; r.Height = 2000;
    r.FeedEnabled = true; r.FeedPort = 50000; r.FeedAddress = "10.0.0.5"; // an address set by hand
    r.QHomeFoul = 'U'; r.QVisitorFoul = 'V'; r.QHomeTimeout = 'W'; r.QVisitorTimeout = 'X'; r.QPossession = 191; r.ResetShotClockShortKey = 219;
    r.RuleSet = "NCAAW"; r.PeriodLength = 11; r.Periods = 3; r.OvertimeLength = 2; r.ShotClockShortTime = 13; r.ShotClockTenths = true;
    r.ShotClockSwitchOff = true; r.BonusFouls = 6; r.DoubleBonusFouls = 9; r.FoulsPerHalf = true; r.TimeoutsFirstHalf = 4;
    r.TimeoutsSecondHalf = 1; r.TimeoutsOvertime = 2; r.TimeoutsCarryOver = true; r.ShowTeamFouls = true;
    return r;
}

// Runs `answer` on the next modal dialog of type T once it is up.
template <typename T>
void answerNextModal(std::function<void(T*)> answer)
{
    QTimer::singleShot(10, [answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()); dialog && dialog->isVisible())
            answer(dialog);
        else
            answerNextModal<T>(answer);
    });
}

// Every value a chooser or a reset may change, as "name=value", less those in `before`.
QStringList shown(frmOptions* d, const QStringList& before = {})
{
    QStringList s;
    for (ColourBox* box : d->findChildren<ColourBox*>())
        s.append(box->objectName() + u'=' + QString::number(box->colour()));
    for (KeyLabel* label : d->findChildren<KeyLabel*>())
        s.append(label->objectName() + u'=' + label->text());
    for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
        if (b->isCheckable())
            s.append(b->objectName() + (b->isChecked() ? "=on" : "=off"));
    s << "width=" + the<QLabel>(d, "lblLEDSelectedWidthValue")->text() << "spinner=" + QString::number(the<Spinner>(d, "scrLEDSelectedWidth")->value())
      << QStringLiteral("placement reset=%1").arg(int(Config().ResetSizeAndPosition));
    s.removeIf([&](const QString& line) { return before.contains(line); });
    return s;
}

} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    CountingNumLock numLock;
    QColor colourAnswer; // invalid: the picker is cancelled and hands the initial colour back
    QString fileAnswer;  // empty: cancelled
    QStringList offered; // the initial colours and the file filters the pickers were given

    // `platform`: the platform's own pickers and questions, to be answered on screen.
    std::unique_ptr<frmOptions> open(bool platform = false, bool show = false)
    {
        OptionsChoosers seam;
        seam.chooseColour = [this](QWidget*, const QColor& initial) {
            return offered.append(initial.name()), colourAnswer.isValid() ? colourAnswer : initial;
        };
        seam.chooseFile = [this](QWidget*, const QString& filter, const QString&) { return offered.append(filter), fileAnswer; };
        seam.confirm = [](QWidget*, const QString&, const QString&) { return true; };
        auto d = std::make_unique<frmOptions>(nullptr, platform ? platformChoosers() : seam, &numLock);
        if (show)
            d->show(), d->activateWindow();
        return d;
    }

private Q_SLOTS:
    // Named keys can be bound; every other code has no name.
    void everyKeyName()
    {
        QMap<int, QString> named;
        for (const QString& key : QString("8=Backspace|17=Ctrl|19=Pause/Break|33=Page Up|34=Page Down|35=End|36=Home|45=Insert|46=Delete|"
                                          "106=Numpad *|111=Numpad /|114=F3|115=F4|116=F5|117=F6|118=F7|119=F8|120=F9|122=F11|123=F12|"
                                          "186=;|188=,|191=/|192=`|219=[|220=\\|221=]|222=\"").split(u'|'))
            named[key.section(u'=', 0, 0).toInt()] = key.section(u'=', 1);
        for (char c = 'A'; c <= 'Z'; ++c)
            named[c] = QString(QChar(c));
        for (int code = -32768; code <= 32767; ++code)
            QCOMPARE(KeyCodeToStr(code), named.value(code));
    }

    // From a first start's bindings. Steps: "cN" clicks label N, "kN" offers key
    // code N, "x" ends the wait as a focus loss does, "sN=C" binds label N to code
    // C. Then the label waiting (-1: none), and a label's caption and code.
    void waitingForAKey_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a click starts the wait") << "c0" << "0|0|<Press any key>|83";
        QTest::newRow("a free named key binds") << "c0 k71" << "-1|0|G|71";
        QTest::newRow("the label's own key is accepted") << "c0 k83" << "-1|0|S|83";
        QTest::newRow("another binding's key is refused") << "c0 k82" << "0|0|Choose another|83";
        QTest::newRow("so is one from the other tab") << "c0 k45" << "0|0|Choose another|83";
        QTest::newRow("then a free key binds") << "c0 k82 k81" << "-1|0|Q|81";
        for (int unnamed : {48, 32, 13, 16, 18, 37, 112, 113, 121, 0, 107})
            QTest::newRow(qPrintable(QStringLiteral("unnamed %1 is refused").arg(unnamed)))
                << QStringLiteral("c4 k%1").arg(unnamed) << "4|4|Choose another|8";
        QTest::newRow("Shift then Ctrl binds Ctrl") << "c12 k16 k17" << "-1|12|Ctrl|17";
        QTest::newRow("a focus loss shows the old binding") << "c6 k82 x" << "-1|6|Insert|45";
        QTest::newRow("a click on the waiting label again") << "c0 c0" << "-1|0|S|83";
        QTest::newRow("a click on another label: the first is idle") << "c0 k49 c12" << "12|0|S|83";
        QTest::newRow("a click on another label: that one waits") << "c0 k49 c12" << "12|12|<Press any key>|80";
        QTest::newRow("a key with nothing waiting") << "k71 x" << "-1|0|S|83";
        QTest::newRow("a swap needs a free key between") << "c0 k88 c1 k83 c0 k82" << "-1|0|R|82";
        QTest::newRow("a label sharing an earlier one's key cannot take it") << "s12=45 c12 k45" << "12|12|Choose another|45";
    }

    void waitingForAKey()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        KeyBindings keys;
        keys.loadFrom(defaultConfig(QString()));
        keys.SetKeyTextFromTags();
        for (const QString& step : steps.split(u' ')) {
            if (step == u'x')
                keys.KeyChosen(KeyBindings::CancelWait);
            else if (step.startsWith(u's'))
                keys.setCode(step.mid(1).section(u'=', 0, 0).toInt(), qint16(step.section(u'=', 1).toInt()));
            else if (step.startsWith(u'c'))
                keys.ChooseKey(step.mid(1).toInt());
            else
                keys.KeyChosen(step.mid(1).toInt());
        }
        const int label = expected.section(u'|', 1, 1).toInt();
        QCOMPARE(QStringLiteral("%1|%2|%3|%4").arg(keys.active()).arg(label).arg(keys.caption(label)).arg(keys.code(label)), expected);
    }

    // "[No File Selected]", a path up to 50 characters whole, a longer one cut
    // after ten characters, with the file's name when the file exists.
    void soundFileCaptions()
    {
        QTemporaryDir dir;
        const QString x = dir.path() + u'/' + QString(40 - dir.path().size(), u'x');
        QVERIFY(QDir().mkpath(x) && QDir().mkpath(x + u'x') && QFile(x + "x/horn.wav").open(QIODevice::WriteOnly));
        QCOMPARE(FileCaption(QString()), QString("[No File Selected]"));
        QCOMPARE(FileCaption(x + "/horn.wav"), x + "/horn.wav"); // 50 characters
        QCOMPARE(FileCaption(x + "x/horn.wav"), x.left(10) + " ...\\horn.wav");
        QCOMPARE(FileCaption(x + "x/gone.wav"), x.left(10) + " ...\\");
    }

    // An empty store and a record as on a first start.
    void init()
    {
        tallivoxSettings()->clear();
        Config() = defaultConfig(folder.path());
        numLock = CountingNumLock(), colourAnswer = QColor(), fileAnswer.clear(), offered.clear();
    }

    void exactlyTheseControlsAreDisabled_data()
    {
        // Stored and after OK: UseShotClock, ShowShotClockScreen, ScoreboardView,
        // NumLockForce (stored also: "off" when NumLock starts off). Then the controls
        // clicked, exactly those disabled, and how often OK set NumLock and to what.
        QTest::addColumn<QString>("row");
        const QString window = "chkShowShotClockScreen", keying = "cmdGreenScreen", both = keying + u' ' + window;
        for (const QString& r : {"no shot clock, floating:0 0 0 0||" + both + "|0 0 0 0|0 on",
                                "a ticked window without the shot clock stays ticked:0 1 1 0||" + window + "|0 1 1 0|0 on",
                                "unticking the shot clock clears the window:1 1 1 0|chkUseShotClock|" + window + "|0 0 1 0|0 on",
                                QString("ticking it again leaves the window clear:1 1 1 0|chkUseShotClock chkUseShotClock||1 0 1 0|0 on"),
                                "ticking the shot clock frees the window:0 0 0 0|chkUseShotClock " + window + u'|' + keying + "|1 1 0 0|0 on",
                                "floating greys out the keying colour:1 0 1 0|otnFloating|" + keying + "|1 0 0 0|0 on",
                                QString("keying enables it:1 0 0 0|otnGreenBack||1 0 1 0|0 on"),
                                QString("another stored view selects neither:1 0 7 0|||1 0 1 0|0 on"),
                                QString("Reset Keys clears the window:1 1 1 2|cmdResetKeys||1 0 1 0|0 on"),
                                QString("Normal Mode leaves NumLock alone:1 0 1 2|optNormal||1 0 1 0|0 on"),
                                QString("Keep Numlock On sets it:1 0 1 0 off|optKeepOn||1 0 1 1|1 on"),
                                QString("Keep Numlock Off clears it:1 0 1 0|optKeepOff||1 0 1 2|1 off"),
                                QString("another NumLock policy selects none and stays:1 0 1 3|||1 0 1 3|0 on")})
            QTest::newRow(qPrintable(r.section(u':', 0, 0))) << r.section(u':', 1);
    }

    void exactlyTheseControlsAreDisabled()
    {
        QFETCH(QString, row);
        const QStringList r = row.split(u'|'), s = r[0].split(u' ');
        Config().UseShotClock = s[0] == u'1'; Config().ShowShotClockScreen = s[1] == u'1';
        Config().ScoreboardView = s[2].toShort(); Config().NumLockForce = s[3].toInt(); numLock.on = s.value(4) != "off";
        auto d = open();
        for (const QString& name : r[1].split(u' ', Qt::SkipEmptyParts))
            if (auto* button = d->findChild<QAbstractButton*>(name))
                button->click();
            else
                d->chooseKey(d->findChild<KeyLabel*>(name));
        QStringList off;
        for (QWidget* w : d->findChildren<QWidget*>())
            if (!w->isEnabled() && !qobject_cast<QTabBar*>(w->parentWidget())) // the tab bar's own arrows aside
                off.append(w->objectName());
        QCOMPARE(off.join(u' '), r[2]);
        QCOMPARE(the<QRadioButton>(d, "otnFloating")->isChecked() || the<QRadioButton>(d, "otnGreenBack")->isChecked(),
                 !r[0].contains(" 7 ")); // view 7: neither
        QCOMPARE(numLock.sets, 0); // only OK applies the NumLock choice
        the<QPushButton>(d, "cmdOk")->click();
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(int(Config().UseShotClock)).arg(int(Config().ShowShotClockScreen))
                     .arg(Config().ScoreboardView).arg(Config().NumLockForce), r[3]);
        QCOMPARE(QStringLiteral("%1 %2").arg(numLock.sets).arg(numLock.on ? "on" : "off"), r[4]);
    }

    // The way out; then whether the record starts unusual and everything is edited.
    void closing_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* r : {"OK at a first start:ok", "OK with every field unusual:ok unusual",
                              "OK after editing everything:ok unusual edit", "Cancel:cancel unusual edit",
                              "Escape:escape unusual edit", "close box:close unusual edit"})
            QTest::newRow(QByteArray(r).split(':')[0]) << QString(r).section(u':', 1);
    }

    // OK writes all 60 keys with what the controls show; no other way out writes.
    // Reset Size and Position reaches the record's placement only with OK, and the
    // store only when the score box closes; a request left from before is dropped.
    void closing()
    {
        QFETCH(QString, how);
        const bool unusual = how.contains("unusual"), edit = how.contains("edit"), ok = how.startsWith("ok");
        if (unusual)
            Config() = unusualRecord(folder.path());
        const ConfigRecord before = Config();
        Config().ResetSizeAndPosition = true;
        auto d = open(false, true);
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        QCOMPARE(the<QLabel>(d, "lblBFile")->text() + u'|' + the<QLabel>(d, "lblShotClockFile")->text(), before.BuzzerFile + u'|' + before.ShotClockFile);
        if (edit)
            changeEverything(d.get());
        ConfigRecord expected = before;
        expected.ResetSizeAndPosition = edit; // loading drops an old request; the score box reads a new one after any closing
        QCOMPARE(Config(), expected); // nothing else reaches the record while editing
        if (ok || how.startsWith("cancel"))
            the<QPushButton>(d, ok ? "cmdOk" : "cmdCancel")->click();
        else if (how.startsWith("escape"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            d->close();
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        const bool switchedOff = ok && unusual && !edit; // NumLock is on; the unusual record keeps it off
        QCOMPARE(std::pair(numLock.sets, numLock.on), std::pair(int(switchedOff), !switchedOff));
        if (ok && edit) {
            expected.StartStopClockKey = 'Q'; expected.QPeriod1 = 220; expected.TimeColor = 0x123456; expected.GreenBackColor = 0x123456;
            expected.LEDSelectedWidth = 4; expected.ShotClockResetTime = 25; expected.UseShotClock = false; expected.NumLockForce = 1;
            expected.ShowShotClockScreen = false; expected.HomeText = ""; expected.VisitorText = "Bulls"; expected.BoardPic = "";
            expected.LEDType = 0; expected.ShotClockFile = folder.filePath("new.wav"); expected.ScoreboardView = 0;
            expected.Height = 1170; expected.StartX = 0; expected.StartY = 0;
            expected.FeedEnabled = false; expected.FeedPort = 50001; expected.FeedAddress = "127.0.0.1";
            expected.QPossession = 'Z'; expected.PeriodLength = 12; expected.ShowTeamFouls = false;
        }
        QCOMPARE(Config(), expected);
        QCOMPARE(storeLines().size(), ok ? 62 : 0);
        if (!ok)
            return;
        // The store reads back as the same record; the placement is not among the 60.
        const auto stored = [](ConfigRecord r) { r.StartX = r.StartY = r.Height = 0, r.RoundCorners = r.ResetSizeAndPosition = false; return r; };
        ConfigRecord reread = defaultConfig(folder.path());
        LoadConfig(reread, *tallivoxSettings(), folder.path());
        QCOMPARE(stored(reread), stored(expected));
    }

    // The overlay's address as the operator copies it, following the port and the
    // choice of network; why the feed does not serve, as the owner says it.
    void theFeedTabShowsTheOverlayAddressAndTheProblem()
    {
        auto d = open();
        QCOMPARE(the<QTabWidget>(d, "SSTab1")->tabText(6), QStringLiteral("Video Feed"));
        QCOMPARE(the<QLabel>(d, "lblFeedAddress")->text(), QStringLiteral("<a href=\"http://127.0.0.1:47800/overlay\">http://127.0.0.1:47800/overlay</a>"));
        the<QSpinBox>(d, "spnFeedPort")->setValue(1024);
        QVERIFY(the<QLabel>(d, "lblFeedAddress")->text().endsWith(QStringLiteral(">http://127.0.0.1:1024/overlay</a>")));
        d->setFeedProblem(QStringLiteral("port in use"));
        QCOMPARE(the<QLabel>(d, "lblFeedProblem")->text(), QStringLiteral("port in use"));
        const QStringList own{"127.0.0.1", "fe80::1", "192.168.1.20", "10.0.0.2"};
        QCOMPARE(feedOverlayUrl("0.0.0.0", 47800, own), QStringLiteral("http://192.168.1.20:47800/overlay"));
        QCOMPARE(feedOverlayUrl("0.0.0.0", 47800, {"127.0.0.1"}), QStringLiteral("http://127.0.0.1:47800/overlay"));
        QCOMPARE(feedOverlayUrl("10.0.0.5", 2000, own), QStringLiteral("http://10.0.0.5:2000/overlay"));
        QCOMPARE(feedControlUrl("0.0.0.0", 47800, own, "T"), QStringLiteral("http://192.168.1.20:47800/control#token=T"));
    }

    // Remote control takes the feed with it; its first switch-on makes a token, and
    // "New token" puts a new one in force at once, saved, whatever the dialog's end.
    void theFeedTabMakesTheTokenAndShowsTheScorerPage()
    {
        auto d = open();
        auto* control = the<QCheckBox>(d, "chkControlEnabled");
        the<QRadioButton>(d, "optFeedNetwork")->setChecked(true);
        QVERIFY(the<QLabel>(d, "lblControlNetwork")->isHidden());
        control->setChecked(true);
        QVERIFY(the<QCheckBox>(d, "chkFeedEnabled")->isChecked());
        const QString first = the<QLineEdit>(d, "txtControlToken")->text();
        QCOMPARE(first.size(), 32);
        QVERIFY(configkeys::isControlToken(first));
        QVERIFY(!the<QLabel>(d, "lblControlNetwork")->isHidden());
        QVERIFY(the<QLabel>(d, "lblControlAddress")->text().contains(QStringLiteral(":47800/control#token=") + first + "\">"));
        QVERIFY(!the<QLabel>(d, "imgControlCode")->pixmap().isNull());
        QSignalSpy changed(d.get(), &frmOptions::controlTokenChanged);
        the<QPushButton>(d, "cmdNewToken")->click();
        const QString second = the<QLineEdit>(d, "txtControlToken")->text();
        QCOMPARE(changed.size(), 1);
        QVERIFY(second != first && second.size() == 32);
        QVERIFY(storeLines().contains("FeedSettings/ControlToken=" + second));
        the<QCheckBox>(d, "chkFeedEnabled")->setChecked(false);
        QVERIFY(!control->isChecked());
    }

    // Shot clock seconds, selection width, display type, period length: stored,
    // then shown and stored again by OK.
    void storedValuesTheControlsCannotTakeAreClamped()
    {
        for (const auto& [stored, shown] : {std::pair(QList<int>{32767, 9, 7, 500}, QList<int>{99, 5, 1, 99}),
                                            std::pair(QList<int>{-4, -32768, -1, -3}, QList<int>{0, 0, 0, 1})}) {
            Config().ShotClockResetTime = qint16(stored[0]); Config().LEDSelectedWidth = qint16(stored[1]); Config().LEDType = qint16(stored[2]);
            Config().PeriodLength = qint16(stored[3]);
            auto d = open();
            QCOMPARE((QList<int>{the<QLabel>(d, "lblShotClock")->text().toInt(), the<QLabel>(d, "lblLEDSelectedWidthValue")->text().toInt(),
                                 the<QComboBox>(d, "cmbLedType")->currentIndex(), the<QSpinBox>(d, "spnPeriodLength")->value()}), shown);
            the<QPushButton>(d, "cmdOk")->click();
            QCOMPARE((QList<int>{Config().ShotClockResetTime, Config().LEDSelectedWidth, Config().LEDType, Config().PeriodLength}), shown);
        }
    }

    void theGameTab_data()
    {
        // From a first start. Steps: "rule=NAME" chooses a rule set, "set=BOX=N",
        // "type=BOX=TEXT" over the box's text, "click=NAME", "up=SPINNER". Then what OK
        // stores: the 15 [GameSettings] keys in their saving order, UseShotClock and
        // ShotClockResetTime.
        QTest::addColumn<QString>("row");
        const QString nba = "NBA 12 4 5 14 True True 5 0 False 7 0 2 False False True ";
        for (const QString& r : {"NBA fills every field and switches the shot clock on:rule=NBA|" + nba + "24",
                                QString("NCAA men plays halves with a double bonus and timeouts carried over:rule=NCAAM|"
                                        "NCAAM 20 2 5 20 True True 7 10 True 4 0 1 True False True 30"),
                                QString("Custom leaves the fields as they stand:rule=NBA set=spnPeriodLength=11 rule=Custom|"
                                        "Custom 11 4 5 14 True True 5 0 False 7 0 2 False False True 24"),
                                QString("an edit after a named set keeps the name:rule=NBA set=spnTimeoutsFirstHalf=6 click=chkShowTeamFouls|"
                                        "NBA 12 4 5 14 True True 5 0 False 6 0 2 False True True 24"),
                                "the full reset here moves the Keys tab's:rule=NBA set=spnShotClockReset=30|" + nba + "30",
                                QString("and the Keys tab's moves this one:up=vsShotClock|Custom 10 4 5 14 False False 5 0 False 2 3 1 False False False 36"),
                                QString("typed figures past the range are refused:type=spnPeriodLength=150 type=spnPeriods=0 type=spnBonusFouls=x|"
                                        "Custom 15 4 5 14 False False 5 0 False 2 3 1 False False False 35")})
            QTest::newRow(qPrintable(r.section(u':', 0, 0))) << r.section(u':', 1);
    }

    void theGameTab()
    {
        QFETCH(QString, row);
        const QStringList r = row.split(u'|');
        auto d = open();
        auto* rules = the<QComboBox>(d, "cmbRuleSet");
        QStringList titles;
        for (int i = 0; i < rules->count(); ++i)
            titles << rules->itemText(i);
        QCOMPARE(titles.join(u','), QString("Custom,FIBA,NBA,NCAA men,NCAA women,High school (NFHS)"));
        for (const QString& step : r[0].split(u' ')) {
            const QString what = step.section(u'=', 0, 0), arg = step.section(u'=', 2);
            const QByteArray name = step.section(u'=', 1, 1).toLatin1();
            if (what == "rule")
                rules->setCurrentIndex(rules->findData(QString(name))), Q_EMIT rules->activated(rules->currentIndex());
            else if (what == "set")
                the<QSpinBox>(d, name.data())->setValue(arg.toInt());
            else if (what == "type")
                the<QSpinBox>(d, name.data())->selectAll(), QTest::keyClicks(the<QSpinBox>(d, name.data()), arg);
            else if (what == "up")
                the<Spinner>(d, name.data())->upButton()->click();
            else
                the<QAbstractButton>(d, name.data())->click();
        }
        QCOMPARE(the<QSpinBox>(d, "spnShotClockReset")->value(), r[1].section(u' ', -1).toInt());
        the<QPushButton>(d, "cmdOk")->click();
        const QStringList lines = storeLines();
        QStringList stored;
        for (const char* key : {"RuleSet", "PeriodLength", "Periods", "OvertimeLength", "ShotClockShortTime", "ShotClockTenths",
                                   "ShotClockSwitchOff", "BonusFouls", "DoubleBonusFouls", "FoulsPerHalf", "TimeoutsFirstHalf",
                                   "TimeoutsSecondHalf", "TimeoutsOvertime", "TimeoutsCarryOver", "ShowTeamFouls"})
            stored << lines.filter(QRegularExpression("^GameSettings/" + QString(key) + "=")).value(0).section(u'=', 1);
        for (const char* key : {"UseShotClock", "ShotClockResetTime"})
            stored << lines.filter(QRegularExpression("^AdditionalSettings/" + QString(key) + "=")).value(0).section(u'=', 1);
        QCOMPARE(stored.join(u' '), r[1]);
    }

    void theKeyEditorThroughTheWidgets_data()
    {
        // Steps: "click=NAME", "key=KEYS" on the focused control, "focus=NAME" (on
        // its tab), "tab=N", "type=TEXT". Then the label, its caption, "waiting" or
        // not, and the line OK stores, none when the steps cancelled the dialog.
        QTest::addColumn<QString>("row");
        const QString hs2 = "click=lblKeyHS2 key=1 ", kept = "|lblKeyHS2|O||QuickKeySettings/QScoreH2=79";
        for (const QString& r : {QString("a bound key is refused, OK keeps the old one:click=lblKeyResetClock key=S|lblKeyResetClock|"
                                        "Choose another|waiting|KeySettings/ResetClockKey=82"),
                                QString("Enter presses nothing, Shift never matters, then nothing waits:click=lblKeyResetClock "
                                        "key=S key=Return key=Shift+\" key=H|lblKeyResetClock|\"||KeySettings/ResetClockKey=222"),
                                QString("the wait survives a tab change and moves with a click:click=lblKeyStartStopClock tab=1 "
                                        "click=lblKeyPeriod1 key=F12|lblKeyPeriod1|F12||QuickKeySettings/QPeriod1=123"),
                                "Tab ends the wait:" + hs2 + "key=Tab" + kept,
                                QString("a foul key rebinds as the others:click=lblKeyHomeFoul key=U|lblKeyHomeFoul|U||QuickKeySettings/QHomeFoul=85"),
                                "so does a click on Reset Keys:" + hs2 + "click=cmdResetKeys|lblKeyHS2|Home||QuickKeySettings/QScoreH2=36",
                                QString("Escape while waiting cancels the dialog:click=lblKeyStartStopClock key=G click=lblKeyResetClock "
                                        "key=Esc||||"),
                                QString("Enter in a name box presses no button:focus=txtHomeText type=Lakers key=Return|||"
                                        "|TextSettings/HomeText=HomeLakers"), QString("but a focused one:focus=cmdCancel key=Return||||")})
            QTest::newRow(qPrintable(r.section(u':', 0, 0))) << r.section(u':', 1);
    }

    void theKeyEditorThroughTheWidgets()
    {
        QFETCH(QString, row);
        const QStringList r = row.split(u'|');
        Config().QScoreH2 = 'O';
        const ConfigRecord before = Config();
        auto d = open(false, true);
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        auto* tabs = the<QTabWidget>(d, "SSTab1");
        for (const QString& step : r[0].split(u' ')) {
            const QString what = step.section(u'=', 0, 0), arg = step.section(u'=', 1);
            QWidget* w = d->findChild<QWidget*>(arg);
            const QKeyCombination key = QKeySequence(arg)[0];
            if (what == "click")
                QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            else if (what == "tab")
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(arg.toInt()).center());
            else if (what == "type")
                QTest::keyClicks(QApplication::focusWidget(), arg);
            else if (what == "key")
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            else
                tabs->setCurrentIndex(3), w->setFocus(Qt::MouseFocusReason);
        }
        if (auto* l = r[1].isEmpty() ? nullptr : d->findChild<KeyLabel*>(r[1])) {
            QCOMPARE(l->text(), r[2]);
            QCOMPARE(l->backColor(), r[3].isEmpty() ? KeyLabel::IdleBack : KeyLabel::WaitingBack);
            QCOMPARE(d->activeKeyLabel(), r[3].isEmpty() ? nullptr : l);
        }
        QCOMPARE(storeLines(), QStringList()); // only OK stores
        QCOMPARE(d->isVisible(), !r[4].isEmpty());
        if (d->isVisible())
            the<QPushButton>(d, "cmdOk")->click();
        QVERIFY(r[4].isEmpty() ? Config() == before : storeLines().contains(r[4]));
    }

    // Each button offers its box's colour, and a choice changes that box alone.
    void eachColourButtonChangesItsOwnBox()
    {
        Config() = unusualRecord(folder.path());
        colourAnswer = QColor(0x56, 0x34, 0x12);
        auto d = open();
        for (const QString pair : {"TimeC", "ScoreC", "PeriodC", "LEDB", "BackC", "BorderC", "HomeC", "VisitorC", "LedSelected",
                                   "GreenScreen GreenBackC"}) {
            const QStringList before = shown(d.get());
            d->findChild<QPushButton*>("cmd" + pair.section(u' ', 0, 0))->click();
            QCOMPARE(shown(d.get(), before).join(u' '), "pic" + pair.section(u' ', -1) + "=1193046");
        }
        QCOMPARE(offered.join(u' '), QString("#302010 #00ff00 #ff0000 #030201 #202020 #ffff00 #ff00ff #00ffff #808080 #01ff00"));
    }

    void thePlatformColourDialogCancelledKeepsTheStoredColour()
    {
        auto d = open(true, true);
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        bool startedFromBox = false;
        answerNextModal<QColorDialog>([&](QColorDialog* dialog) {
            startedFromBox = dialog->currentColor() == toQColor(33023);
            dialog->setCurrentColor(QColor(200, 200, 200));
            dialog->reject();
        });
        the<QPushButton>(d, "cmdTimeC")->click();
        QVERIFY(startedFromBox);
        QCOMPARE(the<ColourBox>(d, "picTimeC")->colour(), 33023);
        the<QPushButton>(d, "cmdOk")->click();
        QCOMPARE(Config().TimeColor, 33023);
    }

    void everyResetAsksFirst_data()
    {
        // The button, the question's title and text, and what Yes changes.
        QTest::addColumn<QString>("row");
        const QString keys = "Reset Keys|Are you sure you want to reset Keys, Quick Keys, and Numlock option?|lblKeyHS1=Insert lblKeyHS2=Home "
                             "lblKeyHS3=Page Up lblKeyVS1=Delete lblKeyVS2=End lblKeyVS3=Page Down lblKeyHomeFoul=F lblKeyVisitorFoul=J "
                             "lblKeyHomeTimeout=D lblKeyVisitorTimeout=K lblKeyPeriod1=P lblKeyPossession=A lblKeyStartStopClock=S "
                             "lblKeyResetClock=R lblKeyResetShotClock=T lblKeyResetShotClockShort=Y lblKeyClockSwitch=C lblKeyClear=Backspace "
                             "lblKeyBuzzer=B "
                             "optNormal=on optKeepOff=off chkShowShotClockScreen=off";
        for (const QString& r : {QString("Reset Colors:cmdResetColors|Reset Colors|Are you sure you want to reset the colors?|"
                                        "picTimeC=33023 picScoreC=255 picPeriodC=49152 picLEDB=0 picBackC=4210752 picBorderC=16777215 "
                                        "picHomeC=16777215 picVisitorC=16777215 picLedSelected=4210752 width=0"),
                                "Reset Keys:cmdResetKeys|" + keys, "Reset Keys on Quick Keys:Command1|" + keys,
                                QString("Reset Size and Position:cmdResetPosition|Reset Size and Position|Are you sure you want to "
                                        "reset the size and position?  This will take effect once you click OK on the options.|"
                                        "placement reset=1")})
            QTest::newRow(qPrintable(r.section(u':', 0, 0))) << r.section(u':', 1);
    }

    // No changes nothing; Yes changes exactly the row's values, and only in the dialog.
    void everyResetAsksFirst()
    {
        QFETCH(QString, row);
        const QStringList r = row.split(u'|');
        Config() = unusualRecord(folder.path());
        auto d = open(true, true);
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        const QStringList before = shown(d.get());
        for (bool yes : {false, true}) {
            bool looksRight = false;
            answerNextModal<QMessageBox>([&](QMessageBox* box) {
                looksRight = box->windowTitle() == r[1] && box->text() == r[2] && box->icon() == QMessageBox::Question
                             && box->standardButtons() == (QMessageBox::Yes | QMessageBox::No)
                             && box->defaultButton() == box->button(QMessageBox::Yes);
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            d->findChild<QPushButton*>(r[0])->click();
            QVERIFY(looksRight);
            QCOMPARE(shown(d.get(), before).join(u' '), yes ? r[3] : QString());
            QCOMPARE(storeLines(), QStringList()); // the store waits for OK
        }
        the<QPushButton>(d, "cmdOk")->click();
        QCOMPARE(Config().LEDSelectedWidth, r[3].contains("width=0") ? 0 : 3); // the label's width, not the spinner's
    }

    // A picture that does not decode leaves the preview and the choice as they were.
    void onlyAPictureThatDecodesIsTaken()
    {
        QVERIFY(QImage(50, 50, QImage::Format_RGB32).save(folder.filePath("good.bmp")) && QImage(40, 10, QImage::Format_RGB32).save(folder.filePath("wide.bmp")));
        QFile broken(fileAnswer = folder.filePath("broken.jpg"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\xff\xd8\xff\xe0 this is not a picture") > 0);
        broken.close();
        Config().BoardPic = folder.filePath("good.bmp");
        auto d = open();
        auto* preview = the<Image>(d, "imgBoardPicPreview");
        const std::pair picture(preview->picture().cacheKey(), preview->geometry());
        the<QPushButton>(d, "cmdChangeBoardPic")->click();
        QCOMPARE(std::pair(preview->picture().cacheKey(), preview->geometry()), picture);
        fileAnswer = folder.filePath("wide.bmp");
        the<QPushButton>(d, "cmdChangeBoardPic")->click();
        fileAnswer = broken.fileName(), the<QPushButton>(d, "cmdChangeBoardPic")->click(); // OK keeps the choice before it
        QCOMPARE(offered, QStringList(3, optionstext::PictureFilter));
        the<QPushButton>(d, "cmdOk")->click();
        QCOMPARE(Config().BoardPic, folder.filePath("wide.bmp"));
    }

    // The platform's open-file dialog lists every kind of picture the preview loads,
    // and an SVG is drawn (its image plugin is installed).
    void thePictureChooserListsPngAndSvgAndAnSvgLoads()
    {
        QDir dir(folder.filePath("pictures"));
        QVERIFY(dir.mkpath("."));
        QImage clear(40, 20, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        for (const char* name : {"a.bmp", "b.jpg", "c.png"})
            QVERIFY(clear.save(dir.filePath(name)));
        for (const char* name : {"d.svg", "e.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<svg xmlns='http://www.w3.org/2000/svg' width='64' height='32'><rect width='64' height='32'/></svg>");
        }
        Config().BoardPic = dir.filePath("a.bmp");
        auto d = open(true, true);
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        QStringList listed;
        answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
            const auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            // The folder is read on a thread of the dialog's own.
            const auto rows = [&] { return view->model()->rowCount(view->rootIndex()); };
            listed.append(QTest::qWaitFor([&] { return rows() >= 4; }) ? "" : "(read no more)");
            for (int row = 0; row < rows(); ++row)
                listed.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
            dialog->reject();
        });
        the<QPushButton>(d, "cmdChangeBoardPic")->click();
        listed.sort();
        QCOMPARE(listed, QStringList({"", "a.bmp", "b.jpg", "c.png", "d.svg"}));

        auto seam = open();
        fileAnswer = dir.filePath("d.svg");
        the<QPushButton>(seam, "cmdChangeBoardPic")->click();
        QCOMPARE(the<Image>(seam, "imgBoardPicPreview")->picture().size(), QSize(64, 32));
        the<QPushButton>(seam, "cmdOk")->click();
        QCOMPARE(Config().BoardPic, fileAnswer);
    }

    // From a score box: it keeps counting while the dialog is up, then shows the new
    // name, drops a picture cleared there and plays by the rule set chosen there.
    void aScoreBoxRunsOnAndReappliesWhatOkLeft()
    {
        QVERIFY(QImage(60, 60, QImage::Format_RGB32).save(Config().BoardPic = folder.filePath("logo.bmp")));
        ManualTimeSource time;
        Game game(time);
        frmScoreboard box(game);
        connect(&box, &frmScoreboard::optionsRequested, this, [this] { open()->exec(); });
        box.setNumLock(numLock);
        box.load();
        box.show();
        box.pressKey('S');
        bool refreshed = false;
        answerNextModal<frmOptions>([&](frmOptions* d) {
            time.advanceMs(2000);
            refreshed = QTest::qWaitFor([&] { return box.findChild<ClockDisplay*>("cdGame")->shownText() == "9:58"; });
            auto* rules = the<QComboBox>(d, "cmbRuleSet");
            rules->setCurrentIndex(2), Q_EMIT rules->activated(2); // NBA
            the<QLineEdit>(d, "txtHomeText")->setText("Lakers"), the<QPushButton>(d, "cmdClearBoardPic")->click(), the<QPushButton>(d, "cmdOk")->click();
        });
        box.pressKey(113); // F2
        QVERIFY(refreshed && box.findChild<Image*>("imgLogo")->picture().isNull());
        QCOMPARE(box.findChild<Label*>("lblHomeName")->text(), QString("Lakers"));
        QCOMPARE(std::tuple(game.rules().ruleSet, game.rules().shotClockResetSeconds, game.state().homeTimeouts), std::tuple(QString("NBA"), 24, 7));
    }

private:
    // Every control of every tab moved away from what was loaded; a sound file
    // that is gone is not taken.
    void changeEverything(frmOptions* d)
    {
        d->chooseKey(the<KeyLabel>(d, "lblKeyStartStopClock")), d->keyChosen('Q');
        d->chooseKey(the<KeyLabel>(d, "lblKeyPeriod1")), d->keyChosen(220);
        colourAnswer = QColor(0x56, 0x34, 0x12);
        the<QPushButton>(d, "cmdTimeC")->click(), the<QPushButton>(d, "cmdGreenScreen")->click();
        the<Spinner>(d, "vsShotClock")->upButton()->click(), the<Spinner>(d, "scrLEDSelectedWidth")->upButton()->click();
        the<QCheckBox>(d, "chkUseShotClock")->click(), the<QRadioButton>(d, "optKeepOn")->click();
        the<QLineEdit>(d, "txtHomeText")->clear(), the<QLineEdit>(d, "txtVisitorText")->setText("Bulls");
        fileAnswer = folder.filePath("gone.wav");
        the<QPushButton>(d, "cmdBuzzerSound")->click();
        QVERIFY(QFile(folder.filePath("new.wav")).open(QIODevice::WriteOnly));
        fileAnswer = folder.filePath("new.wav");
        the<QPushButton>(d, "cmdShotClockSound")->click();
        the<QPushButton>(d, "cmdClearBoardPic")->click(), the<QComboBox>(d, "cmbLedType")->setCurrentIndex(0), the<QRadioButton>(d, "otnFloating")->click();
        the<QPushButton>(d, "cmdResetPosition")->click();
        the<QCheckBox>(d, "chkFeedEnabled")->click(), the<QSpinBox>(d, "spnFeedPort")->stepUp(), the<QRadioButton>(d, "optFeedThisComputer")->click();
        d->chooseKey(the<KeyLabel>(d, "lblKeyPossession")), d->keyChosen('Z');
        the<QSpinBox>(d, "spnPeriodLength")->stepUp(), the<QCheckBox>(d, "chkShowTeamFouls")->click();
        QCOMPARE(the<QLabel>(d, "lblBFile")->text() + u'|' + the<QLabel>(d, "lblShotClockFile")->text(), Config().BuzzerFile + u'|' + fileAnswer);
        QCOMPARE(offered, (QStringList{"#302010", "#01ff00", "Sounds *.wav (*.wav)", "Sounds *.wav (*.wav)"}));
    }
};

QTEST_MAIN(TestFrmOptions)
#include "tst_frmoptions.moc"
