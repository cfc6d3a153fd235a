#pragma once
// The RTF reader's parser: one pass over the bytes, a stack of group states, and
// a cursor that writes runs of equally formatted text into the document.
//
// Sources: rtfparser.cpp (bytes, groups, text, paragraphs),
// rtfparser_words.cpp (what each control word does, the formats).

#include "rtfreader.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextCursor>
#include <QTextOption>

#include <string_view>

class QTextBlockFormat;
class QTextCharFormat;

namespace rtf {

constexpr int MaxColours = 1024;
constexpr int MaxFonts = 1024;
constexpr int MaxFontNameLength = 128;
constexpr int MaxTabStops = 64;
constexpr int MaxWordLength = 32;
constexpr int ParamLimit = 1'000'000'000; // larger numbers saturate here
constexpr int MaxUnicodeSkip = 16;
constexpr int MaxTwips = 31680;           // 22 inches: no page is wider
constexpr double TwipsPerPixel = 15.0;

enum class Dest { Text, Skip, FontTable, ColourTable };

struct CharState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int halfPoints = 24;
    int colour = 0; // colour table index; 0 is the automatic colour
    int highlight = 0;
    int font = -1; // -1: the document's default font
    int vertical = 0; // 1 superscript, -1 subscript

    bool operator==(const CharState&) const = default;
};

struct ParaState
{
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0; // twips
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    QList<QTextOption::Tab> tabs; // positions in twips from the left edge, ascending as written
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
};

struct GroupState
{
    Dest dest = Dest::Text;
    CharState chars;
    ParaState para;
    int uc = 1;
};

class Parser
{
public:
    // `stop`, when given, is watched while reading: once it is set the reader
    // gives up at once, leaving what it had read.
    explicit Parser(QTextDocument& document, const std::atomic<bool>* stop = nullptr)
        : m_cursor(&document)
        , m_stop(stop)
    {
    }

    // `start`: where the document's outer group opens.
    RtfReader::Status run(const QByteArray& data, qsizetype start);

private:
    void parse();
    void openGroup();
    bool closeGroup(); // false once the outer group has closed
    void controlWord();
    void controlSymbol();
    void applyWord(std::string_view word, bool hasParam, int param);
    void textByte(unsigned char c);
    void emitUnit(char16_t unit);
    void emitCodePoint(qint64 codePoint);
    void appendToRun(QChar c);
    void flushRun();
    void storeFontName();
    void endParagraph();
    void finish();
    bool consumeSkippedToken();

    QTextCharFormat charFormat(const CharState& ch) const;
    QTextBlockFormat blockFormat() const;

    QTextCursor m_cursor;
    const std::atomic<bool>* m_stop = nullptr;
    const char* m_p = nullptr;
    const char* m_end = nullptr;

    GroupState m_state;
    QList<GroupState> m_stack;
    int m_depth = 0;          // groups open, counting those beyond the kept states
    int m_pendingSkip = 0;    // characters still to skip after a \uN
    char16_t m_highSurrogate = 0;

    QList<QColor> m_colours;
    bool m_colourHasComponent = false;
    int m_red = 0, m_green = 0, m_blue = 0;

    QHash<int, QString> m_fonts;
    int m_fontNumber = -1;
    QString m_fontName;
    int m_defaultFont = 0;

    QString m_run;
    CharState m_runState;
    bool m_runStateValid = false;
    bool m_blockHasText = false; // the current paragraph has text in the document
    bool m_closed = false;
};

} // namespace rtf
