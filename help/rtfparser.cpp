#include "rtfparser.h"

#include "rtfkeywords.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>

namespace rtf {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

RtfReader::Status Parser::run(const QByteArray& data, qsizetype start)
{
    m_p = data.constData() + start;
    m_end = data.constData() + data.size();
    m_cursor.beginEditBlock();
    parse();
    if (!m_closed)
        finish();
    m_cursor.endEditBlock();
    return m_closed ? RtfReader::Status::Complete : RtfReader::Status::Truncated;
}

void Parser::parse()
{
    while (m_p < m_end && !m_closed) {
        if (m_stop && m_stop->load(std::memory_order_relaxed))
            return;
        const char c = *m_p;
        switch (c) {
        case '{':
            ++m_p;
            openGroup();
            break;
        case '}':
            ++m_p;
            // The last paragraph takes the formatting of the document's own group.
            if (m_depth == 1)
                finish();
            m_closed = !closeGroup();
            break;
        case '\\':
            ++m_p;
            if (m_p >= m_end)
                return;
            if (isLetter(*m_p))
                controlWord();
            else
                controlSymbol();
            break;
        case '\r':
        case '\n':
            ++m_p; // line ends in RTF are only there for the file's sake
            break;
        default:
            ++m_p;
            if (consumeSkippedToken())
                break;
            textByte(static_cast<unsigned char>(c));
            break;
        }
    }
}

// A \uN is followed by a stand-in for readers without Unicode: the next \ucN
// characters, control words or \'hh escapes are dropped. A brace ends it early.
bool Parser::consumeSkippedToken()
{
    if (m_pendingSkip <= 0)
        return false;
    --m_pendingSkip;
    return true;
}

void Parser::openGroup()
{
    m_pendingSkip = 0;
    ++m_depth;
    if (m_stack.size() < RtfReader::MaxGroupDepth)
        m_stack.append(m_state);
}

bool Parser::closeGroup()
{
    m_pendingSkip = 0;
    if (m_depth <= 0)
        return true; // a closing brace before any group: nothing to close
    // Only the groups that were kept get their state back; deeper ones shared it.
    if (m_depth <= m_stack.size()) {
        // A font entry may end with its group instead of a semicolon.
        if (m_state.dest == Dest::FontTable)
            storeFontName();
        m_state = m_stack.takeLast();
    }
    --m_depth;
    return m_depth > 0;
}

void Parser::controlWord()
{
    const char* start = m_p;
    while (m_p < m_end && isLetter(*m_p))
        ++m_p;
    // Longer words are no RTF words: they are read through and ignored.
    const auto length = std::min<std::ptrdiff_t>(m_p - start, MaxWordLength + 1);
    const std::string_view word(start, size_t(length));

    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (m_p + 1 < m_end && *m_p == '-' && isDigit(m_p[1])) {
        negative = true;
        ++m_p;
    }
    while (m_p < m_end && isDigit(*m_p)) {
        hasParam = true;
        value = std::min<qint64>(value * 10 + (*m_p - '0'), ParamLimit);
        ++m_p;
    }
    if (m_p < m_end && *m_p == ' ')
        ++m_p; // the delimiter belongs to the word
    const int param = int(negative ? -value : value);

    if (word == "bin") {
        // Binary data is skipped whatever the state: its bytes are no RTF.
        const qint64 count = hasParam ? std::max<qint64>(param, 0) : 0;
        m_p += std::min<qint64>(count, m_end - m_p);
        consumeSkippedToken();
        return;
    }
    if (consumeSkippedToken())
        return;
    applyWord(word, hasParam, param);
}

void Parser::controlSymbol()
{
    const char c = *m_p++;
    if (c == '\'') {
        // \'hh: one byte in the document's code page.
        const int hi = m_p < m_end ? hexValue(m_p[0]) : -1;
        const int lo = m_p + 1 < m_end ? hexValue(m_p[1]) : -1;
        if (hi < 0 || lo < 0) {
            consumeSkippedToken();
            return;
        }
        m_p += 2;
        if (consumeSkippedToken())
            return;
        textByte(static_cast<unsigned char>(hi * 16 + lo));
        return;
    }
    if (consumeSkippedToken())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(static_cast<unsigned char>(c));
        break;
    case '~':
        emitUnit(0x00A0);
        break;
    case '_':
        emitUnit(0x2011);
        break;
    case '*':
        m_state.dest = Dest::Skip;
        break;
    case '\r':
    case '\n':
        applyWord("par", false, 0);
        break;
    case '\t':
        emitUnit(u'\t');
        break;
    default:
        break; // \- optional hyphen, \| \: index marks and the unknown
    }
}

