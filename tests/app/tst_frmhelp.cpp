// The help window: its first look, the help file shown or the missing-file
// sentence, the minimum size and the text view following each resize, and the
// one instance that the window owner keeps and brings forward.

#include "frmhelp.h"
#include "helpgeometry.h"
#include "programwindows.h"
#include "timesource.h"

#include <QFile>
#include <QPointer>
#include <QScreen>
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
    void write(const QByteArray& data) const
    {
        QFile file(helpFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
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
        QCOMPARE(clampOuterSize(QSize(11055, 9270)), QSize(11055, 9270));
        QCOMPARE(textViewRect(QSize(11055, 9270)), QRect(120, 0, 10935, 9270));
        QCOMPARE(textViewRect(QSize(60, 0)), QRect(120, 0, 0, 0));
        QCOMPARE(wrapWidth(10935), 10485);
        QCOMPARE(wrapWidth(300), 15); // never zero, which would mean no wrapping
    }

    void firstLook()
    {
        ProgramFolder folder;
        frmHelp window(folder.path());
        window.Form_Load();
        QCOMPARE(window.windowTitle(), QStringLiteral("Tallivox Help"));
        QCOMPARE(window.size(), QSize(737, 618)); // 11055 x 9270 twips
        QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(window.rtbHelp->isReadOnly());
        QCOMPARE(window.rtbHelp->geometry(), QRect(8, 0, 729, 618));
        QCOMPARE(window.rtbHelp->lineWrapMode(), QTextEdit::FixedPixelWidth);
        QCOMPARE(window.rtbHelp->lineWrapColumnOrWidth(), 729 - 30);
        // Centred on its screen.
        const QPoint centre = window.screen()->availableGeometry().center();
        QVERIFY2((window.frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(window.frameGeometry().center().x()).arg(window.frameGeometry().center().y())));
    }

    void withoutTheFileShowsTheMessage()
    {
        ProgramFolder folder;
        frmHelp window(folder.path());
        window.Form_Load();
        window.show();
        QCOMPARE(window.rtbHelp->toPlainText(),
                 QStringLiteral("Help file has been moved from its normal location.  Please reinstall the program."));
    }

    void aFolderInPlaceOfTheFileCountsAsMissing()
    {
        ProgramFolder folder;
        QVERIFY(QDir(folder.path()).mkdir(frmHelp::FileName));
        frmHelp window(folder.path());
        window.Form_Load();
        QCOMPARE(window.rtbHelp->toPlainText(), frmHelp::MissingFileText);
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

    void aDamagedFileShowsWhatCouldBeRead()
    {
        ProgramFolder folder;
        folder.write("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Readable part.\\par {\\b cut off here");
        frmHelp window(folder.path());
        window.Form_Load();
        QCOMPARE(window.rtbHelp->toPlainText(), QStringLiteral("Readable part.\ncut off here"));
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
        QTest::newRow("smaller") << QSize(300, 200);
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

    void aMaximisedWindowIsFilledByTheText()
    {
        ProgramFolder folder;
        folder.installShippedHelp();
        frmHelp window(folder.path());
        window.Form_Load();
        window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.isMaximized());
        QCOMPARE(window.rtbHelp->geometry(), QRect(8, 0, window.width() - 8, window.height()));
    }

    void theOwnerKeepsOneWindowAndLoadsItAgainAfterClosing()
    {
        ProgramWindows windows(SteadyTimeSource::instance());
        QVERIFY(!windows.helpWindow());
        windows.showHelp();
        QPointer<QWidget> first = windows.helpWindow();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("Tallivox Help"));
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
};

QTEST_MAIN(TestFrmHelp)
#include "tst_frmhelp.moc"
