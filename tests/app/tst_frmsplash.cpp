// The splash: a click anywhere but the buttons handing over to the score box
// once, Help and Options reaching their windows without handing over, the run
// that begins with it showing the build's version and reading the settings, and
// the last game, kept by a normal end, offered back by the next run's splash.

#include "configrecord.h"
#include "controls.h"
#include "frmsplash.h"
#include "game.h"
#include "gamefile.h"
#include "programwindows.h"
#include "splashload.h"
#include "timesource.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

void storeSetting(const QString& key, const QString& text)
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"), QStringLiteral("Tallivox")).setValue(key, text);
}

// A real click, delivered to the window at the centre of `target` (or at `at` in
// the window), so that it finds its way to the element under it as an operator's would.
void clickOn(QWidget& window, QWidget* target, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
{
    QTest::mouseClick(window.windowHandle(), button, {}, target ? target->mapTo(&window, target->rect().center()) : at);
}

// No game left by an earlier run, crashed or ended.
void forgetGames()
{
    const GameFile file(GameFile::defaultPath());
    QFile::remove(file.path());
    QFile::remove(file.lastGamePath());
    QDir().rmdir(file.lastGamePath());
}

} // namespace

class TestFrmSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Expected: how often the score box, help and the options dialog were asked for.
    void onlyAClickOffTheButtonsHandsOverAndOnlyOnce_data()
    {
        QTest::addColumn<QString>("target"); // empty: the strip left of the frame, the window's own
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QList<int>>("expected");
        for (const char* name : {"frameSplash", "lblName", "picLogo", "Label2", ""})
            QTest::addRow("a click on %s", *name ? name : "the window's own margin") << QString::fromLatin1(name) << Qt::LeftButton << QList<int>{1, 0, 0};
        QTest::newRow("Help") << "cmdHelp" << Qt::LeftButton << QList<int>{0, 1, 0};
        QTest::newRow("Options") << "cmdOptions" << Qt::LeftButton << QList<int>{0, 0, 1};
        QTest::newRow("a right click") << "picLogo" << Qt::RightButton << QList<int>{0, 0, 0};
    }

    void onlyAClickOffTheButtonsHandsOverAndOnlyOnce()
    {
        QFETCH(QString, target);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QList<int>, expected);
        QList<int> calls{0, 0, 0};
        frmSplash splash({[&] { ++calls[1]; }, [&] { ++calls[2]; }, [&] { ++calls[0]; }, {}, {}});
        splash.load();
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QWidget* element = target.isEmpty() ? nullptr : splash.findChild<QWidget*>(target);
        QVERIFY(element || !splash.childAt(3, 100));
        clickOn(splash, element, button, QPoint(3, 100));
        QCOMPARE(calls, expected);
        if (expected[0]) {
            clickOn(splash, splash.findChild<QWidget*>("lblClick"));
            splash.goScore();
            QCOMPARE(calls, expected);
        } else {
            QVERIFY(!splash.close()); // only a click hands over
        }
    }

    // The window owner: the run begins with the splash, whose click hands over to the
    // score box, and to the shot clock window when it is switched on.
    void theRunBeginsWithTheSplashAndAClickHandsOver_data()
    {
        QTest::addColumn<bool>("shotClockWindow");
        QTest::newRow("shot clock window off") << false;
        QTest::newRow("shot clock window on") << true;
    }

    void theRunBeginsWithTheSplashAndAClickHandsOver()
    {
        QFETCH(bool, shotClockWindow);
        storeSetting(QStringLiteral("AdditionalSettings/ShowShotClockScreen"), shotClockWindow ? "True" : "False");
        forgetGames();
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        auto* splash = qobject_cast<frmSplash*>(windows.splashWindow());
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QVERIFY(!splash->findChild<QPushButton*>("cmdResume")); // no last game to offer
        QCOMPARE(Config().ShowShotClockScreen, shotClockWindow); // the splash's load reads the store
        QCOMPARE(splash->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version %1.%2.%3").arg(TALLIVOX_VERSION_MAJOR)
                                                 .arg(TALLIVOX_VERSION_MINOR).arg(TALLIVOX_VERSION_PATCH));
        QCOMPARE(splashVersionText(10, 20, 300), QStringLiteral("Version 10.20.300")); // no padding
        QPointer<QWidget> gone = splash;

        clickOn(*splash, splash->findChild<QWidget*>("cmdHelp"));
        QVERIFY(windows.helpWindow() && windows.helpWindow()->isVisible());
        QVERIFY(!windows.scoreboard() && !windows.shotClockWindow());

        clickOn(*splash, splash->findChild<QWidget*>("lblClick"));
        QVERIFY(!windows.splashWindow());
        QVERIFY(windows.scoreboard() && windows.scoreboard()->isVisible());
        QVERIFY(windows.helpWindow() && windows.helpWindow()->isVisible()); // help outlives the splash
        // The score box's load may prepare the shot clock window; only the setting shows it.
        QCOMPARE(windows.shotClockWindow() && windows.shotClockWindow()->isVisible(), shotClockWindow);
        QTRY_VERIFY(gone.isNull());
        windows.showSplash();
        QVERIFY(!windows.splashWindow()); // never comes back in the run
    }

    // A run ended normally keeps its game; the next run's splash offers it, and
    // Ctrl+R or the button brings it back stopped, while a click elsewhere starts
    // a fresh game. A game that could not be kept is said at the end and comes
    // back by itself, as after a crash.
    void theNextRunResumesTheLastGameWhenAsked_data()
    {
        QTest::addColumn<bool>("keptNowhere");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<int>>("expected"); // home, period
        QTest::newRow("Ctrl+R") << false << "Ctrl+R" << QList<int>{2, 2};
        QTest::newRow("the button") << false << "cmdResume" << QList<int>{2, 2};
        QTest::newRow("a click elsewhere") << false << "lblClick" << QList<int>{0, 1};
        QTest::newRow("nowhere to keep it") << true << "lblClick" << QList<int>{2, 2};
    }

    void theNextRunResumesTheLastGameWhenAsked()
    {
        QFETCH(bool, keptNowhere);
        QFETCH(QString, how);
        QFETCH(QList<int>, expected);
        storeSetting(QStringLiteral("AdditionalSettings/ShowShotClockScreen"), "False");
        forgetGames();
        QVERIFY(!keptNowhere || QDir().mkpath(GameFile(GameFile::defaultPath()).lastGamePath()));
        {
            ProgramWindows windows(SteadyTimeSource::instance());
            windows.start();
            clickOn(*windows.splashWindow(), windows.splashWindow()->findChild<QWidget*>("lblClick"));
            for (Qt::Key key : {Qt::Key_Home, Qt::Key_P, Qt::Key_S})
                QTest::keyClick(windows.scoreboard(), key);
            windows.endProgram();
            QCOMPARE(windows.noticeWindow() != nullptr, keptNowhere); // said before the loop ends
        }
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.start();
        auto* splash = qobject_cast<frmSplash*>(windows.splashWindow());
        QVERIFY(QTest::qWaitForWindowActive(splash));
        const auto* resume = splash->findChild<QPushButton*>("cmdResume");
        QCOMPARE(resume ? resume->text() : QString(), keptNowhere ? QString() : "Resume last game");
        if (how == "Ctrl+R")
            QTest::keyClick(splash, Qt::Key_R, Qt::ControlModifier);
        else
            clickOn(*splash, splash->findChild<QWidget*>(how));
        QTRY_VERIFY(windows.scoreboard());
        const GameState game = windows.game()->state();
        QCOMPARE((QList<int>{game.homeScore, game.period}), expected);
        QVERIFY(!game.gameClockRunning);
        forgetGames();
    }
};

QTEST_MAIN(TestFrmSplash)
#include "tst_frmsplash.moc"
