// The rich text reader: each construct on small hand-made documents, the
// formatting it carries, and damaged or hostile input,
// which must give what could be read, quickly, and never crash.

#include "rtfreader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

Q_DECLARE_METATYPE(RtfReader::Status)

namespace {

// Block by block: toPlainText() would turn line breaks and no-break spaces into
// their plain forms.
QString textOf(const QTextDocument& doc)
{
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        blocks << b.text();
    return blocks.join(QLatin1Char('\n'));
}

// Each paragraph's format, then each of its fragments with its character format:
// bold, italic, underlined, size, fonts and colour ("-" for none).
QString formatsOf(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat p = b.blockFormat();
        QStringList tabs;
        for (const QTextOption::Tab& tab : p.tabPositions())
            tabs << QString::number(tab.position) + (tab.type == QTextOption::RightTab ? "r" : "");
        lines << QStringLiteral("align %1 margin %2 indent %3 tabs %4")
                     .arg(int(p.alignment())).arg(p.leftMargin()).arg(p.textIndent()).arg(tabs.join(u','));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            lines << QStringLiteral("  %1: %2%3%4 %5 %6 %7")
                         .arg(it.fragment().text(), f.fontWeight() == QFont::Bold ? "b" : "", f.fontItalic() ? "i" : "",
                              f.fontUnderline() ? "u" : "")
                         .arg(f.fontPointSize())
                         .arg(f.fontFamilies().toStringList().join(u','),
                              f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "-");
        }
    }
    return lines.join(u'\n');
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row must finish quickly, with the status given and exactly the text given;
    // a status of -1 takes any status and text that starts with the one given.
    void readsWhatItCanQuickly_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const int complete = int(RtfReader::Status::Complete), truncated = int(RtfReader::Status::Truncated),
                  plain = int(RtfReader::Status::PlainText);
        const auto row = [](const char* name, const QByteArray& rtf, const QString& text, int s) { QTest::newRow(name) << rtf << s << text; };
        // Each construct.
        row("paragraphs", "{\\rtf1 one\\par two\\par three}", "one\ntwo\nthree", complete);
        row("the space after a word is its delimiter", "{\\rtf1\\b  x}", " x", complete);
        row("line ends in the file are not text", "{\\rtf1 a\r\nb\nc}", "abc", complete);
        row("escaped braces and backslash", "{\\rtf1 \\{a\\}\\\\}", "{a}\\", complete);
        row("hex bytes in the 1252 range", "{\\rtf1 caf\\'e9 \\'80\\'93x\\'94}", "caf\u00e9 \u20ac\u201cx\u201d", complete);
        row("unicode skips one stand-in", "{\\rtf1 \\u8364?5}", "\u20ac5", complete);
        row("negative unicode", "{\\rtf1 \\u-3913?}", "\uf0b7", complete);
        row("uc2 skips two", "{\\rtf1\\uc2 \\u233 abc}", "\u00e9c", complete);
        row("uc belongs to its group", "{\\rtf1{\\uc2 \\u233 ab}\\u233 xy}", "\u00e9\u00e9y", complete);
        row("stand-in is a hex byte", "{\\rtf1 \\u233\\'e9x}", "\u00e9x", complete);
        row("surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", QString::fromUcs4(U"\U0001F600"), complete);
        row("lone high surrogate", "{\\rtf1 \\u-10179?x}", "\ufffdx", complete);
        row("tabs", "{\\rtf1 a\\tab b\tc}", "a\tb\tc", complete);
        row("line break and named punctuation", "{\\rtf1 a\\line\\emdash\\bullet\\rquote\\~}", "a\u2028\u2014\u2022\u2019\u00a0", complete);
        row("starred group is left out", "{\\rtf1 a{\\*\\unknown x{y}z}b}", "ab", complete);
        row("font and colour tables, style sheet, info",
            "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x}",
            "x", complete);
        row("picture with binary braces", "{\\rtf1 a{\\pict\\wmetafile8\\bin4 {}}\\ 0a0b}b}", "ab", complete);
        row("field shows its result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link", complete);
        row("hidden text", "{\\rtf1 a{\\v secret}b\\v c\\v0 d}", "abd", complete);
        row("unknown words are ignored", "{\\rtf1\\foo123 \\bar-4 x\\baz y}", "xy", complete);
        row("table cells and rows", "{\\rtf1\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c}", "a\tb\t\nc", complete);
        // Damaged input: what could be read.
        row("extra closing braces", "{\\rtf1 a}}}} b", "a", complete);
        row("cut short", "{\\rtf1 a\\par b", "a\nb", truncated);
        row("cut inside a group", "{\\rtf1 a{\\b b", "ab", truncated);
        row("cut inside a hex byte", "{\\rtf1 a\\'4", "a4", truncated);
        row("cut inside binary data", "{\\rtf1 a\\bin100 xy", "a", truncated);
        row("\\u without a number", "{\\rtf1 a\\u b}", "a\ufffd", complete);
        row("empty file", QByteArray(), QString(), plain);
        row("plain 1252 text", "caf\xe9 \x80\r\nx", "caf\u00e9 \u20ac\nx", plain);
        row("binary junk as text", QByteArray("a\x00\x01z", 4), "a\ufffd\ufffdz", plain);
        // Hostile input: nesting, numbers and words without bound, in linear time.
        const int n = 200000;
        row("deep nesting left open", "{\\rtf1 " + QByteArray(n, '{') + "deep", "deep", truncated);
        row("deep nesting closed", "{\\rtf1 " + QByteArray(n, '{') + "\\b deep" + QByteArray(n, '}') + " after}", "deep after", complete);
        const int depth = RtfReader::MaxGroupDepth - 2; // with the outer group and the last, every group is kept
        row("formatting given back at the depth limit", "{\\rtf1 " + QByteArray(depth, '{') + "{\\v hidden}shown" + QByteArray(depth, '}') + "}", "shown", complete);
        row("huge numbers", "{\\rtf1{\\fs99999999999999999999 huge}\\li-99999999999999\\u99999999999 ?}", "huge\ufffd", complete);
        row("a very long number", "{\\rtf1 \\fs" + QByteArray(n, '9') + " text}", "text", complete);
        row("a very long control word", "{\\rtf1 \\" + QByteArray(n, 'a') + " text}", "text", complete);
        row("a huge \\bin at the end", "{\\rtf1 text\\bin2147483647 abc", "text", truncated);
        row("a negative \\bin", "{\\rtf1 \\bin-5 text}", "text", -1);
        QByteArray formats = "{\\rtf1 ";
        for (int i = 0; i < n / 4; ++i)
            formats += "{\\b\\fs" + QByteArray::number(2 + i % 700) + " x}";
        row("a format change at every character", formats + "end}", QString(n / 4, u'x') + "end", complete);
        row("nul bytes", QByteArray("{\\rtf1 a") + QByteArray(n, '\0') + "b}", "ab", complete);
    }

    void readsWhatItCanQuickly()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, status);
        QFETCH(QString, text);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        const RtfReader::Status got = RtfReader::read(rtf, doc);
        // Generous for a busy machine; a quadratic reader takes minutes here.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        if (status < 0)
            QVERIFY2(textOf(doc).startsWith(text), qPrintable(textOf(doc).left(80)));
        else
            QCOMPARE(std::pair(int(got), textOf(doc)), std::pair(status, text));
    }

    void carriesFormatting()
    {
        QTextDocument doc;
        const QByteArray rtf =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
            "\\fs20 normal {\\b bold}{\\i italic}{\\ul under}{\\fs40 big}{\\cf1 red}{\\cf2 blue}{\\f1 mono}"
            "{\\b\\i\\ul all\\plain plained}{\\cf9 nocolour} after\\par"
            "\\pard\\qc centred\\par\\pard\\li600\\fi-300 indented\\par\\pard\\tx1500\\tqr\\tx3000 a\\tab b\\par"
            "\\pard\\li600\\fi-600\\tx300\\tx900 h\\tab b\\tab c\\par"
            "\\pard plain}";
        QCOMPARE(RtfReader::read(rtf, doc), RtfReader::Status::Complete);
        // Every group gives its formatting back when it closes, \plain gives back the
        // default size, and \pard the paragraph's. Indents and stops are 15 twips a
        // pixel; Qt counts stops from the first line's start, so a hanging indent is one.
        QCOMPARE(formatsOf(doc),
                 QStringLiteral("align 1 margin 0 indent 0 tabs \n  normal :  10 Arial -\n  bold: b 10 Arial -\n"
                                "  italic: i 10 Arial -\n  under: u 10 Arial -\n  big:  20 Arial -\n"
                                "  red:  10 Arial #ff0000\n  blue:  10 Arial #0000ff\n  mono:  10 Courier New -\n"
                                "  all: biu 10 Arial -\n  plained:  12 Arial -\n  nocolour after:  10 Arial -\n"
                                "align 4 margin 0 indent 0 tabs \n  centred:  10 Arial -\n"
                                "align 1 margin 40 indent -20 tabs 20\n  indented:  10 Arial -\n"
                                "align 1 margin 0 indent 0 tabs 100,200r\n  a\tb:  10 Arial -\n"
                                "align 1 margin 40 indent -40 tabs 20,40,60\n  h\tb\tc:  10 Arial -\n"
                                "align 1 margin 0 indent 0 tabs \n  plain:  10 Arial -"));
    }

    void refusesAFileOverTheLimitAndReadsOneAtIt()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("huge.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 ");
        file.write(QByteArray(MaxHelpFileBytes - 7, 'a'));
        file.flush();
        QTextDocument doc;
        RtfReader::Status status;
        QCOMPARE(loadRtfFile(file.fileName(), doc, &status), HelpFileLoad::Loaded);
        QCOMPARE(status, RtfReader::Status::Truncated);
        QCOMPARE(qint64(doc.characterCount() - 1), MaxHelpFileBytes - 7);

        file.write("a");
        file.close();
        doc.setPlainText(QStringLiteral("kept"));
        QCOMPARE(loadRtfFile(file.fileName(), doc, &status), HelpFileLoad::TooLarge);
        QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
