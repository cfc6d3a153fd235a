// The splash: the build's version, the settings read at its load, a click
// anywhere but the buttons handing over to the score box once, and Help and
// Options reaching their windows without handing over.

#include "configrecord.h"
#include "controls.h"
#include "frmsplash.h"
#include "programwindows.h"
#include "splashload.h"
#include "timesource.h"

#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

// Without a key: empties the program's store.
void storeSetting(const QString& key = {}, const QString& text = {})
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox"));
    if (key.isEmpty())
        s.clear();
    else
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

} // namespace

class TestFrmSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        storeSetting();
        Config() = ConfigRecord{};
    }

    void loadShowsTheBuildsVersionAndReadsTheStore()
    {
        storeSetting(QStringLiteral("TextSettings/HomeText"), QStringLiteral("Lions"));
        storeSetting(QStringLiteral("AdditionalSettings/ShotClockResetTime"), QStringLiteral("30"));
        Calls calls;
        auto splash = makeSplash(calls);
        QVERIFY(Config().HomeText.isEmpty()); // nothing is read before the load
        splash->Form_Load();
        QCOMPARE(splash->lblVersion->text(), QStringLiteral("Version %1.%2.%3")
                                                 .arg(TALLIVOX_VERSION_MAJOR)
                                                 .arg(TALLIVOX_VERSION_MINOR)
                                                 .arg(TALLIVOX_VERSION_PATCH));
        QCOMPARE(splashVersionText(10, 20, 300), QStringLiteral("Version 10.20.300")); // no padding
        QCOMPARE(Config().HomeText, QStringLiteral("Lions"));
        QCOMPARE(Config().ShotClockResetTime, qint16(30));
    }

    void clickAnywhereButTheButtonsHandsOverOnce_data()
    {
        QTest::addColumn<QString>("target");
        for (const char* name : {"frameSplash", "lblName", "picLogo", "Label2"})
            QTest::newRow(name) << QString::fromLatin1(name);
        QTest::newRow("the window's own margin") << QString();
    }

    void clickAnywhereButTheButtonsHandsOverOnce()
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
        clickOn(*splash, splash->lblClick);
        splash->GoScore();
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
        clickOn(*splash, splash->picLogo, Qt::RightButton);
        QVERIFY(!splash->close()); // only a click hands over
        QCOMPARE(calls.goScore, 0);
        QVERIFY(splash->isVisible());
    }

    // The window owner: the run begins with the splash, whose click hands over.

    void theRunBeginsWithTheSplashAndAClickHandsOver()
    {
        storeSetting(QStringLiteral("TextSettings/VisitorText"), QStringLiteral("Bears"));
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        auto* splash = qobject_cast<frmSplash*>(windows.splashWindow());
        QVERIFY(splash);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QCOMPARE(Config().VisitorText, QStringLiteral("Bears"));
        QPointer<QWidget> gone = splash;

        clickOn(*splash, splash->cmdHelp);
        QVERIFY(windows.helpWindow() && windows.helpWindow()->isVisible());
        QVERIFY(!windows.scoreboard());

        clickOn(*splash, splash->lblClick);
        QVERIFY(!windows.splashWindow());
        QVERIFY(windows.scoreboard() && windows.scoreboard()->isVisible());
        QVERIFY(windows.helpWindow() && windows.helpWindow()->isVisible()); // help outlives the splash
        // Off by default: the score box's load may prepare it, but nothing shows it.
        QVERIFY(!windows.shotClockWindow() || !windows.shotClockWindow()->isVisible());
        QTRY_VERIFY(gone.isNull());
        windows.showSplash();
        QVERIFY(!windows.splashWindow()); // never comes back in the run
    }

    void theShotClockWindowComesWithTheScoreBoxWhenSwitchedOn()
    {
        storeSetting(QStringLiteral("AdditionalSettings/ShowShotClockScreen"), QStringLiteral("True"));
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        QVERIFY(!windows.shotClockWindow());
        windows.GoScore();
        QVERIFY(windows.scoreboard() && windows.scoreboard()->isVisible());
        QVERIFY(windows.shotClockWindow() && windows.shotClockWindow()->isVisible());
    }
};

QTEST_MAIN(TestFrmSplash)
#include "tst_frmsplash.moc"
