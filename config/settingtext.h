#pragma once
// Text forms of the stored settings. Everything in the store is text; these are the
// only conversions between that text and the record's typed values. None of them
// depends on the locale: the decimal separator is always ".".

#include "units.h"

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <limits>
#include <optional>

namespace settingtext {

enum class Rounding {
    Nearest, // ties to the even number, as every conversion in the program
    Down,    // towards minus infinity: the placement keys
};

// A decimal number with optional sign, fraction and exponent; spaces around it are
// allowed. Empty text, other text, and not-a-number or infinite values give nothing.
std::optional<double> numberFromText(const QString& text);

// A whole number that fits T, or nothing when the text is not a number or the
// rounded number does not fit (70000 for a 16-bit field must not wrap around).
template <typename T>
std::optional<T> wholeNumberFromText(const QString& text, Rounding rounding)
{
    const std::optional<double> number = numberFromText(text);
    if (!number)
        return std::nullopt;
    const double whole = rounding == Rounding::Down ? std::floor(*number) : units::roundHalfEven(*number);
    if (whole < double(std::numeric_limits<T>::min()) || whole > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return T(whole);
}

// "True" or "False" in any letter case, or a number (non-zero is True).
std::optional<bool> booleanFromText(const QString& text);

// Decimal text of a single-precision number: at most seven significant digits, a
// fraction only when there is one, no exponent for screen-sized values.
QString singleText(float value);

} // namespace settingtext
