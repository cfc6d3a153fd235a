#include "rtfkeywords.h"

#include <unordered_map>

namespace rtf {

namespace {

const std::unordered_map<std::string_view, Keyword>& keywordTable()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t = {
            {"deff", Keyword::Deff},
            {"fonttbl", Keyword::FontTable}, {"colortbl", Keyword::ColourTable},
            {"plain", Keyword::Plain}, {"b", Keyword::Bold}, {"i", Keyword::Italic},
            {"ul", Keyword::Underline}, {"uld", Keyword::Underline}, {"uldb", Keyword::Underline}, {"ulw", Keyword::Underline},
            {"uldash", Keyword::Underline}, {"ulth", Keyword::Underline}, {"ulwave", Keyword::Underline}, {"ulnone", Keyword::UnderlineNone},
            {"strike", Keyword::Strike}, {"striked", Keyword::Strike}, {"v", Keyword::Hidden},
            {"fs", Keyword::FontSize}, {"cf", Keyword::Colour}, {"cb", Keyword::Highlight}, {"highlight", Keyword::Highlight}, {"f", Keyword::Font},
            {"super", Keyword::Super}, {"sub", Keyword::Sub}, {"nosupersub", Keyword::NoSuperSub},
            {"pard", Keyword::Pard}, {"ql", Keyword::AlignLeft}, {"qc", Keyword::AlignCentre}, {"qr", Keyword::AlignRight}, {"qj", Keyword::AlignJustify},
            {"li", Keyword::LeftIndent}, {"ri", Keyword::RightIndent}, {"fi", Keyword::FirstIndent},
            {"sb", Keyword::SpaceBefore}, {"sa", Keyword::SpaceAfter},
            {"tx", Keyword::TabStop}, {"tqr", Keyword::TabRight}, {"tqc", Keyword::TabCentre}, {"tqdec", Keyword::TabDecimal},
            {"par", Keyword::Par}, {"sect", Keyword::Par}, {"page", Keyword::Par}, {"row", Keyword::Row}, {"nestrow", Keyword::Row},
            {"line", Keyword::Line}, {"tab", Keyword::Tab}, {"cell", Keyword::Cell}, {"nestcell", Keyword::Cell},
            {"emdash", Keyword::EmDash}, {"endash", Keyword::EnDash}, {"emspace", Keyword::EmSpace}, {"enspace", Keyword::EnSpace},
            {"qmspace", Keyword::EnSpace}, {"bullet", Keyword::Bullet}, {"lquote", Keyword::LQuote}, {"rquote", Keyword::RQuote},
            {"ldblquote", Keyword::LDblQuote}, {"rdblquote", Keyword::RDblQuote},
            {"zwj", Keyword::NoChar}, {"zwnj", Keyword::NoChar}, {"ltrmark", Keyword::NoChar}, {"rtlmark", Keyword::NoChar},
            {"uc", Keyword::UnicodeSkip}, {"u", Keyword::Unicode}, {"bin", Keyword::Bin},
            {"red", Keyword::Red}, {"green", Keyword::Green}, {"blue", Keyword::Blue},
        };
        // Groups whose content is not text to show.
        for (std::string_view skip : {
                 "stylesheet", "info", "pict", "object", "objdata", "objclass", "objname", "result",
                 "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
                 "footnote", "annotation", "atnid", "atnauthor", "fldinst", "xe", "tc", "txe", "rxe",
                 "bkmkstart", "bkmkend", "pn", "listtable", "listoverridetable", "revtbl", "rsidtbl", "filetbl",
                 "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "generator",
                 "userprops", "docvar", "template", "nonshppict", "shppict", "shp", "shpinst", "sp", "sn", "sv",
                 "private", "pgdsctbl", "mmathPr", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn",
                 "do", "listpicture", "fchars", "lchars", "password", "title", "subject", "author", "operator",
                 "keywords", "comment", "doccomm", "company", "hlinkbase", "creatim", "revtim", "printim", "buptim",
                 "wgrffmtfilter", "defchp", "defpap", "panose", "falt"}) {
            t.emplace(skip, Keyword::Skip);
        }
        return t;
    }();
    return table;
}

} // namespace

std::optional<Keyword> findKeyword(std::string_view word)
{
    const auto& table = keywordTable();
    if (const auto found = table.find(word); found != table.end())
        return found->second;
    return std::nullopt;
}

// Windows-1252 in 0x80..0x9F, the code page help texts are written in; the rest
// of the byte range is Latin-1.
static constexpr char16_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char16_t fromCp1252(unsigned char c)
{
    return (c >= 0x80 && c < 0xA0) ? Cp1252High[c - 0x80] : char16_t(c);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace rtf
