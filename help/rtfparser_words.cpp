#include "rtfparser.h"

#include "rtfkeywords.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <algorithm>

namespace rtf {

void Parser::applyWord(std::string_view word, bool hasParam, int param)
{
    if (word == "rtf" || word.size() > size_t(MaxWordLength))
        return;
    const std::optional<Keyword> found = findKeyword(word);
    if (!found)
        return;
    const Keyword keyword = *found;
    const bool on = !hasParam || param != 0;

    if (keyword == Keyword::Skip) {
        m_state.dest = Dest::Skip;
        return;
    }
    if (keyword == Keyword::Unicode) {
        if (m_state.dest != Dest::Skip)
            emitCodePoint(hasParam ? (param < 0 ? qint64(param) + 65536 : qint64(param)) : -1);
        m_pendingSkip = m_state.uc;
        return;
    }
    if (keyword == Keyword::UnicodeSkip) {
        m_state.uc = std::clamp(hasParam ? param : 1, 0, MaxUnicodeSkip);
        return;
    }

    switch (m_state.dest) {
    case Dest::Skip:
        return;
    case Dest::FontTable:
        if (keyword == Keyword::Font) {
            m_fontNumber = hasParam ? param : -1;
            m_fontName.clear();
        }
        return;
    case Dest::ColourTable:
        if (keyword == Keyword::Red || keyword == Keyword::Green || keyword == Keyword::Blue) {
            const int v = std::clamp(hasParam ? param : 0, 0, 255);
            (keyword == Keyword::Red ? m_red : keyword == Keyword::Green ? m_green : m_blue) = v;
            m_colourHasComponent = true;
        }
        return;
    case Dest::Text:
        break;
    }

    CharState& ch = m_state.chars;
    ParaState& para = m_state.para;
    const int twips = std::clamp(hasParam ? param : 0, -MaxTwips, MaxTwips);
    switch (keyword) {
    case Keyword::Deff:
        m_defaultFont = hasParam ? param : 0;
        break;
    case Keyword::FontTable:
        m_state.dest = Dest::FontTable;
        m_fontNumber = -1;
        m_fontName.clear();
        break;
    case Keyword::ColourTable:
        m_state.dest = Dest::ColourTable;
        m_colourHasComponent = false;
        m_red = m_green = m_blue = 0;
        break;
    case Keyword::Plain:
        ch = CharState{};
        break;
    case Keyword::Bold:
        ch.bold = on;
        break;
    case Keyword::Italic:
        ch.italic = on;
        break;
    case Keyword::Underline:
        ch.underline = on;
        break;
    case Keyword::UnderlineNone:
        ch.underline = false;
        break;
    case Keyword::Strike:
        ch.strike = on;
        break;
    case Keyword::Hidden:
        ch.hidden = on;
        break;
    case Keyword::FontSize:
        // Half points; none or zero is the default 12 points.
        ch.halfPoints = (hasParam && param > 0) ? std::clamp(param, 2, 800) : 24;
        break;
    case Keyword::Colour:
        ch.colour = hasParam ? std::clamp(param, 0, MaxColours) : 0;
        break;
    case Keyword::Highlight:
        ch.highlight = hasParam ? std::clamp(param, 0, MaxColours) : 0;
        break;
    case Keyword::Font:
        ch.font = hasParam ? param : -1;
        break;
    case Keyword::Super:
        ch.vertical = on ? 1 : 0;
        break;
    case Keyword::Sub:
        ch.vertical = on ? -1 : 0;
        break;
    case Keyword::NoSuperSub:
        ch.vertical = 0;
        break;
    case Keyword::Pard:
        para = ParaState{};
        break;
    case Keyword::AlignLeft:
        para.align = Qt::AlignLeft;
        break;
    case Keyword::AlignCentre:
        para.align = Qt::AlignHCenter;
        break;
    case Keyword::AlignRight:
        para.align = Qt::AlignRight;
        break;
    case Keyword::AlignJustify:
        para.align = Qt::AlignJustify;
        break;
    case Keyword::LeftIndent:
        para.left = twips;
        break;
    case Keyword::RightIndent:
        para.right = twips;
        break;
    case Keyword::FirstIndent:
        para.first = twips;
        break;
    case Keyword::SpaceBefore:
        para.before = std::max(twips, 0);
        break;
    case Keyword::SpaceAfter:
        para.after = std::max(twips, 0);
        break;
    case Keyword::TabRight:
        para.nextTabType = QTextOption::RightTab;
        break;
    case Keyword::TabCentre:
        para.nextTabType = QTextOption::CenterTab;
        break;
    case Keyword::TabDecimal:
        para.nextTabType = QTextOption::DelimiterTab;
        break;
    case Keyword::TabStop:
        if (para.tabs.size() < MaxTabStops && twips > 0) {
            QTextOption::Tab tab(twips, para.nextTabType);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            para.tabs.append(tab);
        }
        para.nextTabType = QTextOption::LeftTab;
        break;
    case Keyword::Par:
    case Keyword::Row:
        endParagraph();
        break;
    case Keyword::Line:
        emitUnit(QChar::LineSeparator);
        break;
    case Keyword::Tab:
    case Keyword::Cell:
        emitUnit(u'\t');
        break;
    case Keyword::EmDash:
        emitUnit(0x2014);
        break;
    case Keyword::EnDash:
        emitUnit(0x2013);
        break;
    case Keyword::EmSpace:
        emitUnit(0x2003);
        break;
    case Keyword::EnSpace:
        emitUnit(0x2002);
        break;
    case Keyword::Bullet:
        emitUnit(0x2022);
        break;
    case Keyword::LQuote:
        emitUnit(0x2018);
        break;
    case Keyword::RQuote:
        emitUnit(0x2019);
        break;
    case Keyword::LDblQuote:
        emitUnit(0x201C);
        break;
    case Keyword::RDblQuote:
        emitUnit(0x201D);
        break;
    default:
        break;
    }
}

QTextCharFormat Parser::charFormat(const CharState& ch) const
{
    QTextCharFormat f;
    f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(ch.italic);
    f.setFontUnderline(ch.underline);
    f.setFontStrikeOut(ch.strike);
    f.setFontPointSize(ch.halfPoints / 2.0);
    const int fontNumber = ch.font >= 0 ? ch.font : m_defaultFont;
    if (const auto font = m_fonts.constFind(fontNumber); font != m_fonts.constEnd() && !font->isEmpty())
        f.setFontFamilies(QStringList{*font});
    if (ch.colour > 0 && ch.colour < m_colours.size() && m_colours.at(ch.colour).isValid())
        f.setForeground(m_colours.at(ch.colour));
    if (ch.highlight > 0 && ch.highlight < m_colours.size() && m_colours.at(ch.highlight).isValid())
        f.setBackground(m_colours.at(ch.highlight));
    if (ch.vertical > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (ch.vertical < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return f;
}

QTextBlockFormat Parser::blockFormat() const
{
    const ParaState& para = m_state.para;
    QTextBlockFormat b;
    b.setAlignment(para.align);
    // RTF's first-line indent is relative to the left indent, as Qt's is.
    const int left = std::max(para.left, 0);
    const int first = std::max(para.first, -left);
    b.setLeftMargin(left / TwipsPerPixel);
    b.setRightMargin(std::max(para.right, 0) / TwipsPerPixel);
    b.setTextIndent(first / TwipsPerPixel);
    b.setTopMargin(para.before / TwipsPerPixel);
    b.setBottomMargin(para.after / TwipsPerPixel);

    // RTF measures tab stops from the left edge; Qt from where the first line
    // starts. A hanging indent is a tab stop of its own, as in every RTF writer,
    // so that "bullet, tab, text" lines up with the lines below.
    const int lineStart = left + first;
    QList<QTextOption::Tab> tabs;
    bool hangingStop = first < 0;
    for (const QTextOption::Tab& tab : para.tabs) {
        const int at = int(tab.position);
        if (at <= lineStart)
            continue;
        if (hangingStop && at >= left) {
            if (at > left)
                tabs.append(QTextOption::Tab((left - lineStart) / TwipsPerPixel, QTextOption::LeftTab));
            hangingStop = false;
        }
        QTextOption::Tab converted = tab;
        converted.position = (at - lineStart) / TwipsPerPixel;
        tabs.append(converted);
    }
    if (hangingStop)
        tabs.append(QTextOption::Tab((left - lineStart) / TwipsPerPixel, QTextOption::LeftTab));
    if (!tabs.isEmpty())
        b.setTabPositions(tabs);
    return b;
}

} // namespace rtf
