// The splash: its elements where they were designed, the build's version, the
// settings read at its load, a click anywhere but the buttons handing over to
// the score box, and Help and Options reaching their windows without handing over.

#include "configrecord.h"
#include "controls.h"
#include "frmsplash.h"
#include "programwindows.h"
#include "splashload.h"
#include "splashlogo.h"
#include "timesource.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

namespace {

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

void clearStore()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
    s.clear();
    s.sync();
}

void storeSetting(const QString& key, const QString& text)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
    s.setValue(key, text);
    s.sync();
}

struct Calls
{
    int help = 0;
    int options = 0;
    int goScore = 0;
};

std::unique_ptr<frmSplash> makeSplash(Calls& calls)
{
    frmSplash::Links links;
    links.showHelp = [&calls] { ++calls.help; };
    links.showOptionsDialog = [&calls] { ++calls.options; };
    links.goScore = [&calls] { ++calls.goScore; };
    return std::make_unique<frmSplash>(std::move(links));
}

// A real click, delivered to the window at the centre of `target`, so that it
// finds its way to the element under it as a click by the operator would.
void clickOn(frmSplash& splash, QWidget* target, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint at = target->mapTo(&splash, target->rect().center());
    QTest::mouseClick(splash.windowHandle(), button, {}, at);
}

QColor pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

} // namespace

class TestFrmSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        clearStore();
        Config() = ConfigRecord{};
    }

    void elementsSitWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");
        QTest::newRow("lblName") << "lblName" << twips(120, 240, 5775, 735) << "Tallivox";
        QTest::newRow("lblVersion") << "lblVersion" << twips(3600, 1080, 2175, 375) << QString();
        QTest::newRow("picLogo") << "picLogo" << twips(240, 1200, 2040, 1275) << QString();
        QTest::newRow("lblClick") << "lblClick" << twips(2640, 1200, 1335, 255) << "Click to continue.";
        QTest::newRow("Label3") << "Label3" << twips(2640, 1680, 3255, 255) << "Press ' Esc ' to close the scoreboard.";
        QTest::newRow("Label1") << "Label1" << twips(2640, 1920, 3255, 255)
                                << "Press ' F1 ' to view Help from the scoreboard.";
        QTest::newRow("Label2") << "Label2" << twips(2640, 2160, 3255, 375)
                                << "Press ' F2 ' to set Options from the scoreboard.";
        QTest::newRow("cmdHelp") << "cmdHelp" << twips(3120, 2760, 1215, 375) << "&Help";
        QTest::newRow("cmdOptions") << "cmdOptions" << twips(4560, 2760, 1215, 375) << "&Options";
    }

    void elementsSitWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        Calls calls;
        auto splash = makeSplash(calls);
        QWidget* element = splash->findChild<QWidget*>(name);
        QVERIFY(element);
        QCOMPARE(element->parentWidget(), splash->frameSplash);
        QCOMPARE(element->geometry(), place);
        if (auto* label = qobject_cast<QLabel*>(element))
            QCOMPARE(label->text(), text);
        else if (auto* button = qobject_cast<QPushButton*>(element))
            QCOMPARE(button->text(), text);
    }

    void windowIsABorderlessFrameOfItsDesignedSize()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        QCOMPARE(splash->size(), QSize(416, 232)); // 6240 x 3480 twips
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash->isWindow());
        QCOMPARE(splash->frameSplash->geometry(), twips(120, 0, 6000, 3360));
        QCOMPARE(splash->frameSplash->parentWidget(), splash.get());
        // Not the score box's title: the end-to-end tests find each window by it.
        QVERIFY(splash->windowTitle() != QStringLiteral("Tallivox"));
    }

    void namesAndVersionInTheirTypeface()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        QCOMPARE(splash->lblName->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(splash->lblName->font().pointSizeF(), 21.75);
        QVERIFY(splash->lblName->alignment() & Qt::AlignHCenter);
        QCOMPARE(splash->lblVersion->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(splash->lblVersion->font().pointSizeF(), 15.75);
        QVERIFY(splash->lblVersion->alignment() & Qt::AlignRight);
    }

    void everyHintFitsItsLabel()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        for (QLabel* l : {splash->lblClick, splash->Label3, splash->Label1, splash->Label2}) {
            const int advance = QFontMetrics(l->font()).horizontalAdvance(l->text());
            QVERIFY2(advance <= l->width(), qPrintable(QStringLiteral("%1: %2 > %3").arg(l->objectName()).arg(advance).arg(l->width())));
            QCOMPARE(l->font(), splash->lblClick->font());
        }
    }

    void versionText_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.0.4") << 1 << 0 << 4 << "Version 1.0.4";
        QTest::newRow("plain decimals, no padding") << 10 << 20 << 300 << "Version 10.20.300";
        QTest::newRow("all zero") << 0 << 0 << 0 << "Version 0.0.0";
    }

    void versionText()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(splashVersionText(major, minor, revision), text);
    }

    void loadShowsTheBuildsOwnVersion()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        QVERIFY(splash->lblVersion->text().isEmpty());
        splash->Form_Load();
        const QString expected = QStringLiteral("Version %1.%2.%3")
                                     .arg(TALLIVOX_VERSION_MAJOR)
                                     .arg(TALLIVOX_VERSION_MINOR)
                                     .arg(TALLIVOX_VERSION_PATCH);
        QCOMPARE(splash->lblVersion->text(), expected);
    }

    void placement_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPointF>("topLeft");
        QTest::newRow("1280 x 1024") << QSize(19200, 15360) << QPointF(6480, 4740);
        QTest::newRow("1024 x 768") << QSize(15360, 11520) << QPointF(4560, 2820);
        QTest::newRow("odd difference keeps its half") << QSize(19215, 15375) << QPointF(6487.5, 4747.5);
        QTest::newRow("centred as if 5880 tall, not 3480") << QSize(6240, 5880) << QPointF(0, 0);
        QTest::newRow("too small a screen keeps the corner on it") << QSize(3000, 3000) << QPointF(0, 0);
    }

    void placement()
    {
        QFETCH(QSize, screen);
        QFETCH(QPointF, topLeft);
        QCOMPARE(splashTopLeftTwips(screen), topLeft);
    }

    void loadPlacesTheWindowAboveTheMiddle()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->Form_Load();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPointF t = splashTopLeftTwips(screen.size() * 15);
        QCOMPARE(splash->pos(), screen.topLeft() + QPoint(qRound(t.x() / 15), qRound(t.y() / 15)));
        QCOMPARE(splash->x() * 2 + splash->width(), screen.width());
        QVERIFY(splash->y() + splash->height() / 2 < screen.height() / 2);
    }

    void loadReadsTheSettingsStore()
    {
        storeSetting(QStringLiteral("TextSettings/HomeText"), QStringLiteral("Lions"));
        storeSetting(QStringLiteral("AdditionalSettings/ShotClockResetTime"), QStringLiteral("30"));
        Calls calls;
        auto splash = makeSplash(calls);
        QVERIFY(Config().HomeText.isEmpty()); // nothing is read before the load
        splash->Form_Load();
        QCOMPARE(Config().HomeText, QStringLiteral("Lions"));
        QCOMPARE(Config().ShotClockResetTime, qint16(30));
    }

    void firstRunLoadsEveryDefault()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->Form_Load();
        QCOMPARE(Config(), defaultConfig(QCoreApplication::applicationDirPath()));
    }

    void logoIsOurOwnPictureAtItsDesignedSize()
    {
        const QImage logo = paintLogo();
        QCOMPARE(logo.size(), QSize(136, 85));
        // The ball is orange, the clock's digits are lit red, the plate is dark.
        const QColor ball = pixel(logo, 30, 35);
        QVERIFY2(ball.red() > 180 && ball.green() > 60 && ball.green() < 170 && ball.blue() < 90, qPrintable(ball.name()));
        bool litRed = false;
        for (int x = 70; x < 126 && !litRed; ++x)
            for (int y = 14; y < 58 && !litRed; ++y) {
                const QColor c = pixel(logo, x, y);
                litRed = c.red() > 230 && c.green() < 80 && c.blue() < 60;
            }
        QVERIFY(litRed);
        QVERIFY(pixel(logo, 68, 75).lightness() < 100);

        Calls calls;
        auto splash = makeSplash(calls);
        QCOMPARE(splash->picLogo->picture().size(), QSize(136, 85));
    }

    void clickAnywhereButTheButtonsHandsOver_data()
    {
        QTest::addColumn<QString>("target");
        for (const char* name : {"frameSplash", "lblName", "lblVersion", "picLogo", "lblClick", "Label1", "Label2", "Label3"})
            QTest::newRow(name) << QString::fromLatin1(name);
        QTest::newRow("the window's own margin") << QString();
    }

    void clickAnywhereButTheButtonsHandsOver()
    {
        QFETCH(QString, target);
        Calls calls;
        auto splash = makeSplash(calls);
        splash->Form_Load();
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.get()));

        if (target.isEmpty()) {
            // The strip left of the frame belongs to the window itself.
            QVERIFY(!splash->childAt(3, 100));
            QTest::mouseClick(splash->windowHandle(), Qt::LeftButton, {}, QPoint(3, 100));
        } else {
            QWidget* element = splash->findChild<QWidget*>(target);
            QVERIFY(element);
            clickOn(*splash, element);
        }
        QCOMPARE(calls.goScore, 1);
        QCOMPARE(calls.help, 0);
        QCOMPARE(calls.options, 0);
    }

    void helpAndOptionsDoNotHandOver()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->Form_Load();
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.get()));

        clickOn(*splash, splash->cmdHelp);
        QCOMPARE(calls.help, 1);
        clickOn(*splash, splash->cmdOptions);
        QCOMPARE(calls.options, 1);
        clickOn(*splash, splash->cmdHelp);
        QCOMPARE(calls.help, 2);
        QCOMPARE(calls.goScore, 0);
        QVERIFY(splash->isVisible());
    }

    void altKeysPressTheButtons()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->show();
        splash->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(splash.get()));
        // A mnemonic presses its button visibly, so the click follows a moment later.
        QTest::keyClick(splash.get(), Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(calls.help, 1);
        QTest::keyClick(splash.get(), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(calls.options, 1);
        QCOMPARE(calls.goScore, 0);
    }

    void onlyALeftClickOnTheSplashHandsOver()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
        clickOn(*splash, splash->picLogo, Qt::RightButton);
        QCOMPARE(calls.goScore, 0);
        // Pressed on Help and let go over the logo: neither a help click nor a hand-over.
        QWindow* window = splash->windowHandle();
        const QPoint onHelp = splash->cmdHelp->mapTo(splash.get(), splash->cmdHelp->rect().center());
        const QPoint onLogo = splash->picLogo->mapTo(splash.get(), splash->picLogo->rect().center());
        QTest::mousePress(window, Qt::LeftButton, {}, onHelp);
        QTest::mouseMove(window, onLogo);
        QTest::mouseRelease(window, Qt::LeftButton, {}, onLogo);
        QCOMPARE(calls.goScore, 0);
        QCOMPARE(calls.help, 0);
    }

    void handsOverOnlyOnce()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
        clickOn(*splash, splash->lblClick);
        clickOn(*splash, splash->lblName);
        splash->GoScore();
        QCOMPARE(calls.goScore, 1);
    }

    void aCloseRequestLeavesTheSplashUp()
    {
        Calls calls;
        auto splash = makeSplash(calls);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
        QVERIFY(!splash->close());
        QVERIFY(splash->isVisible());
        QCOMPARE(calls.goScore, 0);
    }

    // The window owner: the run begins with the splash, whose click hands over.

    void theRunBeginsWithTheSplashAndItsSettings()
    {
        storeSetting(QStringLiteral("TextSettings/VisitorText"), QStringLiteral("Bears"));
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        QVERIFY(windows.splashWindow());
        QVERIFY(windows.splashWindow()->isVisible());
        QVERIFY(!windows.scoreboard());
        QVERIFY(!windows.shotClockWindow());
        QCOMPARE(Config().VisitorText, QStringLiteral("Bears"));
    }

    void aClickHandsOverToTheScoreBox()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        auto* splash = qobject_cast<frmSplash*>(windows.splashWindow());
        QVERIFY(splash);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QPointer<QWidget> gone = splash;

        clickOn(*splash, splash->lblClick);
        QVERIFY(!windows.splashWindow());
        QVERIFY(gone.isNull() || !gone->isVisible());
        QVERIFY(windows.scoreboard());
        QVERIFY(windows.scoreboard()->isVisible());
        QVERIFY(windows.scoreboard()->FormLoaded);
        // The default keeps the shot clock window away; the score box's load
        // may prepare it, but nothing shows it.
        QVERIFY(!windows.shotClockWindow() || !windows.shotClockWindow()->isVisible());
        QTRY_VERIFY(gone.isNull());

        // The splash never comes back in the run.
        windows.showSplash();
        QVERIFY(!windows.splashWindow());
    }

    void theShotClockWindowComesWithTheScoreBoxWhenSwitchedOn()
    {
        storeSetting(QStringLiteral("AdditionalSettings/ShowShotClockScreen"), QStringLiteral("True"));
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        QVERIFY(!windows.shotClockWindow());
        windows.GoScore();
        QVERIFY(windows.scoreboard() && windows.scoreboard()->isVisible());
        QVERIFY(windows.shotClockWindow());
        QVERIFY(windows.shotClockWindow()->isVisible());
    }

    // What the options dialog confirmed while the splash was up is in the
    // record when the score box opens.
    void settingsChangedBeforeTheHandOverTakeEffect()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        QVERIFY(!Config().ShowShotClockScreen);
        Config().ShowShotClockScreen = true;
        Config().HomeText = QStringLiteral("Hawks");
        windows.GoScore();
        QVERIFY(windows.shotClockWindow() && windows.shotClockWindow()->isVisible());
        QCOMPARE(windows.scoreboard()->lblHomeName->text(), QStringLiteral("Hawks"));
    }

    void helpFromTheSplashLeavesItUp()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        auto* splash = qobject_cast<frmSplash*>(windows.splashWindow());
        QVERIFY(splash);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        clickOn(*splash, splash->cmdHelp);
        QVERIFY(windows.helpWindow());
        QVERIFY(windows.helpWindow()->isVisible());
        QCOMPARE(windows.splashWindow(), splash);
        QVERIFY(splash->isVisible());
        QVERIFY(!windows.scoreboard());

        // The help window outlives the splash.
        clickOn(*splash, splash->lblName);
        QVERIFY(windows.scoreboard());
        QVERIFY(windows.helpWindow() && windows.helpWindow()->isVisible());
    }
};

QTEST_MAIN(TestFrmSplash)
#include "tst_frmsplash.moc"