void Parser::textByte(unsigned char c)
{
    switch (m_state.dest) {
    case Dest::Skip:
        return;
    case Dest::FontTable:
        if (c == ';')
            storeFontName();
        else if (c >= 0x20 && m_fontName.size() < MaxFontNameLength) {
            m_fontName.append(QChar(fromCp1252(c)));
        }
        return;
    case Dest::ColourTable:
        if (c == ';') {
            if (m_colours.size() < MaxColours)
                m_colours.append(m_colourHasComponent ? QColor(m_red, m_green, m_blue) : QColor());
            m_colourHasComponent = false;
            m_red = m_green = m_blue = 0;
        }
        return;
    case Dest::Text:
        break;
    }
    if (c == '\t')
        emitUnit(u'\t');
    else if (c >= 0x20)
        emitUnit(fromCp1252(c));
}

void Parser::emitCodePoint(qint64 codePoint)
{
    if (codePoint < 0 || codePoint > 0x10FFFF) {
        emitUnit(0xFFFD);
    } else if (codePoint > 0xFFFF) {
        const char32_t cp = char32_t(codePoint);
        emitUnit(QChar::highSurrogate(cp));
        emitUnit(QChar::lowSurrogate(cp));
    } else {
        emitUnit(char16_t(codePoint));
    }
}

// Every UTF-16 unit of text passes here: surrogates are paired or replaced, and
// the characters that QTextDocument keeps for its own structure never get in.
void Parser::emitUnit(char16_t unit)
{
    if (m_state.dest != Dest::Text) {
        if (m_state.dest == Dest::FontTable && m_fontName.size() < MaxFontNameLength && unit >= 0x20
            && !QChar::isSurrogate(unit))
            m_fontName.append(QChar(unit));
        return;
    }
    if (m_state.chars.hidden)
        return;
    if (QChar::isHighSurrogate(unit)) {
        if (m_highSurrogate)
            appendToRun(QChar(0xFFFD));
        m_highSurrogate = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (m_highSurrogate) {
            appendToRun(QChar(m_highSurrogate));
            appendToRun(QChar(unit));
            m_highSurrogate = 0;
        } else {
            appendToRun(QChar(0xFFFD));
        }
        return;
    }
    if (m_highSurrogate) {
        appendToRun(QChar(0xFFFD));
        m_highSurrogate = 0;
    }
    if (unit < 0x20 && unit != u'\t')
        return;
    switch (unit) {
    case QChar::ParagraphSeparator:
        unit = QChar::LineSeparator;
        break;
    case 0x007F:
        return;
    case 0xFDD0: // frame markers and the object placeholder of QTextDocument
    case 0xFDD1:
    case QChar::ObjectReplacementCharacter:
    case 0xFFFE:
    case 0xFFFF:
        unit = 0xFFFD;
        break;
    default:
        break;
    }
    appendToRun(QChar(unit));
}

void Parser::appendToRun(QChar c)
{
    if (!m_runStateValid || !(m_runState == m_state.chars)) {
        flushRun();
        m_runState = m_state.chars;
        m_runStateValid = true;
    }
    m_run.append(c);
}

void Parser::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, charFormat(m_runState));
    m_run.clear();
    m_blockHasText = true;
}

void Parser::storeFontName()
{
    const QString name = m_fontName.trimmed();
    if (m_fontNumber >= 0 && !name.isEmpty() && m_fonts.size() < MaxFonts && !m_fonts.contains(m_fontNumber))
        m_fonts.insert(m_fontNumber, name);
    m_fontName.clear();
}

void Parser::endParagraph()
{
    if (m_highSurrogate) {
        appendToRun(QChar(0xFFFD));
        m_highSurrogate = 0;
    }
    flushRun();
    const QTextBlockFormat block = blockFormat();
    m_cursor.setBlockFormat(block);
    // An empty paragraph takes its height from the formatting in force.
    m_cursor.setBlockCharFormat(charFormat(m_state.chars));
    m_cursor.insertBlock(block, charFormat(m_state.chars));
    m_blockHasText = false;
}

void Parser::finish()
{
    if (m_highSurrogate) {
        appendToRun(QChar(0xFFFD));
        m_highSurrogate = 0;
    }
    const bool lastHasText = m_blockHasText || !m_run.isEmpty();
    flushRun();
    if (lastHasText)
        m_cursor.setBlockFormat(blockFormat());
}

} // namespace rtf
