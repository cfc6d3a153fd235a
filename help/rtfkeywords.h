#pragma once
// The RTF words the reader acts on, and the code page of \'hh characters.

#include <optional>
#include <string_view>

namespace rtf {

enum class Keyword {
    // document
    Deff,
    // destinations
    FontTable, ColourTable, Skip,
    // character formatting
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, Hidden, FontSize, Colour, Highlight, Font,
    Super, Sub, NoSuperSub,
    // paragraph formatting
    Pard, AlignLeft, AlignCentre, AlignRight, AlignJustify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, TabStop, TabRight, TabCentre, TabDecimal,
    // special characters and breaks
    Par, Line, Tab, Cell, Row, EmDash, EnDash, EmSpace, EnSpace, Bullet, LQuote, RQuote, LDblQuote, RDblQuote,
    NoChar,
    // unicode and binary
    UnicodeSkip, Unicode, Bin,
    // colour table
    Red, Green, Blue,
};

// The word's meaning, or nothing for a word the reader ignores.
std::optional<Keyword> findKeyword(std::string_view word);

// A byte of text in Windows-1252, the code page help texts are written in.
char16_t fromCp1252(unsigned char c);

// The value of a hexadecimal digit, or -1.
int hexValue(char c);

} // namespace rtf
