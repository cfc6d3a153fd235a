// The rich text reader: each construct on small hand-made documents, the
// formatting it carries into the document, the shipped help file, and damaged or
// hostile input, which must give what could be read, quickly, and never crash.

#include "rtfreader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

Q_DECLARE_METATYPE(RtfReader::Status)

namespace {

QString textOf(const QByteArray& rtf, RtfReader::Status* status = nullptr)
{
    QTextDocument doc;
    const RtfReader::Status s = RtfReader::read(rtf, doc);
    if (status)
        *status = s;
    // Block by block: toPlainText() would turn line breaks and no-break spaces
    // into their plain forms.
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        blocks << b.text();
    return blocks.join(QLatin1Char('\n'));
}

// The character format of the fragment that holds `text`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
        }
    }
    qWarning() << "no fragment holds" << text;
    return {};
}

QTextBlock blockWith(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(text))
            return b;
    }
    return {};
}

constexpr QChar LineBreak(QChar::LineSeparator);

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEachConstructAsText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");

        QTest::newRow("plain words") << QByteArray("{\\rtf1 Hello, world}") << QStringLiteral("Hello, world");
        QTest::newRow("paragraphs") << QByteArray("{\\rtf1 one\\par two\\par three}") << QStringLiteral("one\ntwo\nthree");
        QTest::newRow("the space after a word is its delimiter") << QByteArray("{\\rtf1\\b  x}") << QStringLiteral(" x");
        QTest::newRow("line ends in the file are not text") << QByteArray("{\\rtf1 a\r\nb\nc}") << QStringLiteral("abc");
        QTest::newRow("backslash and line end is a paragraph") << QByteArray("{\\rtf1 a\\\nb}") << QStringLiteral("a\nb");
        QTest::newRow("escaped braces and backslash") << QByteArray("{\\rtf1 \\{a\\}\\\\}") << QStringLiteral("{a}\\");
        QTest::newRow("hex byte") << QByteArray("{\\rtf1 caf\\'e9}") << QStringLiteral("caf\u00e9");
        QTest::newRow("hex byte in the 1252 range") << QByteArray("{\\rtf1 \\'80\\'93x\\'94}") << QStringLiteral("\u20ac\u201cx\u201d");
        QTest::newRow("hex byte upper case") << QByteArray("{\\rtf1 \\'C9}") << QStringLiteral("\u00c9");
        QTest::newRow("unicode skips one stand-in") << QByteArray("{\\rtf1 \\u8364?5}") << QStringLiteral("\u20ac5");
        QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-3913?}") << QStringLiteral("\uf0b7");
        QTest::newRow("uc2 skips two") << QByteArray("{\\rtf1\\uc2 \\u233 abc}") << QStringLiteral("\u00e9c");
        QTest::newRow("uc0 skips none") << QByteArray("{\\rtf1\\uc0 \\u233 abc}") << QStringLiteral("\u00e9abc");
        QTest::newRow("uc belongs to its group") << QByteArray("{\\rtf1{\\uc2 \\u233 ab}\\u233 xy}") << QStringLiteral("\u00e9\u00e9y");
        QTest::newRow("stand-in is a hex byte") << QByteArray("{\\rtf1 \\u233\\'e9x}") << QStringLiteral("\u00e9x");
        QTest::newRow("stand-in is a control word") << QByteArray("{\\rtf1 \\u233\\bullet x}") << QStringLiteral("\u00e9x");
        QTest::newRow("a brace ends the skipping") << QByteArray("{\\rtf1\\uc3{\\u233}ab}") << QStringLiteral("\u00e9ab");
        QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QStringLiteral("\U0001F600");
        QTest::newRow("lone high surrogate") << QByteArray("{\\rtf1 \\u-10179?x}") << QStringLiteral("\ufffdx");
        QTest::newRow("lone low surrogate") << QByteArray("{\\rtf1 \\u-8704?x}") << QStringLiteral("\ufffdx");
        QTest::newRow("tabs") << QByteArray("{\\rtf1 a\\tab b\tc}") << QStringLiteral("a\tb\tc");
        QTest::newRow("line break") << QByteArray("{\\rtf1 a\\line b}") << (QStringLiteral("a") + LineBreak + QStringLiteral("b"));
        QTest::newRow("named punctuation")
            << QByteArray("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\_}")
            << QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u00a0\u2011");
        QTest::newRow("optional hyphen is nothing") << QByteArray("{\\rtf1 a\\-b}") << QStringLiteral("ab");
        QTest::newRow("starred group is left out") << QByteArray("{\\rtf1 a{\\*\\unknown x{y}z}b}") << QStringLiteral("ab");
        QTest::newRow("font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier;}}x}") << QStringLiteral("x");
        QTest::newRow("colour table") << QByteArray("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}x}") << QStringLiteral("x");
        QTest::newRow("style sheet and info")
            << QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}x}") << QStringLiteral("x");
        QTest::newRow("picture with binary braces")
            << QByteArray("{\\rtf1 a{\\pict\\wmetafile8\\bin4 {}}\\ 0a0b}b}") << QStringLiteral("ab");
        QTest::newRow("binary data outside a picture") << QByteArray("{\\rtf1 a\\bin3 {}}b}") << QStringLiteral("ab");
        QTest::newRow("headers and footnotes") << QByteArray("{\\rtf1{\\header h}{\\footer f}a{\\footnote n}}") << QStringLiteral("a");
        QTest::newRow("field shows its result")
            << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}") << QStringLiteral("link");
        QTest::newRow("bullet stand-in text is kept, numbering is not")
            << QByteArray("{\\rtf1{\\pntext \\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb x}}item}") << QStringLiteral("\u00b7\titem");
        QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v secret}b\\v c\\v0 d}") << QStringLiteral("abd");
        QTest::newRow("unknown words are ignored") << QByteArray("{\\rtf1\\foo123 \\bar-4 x\\baz y}") << QStringLiteral("xy");
        QTest::newRow("table cells and rows")
            << QByteArray("{\\rtf1\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c}") << QStringLiteral("a\tb\t\nc");
        QTest::newRow("text after the outer group is ignored") << QByteArray("{\\rtf1 a}b{c}") << QStringLiteral("a");
        QTest::newRow("byte order mark and leading space") << QByteArray("\xEF\xBB\xBF \r\n{\\rtf1 a}") << QStringLiteral("a");
        QTest::newRow("control characters are dropped") << QByteArray("{\\rtf1 a\x01\x02\x7f" "b\\'00\\'0d}") << QStringLiteral("ab");
        QTest::newRow("structure characters of the document are replaced")
            << QByteArray("{\\rtf1 a\\u-560?b\\u65532?c\\u8233?d}") << (QStringLiteral("a\ufffdb\ufffdc") + LineBreak + QStringLiteral("d"));
    }

    void readsEachConstructAsText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        RtfReader::Status status;
        QCOMPARE(textOf(rtf, &status), text);
        QCOMPARE(status, RtfReader::Status::Complete);
    }

    void carriesCharacterFormatting()
    {
        QTextDocument doc;
        const QByteArray rtf =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
            "\\fs20 normal {\\b bold}{\\i italic}{\\ul under}{\\strike struck}{\\fs40 big}{\\cf1 red}{\\cf2 blue}"
            "{\\f1 mono}{\\highlight2 marked}{\\super up}{\\sub down}"
            "{\\b\\i\\ul all\\plain plained}{\\b\\b0 unbold}{\\ul\\ulnone ununder}{\\cf9 nocolour}{\\cf0 auto} after}";
        QCOMPARE(RtfReader::read(rtf, doc), RtfReader::Status::Complete);

        const QTextCharFormat normal = formatOf(doc, QStringLiteral("normal"));
        QCOMPARE(normal.fontWeight(), int(QFont::Normal));
        QVERIFY(!normal.fontItalic());
        QVERIFY(!normal.fontUnderline());
        QCOMPARE(normal.fontPointSize(), 10.0);
        QCOMPARE(normal.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
        QVERIFY(!normal.hasProperty(QTextFormat::ForegroundBrush));

        QCOMPARE(formatOf(doc, QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
        QVERIFY(formatOf(doc, QStringLiteral("italic")).fontItalic());
        QVERIFY(formatOf(doc, QStringLiteral("under")).fontUnderline());
        QVERIFY(formatOf(doc, QStringLiteral("struck")).fontStrikeOut());
        QCOMPARE(formatOf(doc, QStringLiteral("big")).fontPointSize(), 20.0);
        QCOMPARE(formatOf(doc, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
        QCOMPARE(formatOf(doc, QStringLiteral("blue")).foreground().color(), QColor(0, 0, 255));
        QCOMPARE(formatOf(doc, QStringLiteral("mono")).fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
        QCOMPARE(formatOf(doc, QStringLiteral("marked")).background().color(), QColor(0, 0, 255));
        QCOMPARE(formatOf(doc, QStringLiteral("up")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatOf(doc, QStringLiteral("down")).verticalAlignment(), QTextCharFormat::AlignSubScript);

        QVERIFY(formatOf(doc, QStringLiteral("all")).fontItalic());
        const QTextCharFormat plained = formatOf(doc, QStringLiteral("plained"));
        QCOMPARE(plained.fontWeight(), int(QFont::Normal));
        QVERIFY(!plained.fontItalic());
        QVERIFY(!plained.fontUnderline());
        QCOMPARE(plained.fontPointSize(), 12.0); // \plain gives back the default size
        QCOMPARE(formatOf(doc, QStringLiteral("unbold")).fontWeight(), int(QFont::Normal));
        QVERIFY(!formatOf(doc, QStringLiteral("ununder")).fontUnderline());
        QVERIFY(!formatOf(doc, QStringLiteral("nocolour")).hasProperty(QTextFormat::ForegroundBrush));
        QVERIFY(!formatOf(doc, QStringLiteral("auto")).hasProperty(QTextFormat::ForegroundBrush));

        // Every group gave its formatting back when it closed.
        const QTextCharFormat after = formatOf(doc, QStringLiteral("after"));
        QCOMPARE(after.fontWeight(), int(QFont::Normal));
        QCOMPARE(after.fontPointSize(), 10.0);
    }

    void carriesParagraphFormatting()
    {
        QTextDocument doc;
        const QByteArray rtf = "{\\rtf1\\pard\\qc centred\\par"
                               "\\pard\\qr right\\par"
                               "\\pard\\qj justified\\par"
                               "\\pard\\li600\\ri300\\fi-300\\sb150\\sa75 indented\\par"
                               "\\pard\\tx1500\\tqr\\tx3000 a\\tab b\\tab c\\par"
                               "\\pard plain\\par}";
        QCOMPARE(RtfReader::read(rtf, doc), RtfReader::Status::Complete);

        QCOMPARE(blockWith(doc, QStringLiteral("centred")).blockFormat().alignment(), Qt::AlignHCenter);
        QCOMPARE(blockWith(doc, QStringLiteral("right")).blockFormat().alignment(), Qt::AlignRight);
        QCOMPARE(blockWith(doc, QStringLiteral("justified")).blockFormat().alignment(), Qt::AlignJustify);

        const QTextBlockFormat indented = blockWith(doc, QStringLiteral("indented")).blockFormat();
        QCOMPARE(indented.leftMargin(), 40.0); // twips to pixels, 15 a pixel
        QCOMPARE(indented.rightMargin(), 20.0);
        QCOMPARE(indented.textIndent(), -20.0);
        QCOMPARE(indented.topMargin(), 10.0);
        QCOMPARE(indented.bottomMargin(), 5.0);

        const QList<QTextOption::Tab> tabs = blockWith(doc, QStringLiteral("a\tb")).blockFormat().tabPositions();
        QCOMPARE(tabs.size(), 2);
        QCOMPARE(tabs.at(0).position, 100.0); // twips to pixels
        QCOMPARE(tabs.at(0).type, QTextOption::LeftTab);
        QCOMPARE(tabs.at(1).position, 200.0);
        QCOMPARE(tabs.at(1).type, QTextOption::RightTab);

        // Tab stops count from the left edge in RTF, from the first line's start
        // in Qt; a hanging indent is a stop of its own.
        QTextDocument hanging;
        RtfReader::read("{\\rtf1\\pard\\li480\\fi-240\\tx480 \\bullet\\tab explicit\\par"
                        "\\pard\\li480\\fi-240 \\bullet\\tab implicit\\par"
                        "\\pard\\li600\\fi-600\\tx300\\tx900 a\\tab b\\tab c\\tab d\\par"
                        "\\pard\\li300\\tx150\\tx600 indented\\par}",
                        hanging);
        const auto positions = [&hanging](const char* text) {
            QList<qreal> at;
            for (const QTextOption::Tab& tab : blockWith(hanging, QLatin1String(text)).blockFormat().tabPositions())
                at << tab.position;
            return at;
        };
        QCOMPARE(positions("explicit"), (QList<qreal>{16}));
        QCOMPARE(positions("implicit"), (QList<qreal>{16}));
        QCOMPARE(positions("a\tb"), (QList<qreal>{20, 40, 60}));
        QCOMPARE(positions("indented"), (QList<qreal>{20}));

        // \pard took everything back.
        const QTextBlockFormat plain = blockWith(doc, QStringLiteral("plain")).blockFormat();
        QCOMPARE(plain.alignment(), Qt::AlignLeft);
        QCOMPARE(plain.leftMargin(), 0.0);
        QVERIFY(plain.tabPositions().isEmpty());

        // A last paragraph without \par keeps its formatting, whether the
        // document closes or is cut short.
        QTextDocument closing;
        RtfReader::read("{\\rtf1 first\\par\\pard\\qc\\li300 last}", closing);
        QCOMPARE(closing.lastBlock().text(), QStringLiteral("last"));
        QCOMPARE(closing.lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
        QCOMPARE(closing.lastBlock().blockFormat().leftMargin(), 20.0);
        QTextDocument cut;
        RtfReader::read("{\\rtf1 first\\par\\pard\\qr cut", cut);
        QCOMPARE(cut.lastBlock().blockFormat().alignment(), Qt::AlignRight);
    }

    void readsTheShippedHelpFile()
    {
        QFile file(QStringLiteral(TALLIVOX_HELP_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextDocument doc;
        QCOMPARE(RtfReader::read(file.readAll(), doc), RtfReader::Status::Complete);
        const QString text = doc.toPlainText();

        // No RTF leaks through as text, and the document information stays out.
        QVERIFY(!text.contains(QLatin1Char('\\')));
        QVERIFY(!text.contains(QLatin1Char('{')));
        QVERIFY(!text.contains(QLatin1Char('}')));
        QVERIFY(!text.contains(QStringLiteral("written by hand")));
        QVERIFY(!text.contains(QStringLiteral("Arial")));

        // Every command and quick key with its default, every option of every tab.
        const QStringList mentioned = {
            QStringLiteral("Esc"), QStringLiteral("F1"), QStringLiteral("F2"), QStringLiteral("F11"), QStringLiteral("F12"),
            QStringLiteral("Start/Stop clock\tS"), QStringLiteral("Reset clock\tR"), QStringLiteral("Reset shot clock\tT"),
            QStringLiteral("Game/Clock switch\tC"), QStringLiteral("Buzzer\tB"), QStringLiteral("Clear Number\tBackspace"),
            QStringLiteral("Home Score +1\tInsert"), QStringLiteral("Home Score +2\tHome"), QStringLiteral("Home Score +3\tPage Up"),
            QStringLiteral("Visitor Score +1\tDelete"), QStringLiteral("Visitor Score +2\tEnd"),
            QStringLiteral("Visitor Score +3\tPage Down"), QStringLiteral("Period +1\tP"),
            QStringLiteral("Start/Stop clock:"), QStringLiteral("Reset clock:"), QStringLiteral("Reset shot clock:"),
            QStringLiteral("Game/Clock switch:"), QStringLiteral("Clear Number:"), QStringLiteral("Buzzer:"),
            QStringLiteral("Numlock Options:"), QStringLiteral("Normal Mode"), QStringLiteral("Keep Numlock On"),
            QStringLiteral("Keep Numlock Off"), QStringLiteral("Reset Shot Clock to:"), QStringLiteral("Seconds"),
            QStringLiteral("Use shot clock"), QStringLiteral("Show separate shot clock window."), QStringLiteral("Reset Keys"),
            QStringLiteral("<Press any key>"), QStringLiteral("Choose another"),
            QStringLiteral("Time Color:"), QStringLiteral("Score Color:"), QStringLiteral("Period Color:"),
            QStringLiteral("LED Background:"), QStringLiteral("Back Color:"), QStringLiteral("Period Text Color:"),
            QStringLiteral("Home Name Color:"), QStringLiteral("Visitor Name Color:"), QStringLiteral("LED Selected"),
            QStringLiteral("Width:"), QStringLiteral("Reset Colors"),
            QStringLiteral("Home Name:"), QStringLiteral("Visitor Name:"), QStringLiteral("Period Label:"),
            QStringLiteral("Change Buzzer Sound..."), QStringLiteral("Change Shot Clock Sound..."),
            QStringLiteral("Reset Size and Position"), QStringLiteral("Show board as:"), QStringLiteral("Floating Screen"),
            QStringLiteral("Solid background color for video keying:"), QStringLiteral("Scoreboard Picture:"),
            QStringLiteral("Clear"), QStringLiteral("Digit Type:"), QStringLiteral("Lines"), QStringLiteral("Dots"),
            QStringLiteral("buzzer.wav"), QStringLiteral("horn.wav"), QStringLiteral("shot clock window"),
            QStringLiteral("Floating"), QStringLiteral("Solid background"), QStringLiteral("bottom-right corner"),
            QStringLiteral("99:59"), QStringLiteral("199"),
        };
        for (const QString& words : mentioned)
            QVERIFY2(text.contains(words), qPrintable(words));

        // Its look: a centred, bold, coloured title and bold headings.
        const QTextBlock title = doc.begin();
        QCOMPARE(title.text(), QStringLiteral("Tallivox Help"));
        QCOMPARE(title.blockFormat().alignment(), Qt::AlignHCenter);
        QCOMPARE(formatOf(doc, QStringLiteral("Tallivox Help")).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatOf(doc, QStringLiteral("Tallivox Help")).fontPointSize(), 20.0);
        QCOMPARE(formatOf(doc, QStringLiteral("The command keys")).fontWeight(), int(QFont::Bold));
        QVERIFY(formatOf(doc, QStringLiteral("The command keys")).hasProperty(QTextFormat::ForegroundBrush));
        QCOMPARE(formatOf(doc, QStringLiteral("Tallivox draws")).fontWeight(), int(QFont::Normal));
        QCOMPARE(formatOf(doc, QStringLiteral("Tallivox draws")).fontPointSize(), 10.0);
    }

    void statusTellsHowMuchWasRead_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<RtfReader::Status>("status");
        QTest::addColumn<QString>("text");

        QTest::newRow("whole") << QByteArray("{\\rtf1 a}") << RtfReader::Status::Complete << QStringLiteral("a");
        QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}} b") << RtfReader::Status::Complete << QStringLiteral("a");
        QTest::newRow("cut short") << QByteArray("{\\rtf1 a\\par b") << RtfReader::Status::Truncated << QStringLiteral("a\nb");
        QTest::newRow("cut inside a group") << QByteArray("{\\rtf1 a{\\b b") << RtfReader::Status::Truncated << QStringLiteral("ab");
        QTest::newRow("cut after a backslash") << QByteArray("{\\rtf1 a\\") << RtfReader::Status::Truncated << QStringLiteral("a");
        QTest::newRow("cut inside a hex byte") << QByteArray("{\\rtf1 a\\'4") << RtfReader::Status::Truncated << QStringLiteral("a4");
        QTest::newRow("bad hex digits") << QByteArray("{\\rtf1 a\\'zzb}") << RtfReader::Status::Complete << QStringLiteral("azzb");
        QTest::newRow("cut after \\u") << QByteArray("{\\rtf1 a\\u") << RtfReader::Status::Truncated << QStringLiteral("a\ufffd");
        QTest::newRow("\\u without a number") << QByteArray("{\\rtf1 a\\u b}") << RtfReader::Status::Complete << QStringLiteral("a\ufffd");
        QTest::newRow("cut inside binary data") << QByteArray("{\\rtf1 a\\bin100 xy") << RtfReader::Status::Truncated << QStringLiteral("a");
        QTest::newRow("cut inside a picture") << QByteArray("{\\rtf1 a{\\pict 0102") << RtfReader::Status::Truncated << QStringLiteral("a");
        QTest::newRow("only the header") << QByteArray("{\\rtf") << RtfReader::Status::Truncated << QString();
        QTest::newRow("empty file") << QByteArray() << RtfReader::Status::PlainText << QString();
        QTest::newRow("plain text") << QByteArray("Just words.\r\nTwo lines.") << RtfReader::Status::PlainText
                                    << QStringLiteral("Just words.\nTwo lines.");
        QTest::newRow("plain UTF-8") << QByteArray("caf\xc3\xa9") << RtfReader::Status::PlainText << QStringLiteral("caf\u00e9");
        QTest::newRow("plain 1252") << QByteArray("caf\xe9 \x80") << RtfReader::Status::PlainText << QStringLiteral("caf\u00e9 \u20ac");
        QTest::newRow("binary junk as text") << QByteArray("a\x00\x01z", 4) << RtfReader::Status::PlainText
                                             << QStringLiteral("a\ufffd\ufffdz");
        QTest::newRow("almost RTF") << QByteArray("{\\rt a}") << RtfReader::Status::PlainText << QStringLiteral("{\\rt a}");
    }

    void statusTellsHowMuchWasRead()
    {
        QFETCH(QByteArray, data);
        QFETCH(RtfReader::Status, status);
        QFETCH(QString, text);
        RtfReader::Status got;
        QCOMPARE(textOf(data, &got), text);
        QCOMPARE(got, status);
    }

    void boundsNumbersAndTables()
    {
        // Numbers far beyond any integer saturate instead of wrapping.
        QTextDocument doc;
        RtfReader::read("{\\rtf1{\\colortbl;\\red999999999999999999999\\green-5\\blue256;}"
                        "{\\fs99999999999999999999 huge}{\\fs-4 negative}{\\fs0 zero}"
                        "{\\cf1 clamped}\\li-99999999999999\\fi99999999999 \\tx-5\\tx99999999999999 x"
                        "\\u99999999999 ?\\uc99999999 \\u65 abc}",
                        doc);
        QCOMPARE(formatOf(doc, QStringLiteral("huge")).fontPointSize(), 400.0);
        QCOMPARE(formatOf(doc, QStringLiteral("negative")).fontPointSize(), 12.0);
        QCOMPARE(formatOf(doc, QStringLiteral("zero")).fontPointSize(), 12.0);
        QCOMPARE(formatOf(doc, QStringLiteral("clamped")).foreground().color(), QColor(255, 0, 255));
        const QTextBlockFormat block = doc.lastBlock().blockFormat();
        QCOMPARE(block.leftMargin(), 0.0);
        QCOMPARE(block.textIndent(), 31680 / 15.0);
        QVERIFY(block.tabPositions().isEmpty()); // the one stop lies where the first line starts
        QVERIFY(doc.toPlainText().endsWith(QStringLiteral("x\ufffdA")));

        // Tables and tab stops stop growing at their limits.
        QByteArray many = "{\\rtf1{\\colortbl;";
        for (int i = 0; i < 5000; ++i)
            many += "\\red1;";
        many += "}{\\fonttbl";
        for (int i = 0; i < 5000; ++i)
            many += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
        many += "{\\f5000 " + QByteArray(10000, 'N') + ";}}\\pard";
        for (int i = 1; i < 500; ++i)
            many += "\\tx" + QByteArray::number(i * 10);
        many += "{\\cf1 one}{\\cf4999 late}{\\f3 three}{\\f4999 gone}{\\f5000 long} end\\par}";
        QTextDocument big;
        QCOMPARE(RtfReader::read(many, big), RtfReader::Status::Complete);
        QCOMPARE(formatOf(big, QStringLiteral("one")).foreground().color(), QColor(1, 0, 0));
        QVERIFY(!formatOf(big, QStringLiteral("late")).hasProperty(QTextFormat::ForegroundBrush));
        QCOMPARE(formatOf(big, QStringLiteral("three")).fontFamilies().toStringList(), QStringList{QStringLiteral("F3")});
        QVERIFY(!formatOf(big, QStringLiteral("gone")).hasProperty(QTextFormat::FontFamilies));
        QVERIFY(!formatOf(big, QStringLiteral("long")).hasProperty(QTextFormat::FontFamilies));
        QCOMPARE(blockWith(big, QStringLiteral("one")).blockFormat().tabPositions().size(), 64);
    }

    void survivesHostileInputQuickly_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("mustContain");

        const int n = 200000;
        QTest::newRow("deep nesting left open") << (QByteArray("{\\rtf1 ") + QByteArray(n, '{') + "deep") << QStringLiteral("deep");
        QTest::newRow("deep nesting closed")
            << (QByteArray("{\\rtf1 ") + QByteArray(n, '{') + "deep" + QByteArray(n, '}') + " after}") << QStringLiteral("deep after");
        QTest::newRow("deep skipped groups")
            << (QByteArray("{\\rtf1 {\\*\\x") + QByteArray(n, '{') + "hidden" + QByteArray(n, '}') + "} shown}") << QStringLiteral(" shown");
        QByteArray formats = "{\\rtf1 ";
        for (int i = 0; i < n / 4; ++i)
            formats += "{\\b\\fs" + QByteArray::number(2 + i % 700) + " x}";
        QTest::newRow("a format change at every character") << (formats + "end}") << QStringLiteral("xxxend");
        QTest::newRow("many paragraphs") << (QByteArray("{\\rtf1 ") + QByteArray("p\\par ").repeated(n / 2) + "last}") << QStringLiteral("p\nlast");
        QTest::newRow("a very long control word") << (QByteArray("{\\rtf1 \\") + QByteArray(n, 'a') + " text}") << QStringLiteral("text");
        QTest::newRow("a very long number") << (QByteArray("{\\rtf1 \\fs") + QByteArray(n, '9') + " text}") << QStringLiteral("text");
        QTest::newRow("a huge \\bin at the end") << QByteArray("{\\rtf1 text\\bin2147483647 abc") << QStringLiteral("text");
        QTest::newRow("a negative \\bin") << QByteArray("{\\rtf1 \\bin-5 text}") << QStringLiteral("text");
        QTest::newRow("many unicode stand-ins") << (QByteArray("{\\rtf1\\uc16 ") + QByteArray("\\u65 ").repeated(n / 4) + "}") << QStringLiteral("AAA");
        QTest::newRow("only braces") << (QByteArray("{\\rtf1") + QByteArray("{}").repeated(n) + "x}") << QStringLiteral("x");
        QTest::newRow("only backslashes") << (QByteArray("{\\rtf1 ") + QByteArray(n, '\\')) << QStringLiteral("\\\\\\");
        QTest::newRow("nul bytes") << (QByteArray("{\\rtf1 a") + QByteArray(n, '\0') + "b}") << QStringLiteral("ab");

        // Binary junk after a good start: the same junk every run.
        QRandomGenerator random(20261206);
        QByteArray junk = "{\\rtf1 start ";
        for (int i = 0; i < n; ++i) {
            const quint32 r = random.bounded(256);
            junk += char(r);
        }
        QTest::newRow("binary junk") << junk << QStringLiteral("start");
        QByteArray codes = "{\\rtf1 start ";
        const char* pieces[] = {"{", "}", "\\b", "\\u-1", "\\'", "\\par", "\\bin1 ", "\\*", "\\uc3", "x", "\\fonttbl", "\\colortbl", ";", "\\f1", "\\cf2", " "};
        for (int i = 0; i < n / 2; ++i)
            codes += pieces[random.bounded(int(std::size(pieces)))];
        QTest::newRow("random control words") << codes << QStringLiteral("start");
    }

    void survivesHostileInputQuickly()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, mustContain);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        RtfReader::read(data, doc);
        const QString text = doc.toPlainText();
        // Generous for a busy machine; a quadratic reader takes minutes here.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        QVERIFY2(text.contains(mustContain), qPrintable(text.left(80)));
    }

    void overDeepGroupsStillShowTheirText()
    {
        const int depth = RtfReader::MaxGroupDepth + 50;
        const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " after}";
        QTextDocument doc;
        QCOMPARE(RtfReader::read(rtf, doc), RtfReader::Status::Complete);
        QCOMPARE(doc.toPlainText(), QStringLiteral("deep after"));
        // The groups that were kept restore the outer formatting.
        QCOMPARE(formatOf(doc, QStringLiteral("after")).fontWeight(), int(QFont::Normal));
    }

    void readingReplacesTheDocument()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("old"));
        RtfReader::read("{\\rtf1 new}", doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("new"));
        RtfReader::read("{\\rtf1{\\b bold}\\par}", doc);
        RtfReader::read("{\\rtf1 plain}", doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("plain"));
        QCOMPARE(formatOf(doc, QStringLiteral("plain")).fontWeight(), int(QFont::Normal));
    }

    void loadsFilesOnlyWhenThereIsOne()
    {
        QTemporaryDir dir;
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("untouched"));
        QVERIFY(!loadRtfFile(dir.filePath(QStringLiteral("missing.rtf")), doc));
        QVERIFY(!loadRtfFile(dir.path(), doc)); // a folder is no file
        QCOMPARE(doc.toPlainText(), QStringLiteral("untouched"));

        QFile file(dir.filePath(QStringLiteral("help.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 from the file}");
        file.close();
        RtfReader::Status status;
        QVERIFY(loadRtfFile(file.fileName(), doc, &status));
        QCOMPARE(status, RtfReader::Status::Complete);
        QCOMPARE(doc.toPlainText(), QStringLiteral("from the file"));
    }

    void readsNoMoreThanTheLimitOfAFile()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("huge.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 ");
        const QByteArray chunk(1024 * 1024, 'a');
        for (qint64 written = 0; written <= MaxHelpFileBytes; written += chunk.size())
            file.write(chunk);
        file.write("}");
        file.close();
        QTextDocument doc;
        RtfReader::Status status;
        QVERIFY(loadRtfFile(file.fileName(), doc, &status));
        QCOMPARE(status, RtfReader::Status::Truncated);
        QCOMPARE(qint64(doc.characterCount() - 1), MaxHelpFileBytes - 7);
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
