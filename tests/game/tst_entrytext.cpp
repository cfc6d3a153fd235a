// Typed entries on the scores, the period and the game clock.

#include "entrytext.h"

#include <QTest>

namespace {

// Types a line of characters ("12\n" is 1, 2, Enter; "c" the clear mark, " " Space).
int typeInto(EntryBuffer& buffer, const QString& name, int caption, const QString& keys, int maxValue)
{
    for (const QChar k : keys) {
        const int c = k == u'\n' ? charcode::Enter : k == u'c' ? charcode::ClearMark : k.unicode();
        caption = EnterDisplayDigit(buffer, name, caption, c, -1, maxValue);
    }
    return caption;
}

std::optional<ClockSeconds> typeTime(EntryBuffer& buffer, const QString& keys)
{
    std::optional<ClockSeconds> result;
    for (const QChar k : keys)
        result = EnterClockDigit(buffer, QStringLiteral("cdGame"), k == u'\n' ? charcode::Enter : k.unicode(), 5999);
    return result;
}

} // namespace

class TestEntryText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scoreAndPeriodEntry_data()
    {
        QTest::addColumn<int>("caption");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("expected");
        QTest::newRow("digits then Enter") << 7 << "12\n" << 199 << 12;
        QTest::newRow("200 is over the limit") << 7 << "200\n" << 199 << 7;
        QTest::newRow("minus then digit steps at once") << 10 << "-3" << 199 << 7;
        QTest::newRow("0 minus 1 blanks") << 0 << "-1" << 199 << -1;
        QTest::newRow("period takes a digit at once") << 3 << "5" << 9 << 5;
        QTest::newRow("period 9 plus 1 is refused") << 9 << "+1" << 9 << 9;
        QTest::newRow("clear mark blanks") << 42 << "c" << 199 << -1;
        QTest::newRow("blank counts as 0 for a step") << -1 << "+2" << 199 << 2;
        QTest::newRow("Space empties the buffer") << 5 << "1 \n" << 199 << 5;
        QTest::newRow("digits without Enter change nothing yet") << 5 << "12" << 199 << 5;
        QTest::newRow("hundreds of digits are refused") << 5 << QString(300, u'9') + u'\n' << 199 << 5;
    }
    void scoreAndPeriodEntry()
    {
        QFETCH(int, caption);
        QFETCH(QString, keys);
        QFETCH(int, maxValue);
        QFETCH(int, expected);
        EntryBuffer buffer;
        QCOMPARE(typeInto(buffer, QStringLiteral("ddHomeScore"), caption, keys, maxValue), expected);
    }

    void buffersSurviveASwitchBetweenAScoreAndTheClock()
    {
        EntryBuffer digits;
        EntryBuffer clock;
        typeInto(digits, QStringLiteral("ddHomeScore"), 0, QStringLiteral("1"), 199);
        QCOMPARE(typeTime(clock, QStringLiteral("5.3\n")), std::optional(ClockSeconds::fromSeconds(303)));
        QCOMPARE(typeInto(digits, QStringLiteral("ddHomeScore"), 0, QStringLiteral("2\n"), 199), 12);
        // Another score starts afresh.
        typeInto(digits, QStringLiteral("ddHomeScore"), 0, QStringLiteral("1"), 199);
        QCOMPARE(typeInto(digits, QStringLiteral("ddVisitorScore"), 0, QStringLiteral("4\n"), 199), 4);
    }

    void clockTexts_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<qint64>("tenths"); // -1: refused
        QTest::newRow("12 is twelve minutes") << "12\n" << qint64(7200);
        QTest::newRow("5.3 is 5:03 not 5:30") << "5.3\n" << qint64(3030);
        QTest::newRow("0.457 is 45.7 s") << "0.457\n" << qint64(457);
        QTest::newRow("99.599 is over 5999 s") << "99.599\n" << qint64(-1);
        QTest::newRow("two points are refused") << "1.2.3\n" << qint64(-1);
        QTest::newRow("1.75 adds the excess seconds") << "1.75\n" << qint64(1350);
        QTest::newRow("only a point is zero") << ".\n" << qint64(0);
        QTest::newRow("Space empties the buffer") << "12 \n" << qint64(0);
        QTest::newRow("more than 8 characters") << "000000001\n" << qint64(-1);
        QTest::newRow("no Enter applies nothing") << "12" << qint64(-1);
    }
    void clockTexts()
    {
        QFETCH(QString, keys);
        QFETCH(qint64, tenths);
        EntryBuffer buffer;
        const auto result = typeTime(buffer, keys);
        QCOMPARE(result ? result->ticks() : -1, tenths < 0 ? -1 : ClockSeconds::fromTenths(tenths).ticks());
    }

    void parseClockTextRefusesForeignCharacters()
    {
        QCOMPARE(ParseClockText(QStringLiteral("1a")), std::nullopt);
        QCOMPARE(ParseClockText(QStringLiteral("-1")), std::nullopt);
        QCOMPARE(ParseClockText(QStringLiteral("٣")), std::nullopt); // a non-ASCII digit
    }
};

QTEST_APPLESS_MAIN(TestEntryText)
#include "tst_entrytext.moc"
