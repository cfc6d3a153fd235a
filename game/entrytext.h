#pragma once
// Typed entries on the displays: scores and the period take digits, signs and the
// clear mark; the game clock takes minutes, seconds and tenths. The game keeps
// two buffers, one shared by the scores and the period and one for the clock, so
// that an entry survives a switch between a score and the clock.

#include "clockseconds.h"

#include <QString>

#include <optional>

// The character codes digit entry works with, from KeyCodeToAsci.
namespace charcode {
constexpr int ClearMark = 0, Enter = 13, Space = 32, Plus = 43, Minus = 45, Point = 46, Zero = 48, Nine = 57;
inline bool isDigit(int c) { return c >= Zero && c <= Nine; }
}

struct EntryBuffer
{
    QString text;
    QString target; // name of the display the text belongs to
    bool operator==(const EntryBuffer&) const = default;
};

// The longest leading part of `text` that forms a decimal number with an optional
// sign (an empty text or no number at all reads as 0).
double leadingNumber(const QString& text);

// The caption an entry text gives a display showing `caption` (-1 blank), or
// nothing when the entry changes nothing or leaves the limits.
std::optional<int> SetDisplayValue(int caption, const QString& entryText, int minValue, int maxValue);

// One key typed into a score or period display; returns the display's new caption.
int EnterDisplayDigit(EntryBuffer& buffer, const QString& displayName, int caption, int charCode, int minValue,
                      int maxValue);

// The clock time a typed text stands for ("12" minutes, "5.03" 5:03, "0.457"
// 45.7 s), or nothing when it is not a valid time.
std::optional<ClockSeconds> ParseClockText(const QString& text);

// One key typed into the game clock; a time to apply once Enter completes a valid one.
std::optional<ClockSeconds> EnterClockDigit(EntryBuffer& buffer, const QString& displayName, int charCode,
                                            qint32 maxSeconds);
