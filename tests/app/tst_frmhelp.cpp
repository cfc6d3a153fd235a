// The help window: the help file shown or the missing-file sentence, the
// minimum size and the text view following each resize, and the one instance
// that the window owner keeps and brings forward.

#include "frmhelp.h"
#include "helpgeometry.h"
#include "programwindows.h"
#include "timesource.h"

#include <QFile>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

namespace {

// A program folder of the test's own, with or without the shipped help file.
struct ProgramFolder
{
    QTemporaryDir dir;
    QString path() const { return dir.path(); }
    QString helpFile() const { return dir.filePath(frmHelp::FileName); }
    void installShippedHelp() const { QVERIFY(QFile::copy(QStringLiteral(TALLIVOX_HELP_FILE), helpFile())); }
};

} // namespace

class TestFrmHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeRulesInTwips()
    {
        using namespace helpgeometry;
        QCOMPARE(clampOuterSize(QSize(100, 100)), QSize(2700, 1700));
        QCOMPARE(clampOuterSize(QSize(2699, 5000)), QSize(2700, 5000));
        QCOMPARE(clampOuterSize(QSize(5000, 1699)), QSize(5000, 1700));
        QCOMPARE(textViewRect(QSize(11055, 9270)), QRect(120, 0, 10935, 9270));
        QCOMPARE(textViewRect(QSize(60, 0)), QRect(120, 0, 0, 0));
        QCOMPARE(wrapWidth(10935), 10485);
        QCOMPARE(wrapWidth(300), 15); // never zero, which would mean no wrapping
    }

    void withoutTheFileShowsTheMessage_data()
    {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::newRow("no file") << false;
        QTest::newRow("a folder in its place") << true;
    }

    void withoutTheFileShowsTheMessage()
    {
        QFETCH(bool, folderInItsPlace);
        ProgramFolder folder;
        if (folderInItsPlace)
            QVERIFY(QDir(folder.path()).mkdir(frmHelp::FileName));
        frmHelp window(folder.path());
        window.Form_Load();
        QCOMPARE(window.rtbHelp->toPlainText(),
                 QStringLiteral("Help file has been moved from its normal location.  Please reinstall the program."));
    }

    void showsTheShippedHelpFile()
    {
        ProgramFolder folder;
        folder.installShippedHelp();
        frmHelp window(folder.path());
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QTextDocument* doc = window.rtbHelp->document();
        QCOMPARE(doc->begin().text(), QStringLiteral("Tallivox Help"));
        QVERIFY(doc->toPlainText().contains(QStringLiteral("The command keys")));
        QVERIFY(!doc->toPlainText().contains(QLatin1String("\\par")));
        // The view starts at the top, and there is more text than fits.
        QCOMPARE(window.rtbHelp->textCursor().position(), 0);
        QCOMPARE(window.rtbHelp->verticalScrollBar()->value(), 0);
        QVERIFY(window.rtbHelp->verticalScrollBar()->maximum() > 0);
    }

    void keepsItsMinimumSize()
    {
        ProgramFolder folder;
        frmHelp window(folder.path());
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The minimum is the outer size, frame included: 2700 x 1700 twips are
        // 180 x 113 pixels.
        const QSize frame = window.frameGeometry().size() - window.size();
        window.resize(50, 50);
        QTRY_COMPARE(window.frameGeometry().size(), QSize(180, 113));
        window.resize(50, 400);
        QTRY_COMPARE(window.frameGeometry().size(), QSize(180 - frame.width(), 400) + frame);
        window.resize(400, 20);
        QTRY_COMPARE(window.frameGeometry().size(), QSize(400, 113 - frame.height()) + frame);
        QCOMPARE(window.rtbHelp->geometry(), QRect(8, 0, 392, 113 - frame.height()));
    }

    void theTextViewFollowsEveryResize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("larger") << QSize(1000, 800);
        QTest::newRow("near the minimum") << QSize(200, 130);
    }

    void theTextViewFollowsEveryResize()
    {
        QFETCH(QSize, size);
        ProgramFolder folder;
        folder.installShippedHelp();
        frmHelp window(folder.path());
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(size);
        QTRY_COMPARE(window.size(), size);
        QCOMPARE(window.rtbHelp->geometry(), QRect(8, 0, size.width() - 8, size.height()));
        QCOMPARE(window.rtbHelp->lineWrapColumnOrWidth(), std::max(size.width() - 8 - 30, 1));
    }

    void theOwnerKeepsOneWindowAndLoadsItAgainAfterClosing()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        QVERIFY(!windows.helpWindow());
        windows.showHelp();
        QPointer<QWidget> first = windows.helpWindow();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        // No help file beside the test program.
        auto* view = first->findChild<QTextEdit*>(QStringLiteral("rtbHelp"));
        QVERIFY(view);
        QCOMPARE(view->toPlainText(), frmHelp::MissingFileText);

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
        QVERIFY(windows.helpWindow());
        auto* again = windows.helpWindow()->findChild<QTextEdit*>(QStringLiteral("rtbHelp"));
        QCOMPARE(again->toPlainText(), frmHelp::MissingFileText);
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
