// The rich text reader: each construct on small hand-made documents, the
// formatting it carries, and damaged or hostile input,
// which must give what could be read, quickly, and never crash.

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

// Block by block: toPlainText() would turn line breaks and no-break spaces into
// their plain forms.
QString textOf(const QTextDocument& doc)
{
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

QTextBlockFormat blockFormatOf(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(text))
            return b.blockFormat();
    }
    return {};
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEachConstructAsText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");

        QTest::newRow("paragraphs") << QByteArray("{\\rtf1 one\\par two\\par three}") << QStringLiteral("one\ntwo\nthree");
        QTest::newRow("the space after a word is its delimiter") << QByteArray("{\\rtf1\\b  x}") << QStringLiteral(" x");
        QTest::newRow("line ends in the file are not text") << QByteArray("{\\rtf1 a\r\nb\nc}") << QStringLiteral("abc");
        QTest::newRow("escaped braces and backslash") << QByteArray("{\\rtf1 \\{a\\}\\\\}") << QStringLiteral("{a}\\");
        QTest::newRow("hex bytes in the 1252 range") << QByteArray("{\\rtf1 caf\\'e9 \\'80\\'93x\\'94}")
                                                     << QStringLiteral("caf\u00e9 \u20ac\u201cx\u201d");
        QTest::newRow("unicode skips one stand-in") << QByteArray("{\\rtf1 \\u8364?5}") << QStringLiteral("\u20ac5");
        QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-3913?}") << QStringLiteral("\uf0b7");
        QTest::newRow("uc2 skips two") << QByteArray("{\\rtf1\\uc2 \\u233 abc}") << QStringLiteral("\u00e9c");
        QTest::newRow("uc belongs to its group") << QByteArray("{\\rtf1{\\uc2 \\u233 ab}\\u233 xy}") << QStringLiteral("\u00e9\u00e9y");
        QTest::newRow("stand-in is a hex byte") << QByteArray("{\\rtf1 \\u233\\'e9x}") << QStringLiteral("\u00e9x");
        QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QStringLiteral("\U0001F600");
        QTest::newRow("lone high surrogate") << QByteArray("{\\rtf1 \\u-10179?x}") << QStringLiteral("\ufffdx");
        QTest::newRow("tabs") << QByteArray("{\\rtf1 a\\tab b\tc}") << QStringLiteral("a\tb\tc");
        QTest::newRow("line break and named punctuation") << QByteArray("{\\rtf1 a\\line\\emdash\\bullet\\rquote\\~}")
                                                          << QStringLiteral("a\u2028\u2014\u2022\u2019\u00a0");
        QTest::newRow("starred group is left out") << QByteArray("{\\rtf1 a{\\*\\unknown x{y}z}b}") << QStringLiteral("ab");
        QTest::newRow("font and colour tables, style sheet, info")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                          "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x}")
            << QStringLiteral("x");
        QTest::newRow("picture with binary braces") << QByteArray("{\\rtf1 a{\\pict\\wmetafile8\\bin4 {}}\\ 0a0b}b}") << QStringLiteral("ab");
        QTest::newRow("field shows its result")
            << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}") << QStringLiteral("link");
        QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v secret}b\\v c\\v0 d}") << QStringLiteral("abd");
        QTest::newRow("unknown words are ignored") << QByteArray("{\\rtf1\\foo123 \\bar-4 x\\baz y}") << QStringLiteral("xy");
        QTest::newRow("table cells and rows")
            << QByteArray("{\\rtf1\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row c}") << QStringLiteral("a\tb\t\nc");
    }

    void readsEachConstructAsText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QTextDocument doc;
        QCOMPARE(RtfReader::read(rtf, doc), RtfReader::Status::Complete);
        QCOMPARE(textOf(doc), text);
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

        const QTextCharFormat normal = formatOf(doc, QStringLiteral("normal"));
        QCOMPARE(normal.fontWeight(), int(QFont::Normal));
        QCOMPARE(normal.fontPointSize(), 10.0);
        QCOMPARE(normal.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
        QVERIFY(!normal.hasProperty(QTextFormat::ForegroundBrush));
        QCOMPARE(formatOf(doc, QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
        QVERIFY(formatOf(doc, QStringLiteral("italic")).fontItalic());
        QVERIFY(formatOf(doc, QStringLiteral("under")).fontUnderline());
        QCOMPARE(formatOf(doc, QStringLiteral("big")).fontPointSize(), 20.0);
        QCOMPARE(formatOf(doc, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
        QCOMPARE(formatOf(doc, QStringLiteral("blue")).foreground().color(), QColor(0, 0, 255));
        QCOMPARE(formatOf(doc, QStringLiteral("mono")).fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
        const QTextCharFormat plained = formatOf(doc, QStringLiteral("plained"));
        QVERIFY(plained.fontWeight() == QFont::Normal && !plained.fontItalic() && !plained.fontUnderline());
        QCOMPARE(plained.fontPointSize(), 12.0); // \plain gives back the default size
        QVERIFY(!formatOf(doc, QStringLiteral("nocolour")).hasProperty(QTextFormat::ForegroundBrush));
        // Every group gave its formatting back when it closed.
        QCOMPARE(formatOf(doc, QStringLiteral("after")).fontWeight(), int(QFont::Normal));
        QCOMPARE(formatOf(doc, QStringLiteral("after")).fontPointSize(), 10.0);

        QCOMPARE(blockFormatOf(doc, QStringLiteral("centred")).alignment(), Qt::AlignHCenter);
        QCOMPARE(blockFormatOf(doc, QStringLiteral("indented")).leftMargin(), 40.0); // 15 twips a pixel
        QCOMPARE(blockFormatOf(doc, QStringLiteral("indented")).textIndent(), -20.0);
        const QList<QTextOption::Tab> tabs = blockFormatOf(doc, QStringLiteral("a\tb")).tabPositions();
        QCOMPARE(tabs.size(), 2);
        QCOMPARE(tabs.at(0).position, 100.0);
        QCOMPARE(tabs.at(1).type, QTextOption::RightTab);
        // Stops count from the left edge in RTF, from the first line's start in Qt;
        // a hanging indent is a stop of its own.
        QList<qreal> hanging;
        for (const QTextOption::Tab& tab : blockFormatOf(doc, QStringLiteral("h\tb")).tabPositions())
            hanging << tab.position;
        QCOMPARE(hanging, (QList<qreal>{20, 40, 60}));
        // \pard took everything back.
        QCOMPARE(blockFormatOf(doc, QStringLiteral("plain")).alignment(), Qt::AlignLeft);
        QVERIFY(blockFormatOf(doc, QStringLiteral("plain")).tabPositions().isEmpty());
    }

    // Each row must finish quickly and show at least `text`; `status` is -1 where
    // any outcome will do.
    void damagedOrHostileInput_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const int complete = int(RtfReader::Status::Complete), truncated = int(RtfReader::Status::Truncated),
                  plain = int(RtfReader::Status::PlainText);
        const int n = 200000;

        QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}} b") << complete << QStringLiteral("a");
        QTest::newRow("cut short") << QByteArray("{\\rtf1 a\\par b") << truncated << QStringLiteral("a\nb");
        QTest::newRow("cut inside a group") << QByteArray("{\\rtf1 a{\\b b") << truncated << QStringLiteral("ab");
        QTest::newRow("cut inside a hex byte") << QByteArray("{\\rtf1 a\\'4") << truncated << QStringLiteral("a4");
        QTest::newRow("cut inside binary data") << QByteArray("{\\rtf1 a\\bin100 xy") << truncated << QStringLiteral("a");
        QTest::newRow("\\u without a number") << QByteArray("{\\rtf1 a\\u b}") << complete << QStringLiteral("a\ufffd");
        QTest::newRow("empty file") << QByteArray() << plain << QString();
        QTest::newRow("plain 1252 text") << QByteArray("caf\xe9 \x80\r\nx") << plain << QStringLiteral("caf\u00e9 \u20ac\nx");
        QTest::newRow("binary junk as text") << QByteArray("a\x00\x01z", 4) << plain << QStringLiteral("a\ufffd\ufffdz");
        QTest::newRow("deep nesting left open") << (QByteArray("{\\rtf1 ") + QByteArray(n, '{') + "deep") << truncated
                                                << QStringLiteral("deep");
        QTest::newRow("deep nesting closed")
            << (QByteArray("{\\rtf1 ") + QByteArray(n, '{') + "\\b deep" + QByteArray(n, '}') + " after}") << complete
            << QStringLiteral("deep after");
        const int depth = RtfReader::MaxGroupDepth + 50;
        QTest::newRow("just past the depth limit")
            << (QByteArray("{\\rtf1 ") + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " after}") << complete
            << QStringLiteral("deep after");
        QTest::newRow("huge numbers") << QByteArray("{\\rtf1{\\fs99999999999999999999 huge}\\li-99999999999999\\u99999999999 ?}")
                                      << complete << QStringLiteral("huge\ufffd");
        QTest::newRow("a very long number") << (QByteArray("{\\rtf1 \\fs") + QByteArray(n, '9') + " text}") << complete
                                            << QStringLiteral("text");
        QTest::newRow("a very long control word") << (QByteArray("{\\rtf1 \\") + QByteArray(n, 'a') + " text}") << complete
                                                  << QStringLiteral("text");
        QTest::newRow("a huge \\bin at the end") << QByteArray("{\\rtf1 text\\bin2147483647 abc") << truncated << QStringLiteral("text");
        QTest::newRow("a negative \\bin") << QByteArray("{\\rtf1 \\bin-5 text}") << -1 << QStringLiteral("text");
        QByteArray formats = "{\\rtf1 ";
        for (int i = 0; i < n / 4; ++i)
            formats += "{\\b\\fs" + QByteArray::number(2 + i % 700) + " x}";
        QTest::newRow("a format change at every character") << (formats + "end}") << complete << QStringLiteral("xxxend");
        QTest::newRow("nul bytes") << (QByteArray("{\\rtf1 a") + QByteArray(n, '\0') + "b}") << complete << QStringLiteral("ab");
        // Control words at random: the same ones every run.
        QRandomGenerator random(20261206);
        QByteArray codes = "{\\rtf1 start ";
        const char* pieces[] = {"{", "}", "\\b", "\\u-1", "\\'", "\\par", "\\bin1 ", "\\*", "\\uc3", "x", "\\fonttbl", "\\cf2", " "};
        for (int i = 0; i < n / 2; ++i)
            codes += pieces[random.bounded(int(std::size(pieces)))];
        QTest::newRow("random control words") << codes << -1 << QStringLiteral("start");
    }

    void damagedOrHostileInput()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, status);
        QFETCH(QString, text);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        const RtfReader::Status got = RtfReader::read(data, doc);
        // Generous for a busy machine; a quadratic reader takes minutes here.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        QVERIFY2(textOf(doc).contains(text), qPrintable(textOf(doc).left(80)));
        if (status >= 0)
            QCOMPARE(int(got), status);
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
