// The help window: the shipped help file shown or the missing-file sentence, the
// minimum size and the text view following each resize, the one instance that
// the window owner keeps and brings forward, and Escape closing it.

#include "clockdisplay.h"
#include "configrecord.h"
#include "frmhelp.h"
#include "game.h"
#include "loopwatch.h"
#include "namedchild.h"
#include "programwindows.h"
#include "rtfreader.h"
#include "timesource.h"

#include <QFile>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

namespace {

const QString MissingFile = QStringLiteral("Help file has been moved from its normal location.  Please reinstall the program.");

} // namespace

class TestFrmHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheShippedHelpFileFromTheTop()
    {
        QTemporaryDir folder;
        QVERIFY(QFile::copy(QStringLiteral(TALLIVOX_HELP_FILE), folder.filePath(frmHelp::FileName)));
        frmHelp window(folder.path());
        window.load();
        QTRY_VERIFY(window.isLoaded());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto* view = the<QTextEdit>(&window, "rtbHelp");
        const QTextDocument* doc = view->document();
        QCOMPARE(doc->begin().text(), QStringLiteral("Tallivox Help"));
        const QString text = doc->toPlainText();
        // No RTF leaks through as text, and the document information stays out.
        for (const char* leak : {"\\", "{", "}", "Arial"})
            QVERIFY2(!text.contains(QLatin1String(leak)), leak);
        // Every command and quick key with its default.
        for (const char* words : {"Esc", "F1", "F2", "Start/Stop clock\tS", "Reset clock\tR", "Reset shot clock\tT",
                                  "Game/Clock switch\tC", "Buzzer\tB", "Clear Number\tBackspace", "Home Score +1\tInsert",
                                  "Home Score +2\tHome", "Home Score +3\tPage Up", "Visitor Score +1\tDelete",
                                  "Visitor Score +2\tEnd", "Visitor Score +3\tPage Down", "Period +1\tP"})
            QVERIFY2(text.contains(QLatin1String(words)), words);
        // The view starts at the top, and there is more text than fits.
        QCOMPARE(view->textCursor().position(), 0);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        QVERIFY(view->verticalScrollBar()->maximum() > 0);
    }

    // A help file too large to lay out while the clocks run is not read at all:
    // the window says so at once.
    void aTooLargeFileIsRefusedWithoutStallingTheLoop()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(frmHelp::FileName));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(MaxHelpFileBytes + 1));
        file.close();
        frmHelp window(folder.path());
        QVERIFY(longestStallMs([&] { window.load(); }) < 100);
        QCOMPARE(the<QTextEdit>(&window, "rtbHelp")->toPlainText(), QStringLiteral("Help file is too large."));
    }

    // A help file of megabytes opens without stopping the clock on air: from F1
    // to the help window showing, the game clock in tenths never stands still
    // for longer than a busy machine explains.
    void aLargeHelpFileOpensWhileTheClockRuns()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(frmHelp::FileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n");
        const QByteArray paragraph = "\\pard\\sa120\\f0\\fs20 The score box floats over the desktop, or sits on a "
                                     "full screen of one colour that a video mixer keys out. {\\b Bold words} and "
                                     "{\\i slanted ones} break the runs, as in any help text.\\par\n";
        while (file.size() < 3900 * 1024)
            file.write(paragraph);
        file.write("}");
        file.close();

        Config() = defaultConfig(QString());
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.setProgramFolder(folder.path());
        windows.showScoreboard();
        frmScoreboard* box = windows.scoreboard();
        GameState fiftySeconds;
        fiftySeconds.gameClock = ClockSeconds::fromSeconds(50);
        windows.game()->restore(fiftySeconds);
        QTest::keyClick(box, Qt::Key_S);

        QElapsedTimer clock;
        qint64 lastChange = 0;
        qint64 longestStill = 0;
        connect(box->findChild<ClockDisplay*>("cdGame"), &ClockDisplay::valueChanged, this, [&] {
            longestStill = std::max(longestStill, clock.elapsed() - lastChange);
            lastChange = clock.elapsed();
        });
        clock.start();
        QTest::keyClick(box, Qt::Key_F1);
        QTRY_VERIFY_WITH_TIMEOUT(windows.helpWindow() && windows.helpWindow()->isVisible(), 60000);
        longestStill = std::max(longestStill, clock.elapsed() - lastChange);
        QVERIFY2(longestStill < 400, qPrintable(QStringLiteral("the clock stood still for %1 ms").arg(longestStill)));
        const QTextDocument* text = the<QTextEdit>(windows.helpWindow(), "rtbHelp")->document();
        QCOMPARE(text->blockCount(), int(file.size() / paragraph.size()) + 1);
        QCOMPARE(text->lastBlock().previous().text(), QStringLiteral("The score box floats over the desktop, or sits on a "
                 "full screen of one colour that a video mixer keys out. Bold words and slanted ones break the runs, as "
                 "in any help text."));
        qInfo("the help window showed after %lld ms; the clock stood still for %lld ms at most", clock.elapsed(), longestStill);
    }

    // Without its file, or with a folder in its place, the window shows the message.
    // The minimum is the outer size, frame included: 2700 x 1700 twips are 180 x 113
    // pixels. The text view keeps 120 twips (8 px) on its left and wraps 450 twips
    // (30 px) short of its width.
    void withoutTheFileKeepsItsMinimumSizeAndTheTextViewFollows_data()
    {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::addColumn<QSize>("size");
        QTest::newRow("too small both ways") << false << QSize(50, 50);
        QTest::newRow("too narrow") << true << QSize(50, 400);
        QTest::newRow("too low") << false << QSize(400, 20);
        QTest::newRow("just above the minimum") << true << QSize(200, 130);
        QTest::newRow("larger") << false << QSize(1000, 800);
    }

    void withoutTheFileKeepsItsMinimumSizeAndTheTextViewFollows()
    {
        QFETCH(bool, folderInItsPlace);
        QFETCH(QSize, size);
        QTemporaryDir folder;
        QVERIFY(!folderInItsPlace || QDir(folder.path()).mkdir(frmHelp::FileName));
        frmHelp window(folder.path());
        window.load();
        QCOMPARE(the<QTextEdit>(&window, "rtbHelp")->toPlainText(), MissingFile);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize frame = window.frameGeometry().size() - window.size();
        window.resize(size);
        const QSize expected = (size + frame).expandedTo(QSize(180, 113)) - frame;
        QTRY_COMPARE(window.size(), expected);
        QCOMPARE(the<QTextEdit>(&window, "rtbHelp")->geometry(), QRect(8, 0, expected.width() - 8, expected.height()));
        QCOMPARE(the<QTextEdit>(&window, "rtbHelp")->lineWrapColumnOrWidth(), expected.width() - 8 - 30);
    }

    void theOwnerKeepsOneWindowAndLoadsItAgainAfterClosing()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.showHelp();
        QPointer<QWidget> first = windows.helpWindow();
        QVERIFY(first && first->isVisible());
        auto* view = the<QTextEdit>(first, "rtbHelp");
        QCOMPARE(view->toPlainText(), MissingFile); // no help file beside the test program

        // Asking again brings the same window back, not its load: a mark put in
        // its text survives.
        view->setPlainText(QStringLiteral("still the same window"));
        first->showMinimized();
        windows.showHelp();
        QCOMPARE(windows.helpWindow(), first.data());
        QVERIFY(!first->isMinimized());
        QCOMPARE(view->toPlainText(), QStringLiteral("still the same window"));

        // Closing unloads it; the next request loads a new one.
        first->close();
        QTRY_VERIFY(!first);
        QVERIFY(!windows.helpWindow());
        windows.showHelp();
        QCOMPARE(the<QTextEdit>(windows.helpWindow(), "rtbHelp")->toPlainText(), MissingFile);
    }

    void escapeClosesHelpAndTheKeysGoBackToTheScoreBox()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        windows.showScoreboard();
        QWidget* box = windows.scoreboard();
        QVERIFY(QTest::qWaitForWindowActive(box));
        windows.showHelp();
        QPointer<QWidget> help = windows.helpWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));

        // Escape in the help window closes only the help window.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!help);
        QVERIFY(box->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), box);
    }
};

QTEST_MAIN(TestFrmHelp)
#include "tst_frmhelp.moc"
