#include "settingtext.h"

namespace settingtext {

std::optional<double> numberFromText(const QString& text)
{
    // QString::toDouble reads the C locale whatever the user's locale is, and
    // ignores surrounding white space.
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<bool> booleanFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(units::booleanText(true), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(units::booleanText(false), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = numberFromText(trimmed);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

QString singleText(float value)
{
    // Seven significant digits is what a float holds; 'g' drops trailing zeros and
    // switches to an exponent only at ten million, far beyond any screen in twips.
    return QString::number(double(value), 'g', 7);
}

} // namespace settingtext
