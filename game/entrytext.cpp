#include "entrytext.h"

#include <QStringList>

#include <cmath>

double leadingNumber(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    QString number;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        number += text[i++];
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        number += text[i++];
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        number += text[i++];
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0;
}

std::optional<int> SetDisplayValue(int caption, const QString& entryText, int minValue, int maxValue)
{
    const double current = caption == -1 ? 0 : caption;
    if (entryText.isEmpty())
        return std::nullopt;
    const QChar first = entryText[0];
    double result = 0;
    if (first.unicode() == charcode::ClearMark)
        result = -1;
    else if (first >= u'0' && first <= u'9')
        result = std::floor(leadingNumber(entryText));
    else if (first == u'+')
        result = current + std::floor(leadingNumber(entryText.mid(1)));
    else if (first == u'-')
        result = current - std::floor(leadingNumber(entryText.mid(1)));
    else
        return std::nullopt;
    if (!(result >= minValue && result <= maxValue))
        return std::nullopt;
    return int(result);
}

int EnterDisplayDigit(EntryBuffer& buffer, const QString& displayName, int caption, int c, int minValue, int maxValue)
{
    const auto apply = [&](const QString& text) {
        if (const auto value = SetDisplayValue(caption, text, minValue, maxValue))
            caption = *value;
    };
    const auto startsWithSign = [&buffer] {
        return !buffer.text.isEmpty() && (buffer.text[0] == u'+' || buffer.text[0] == u'-');
    };

    if (displayName != buffer.target) {
        buffer.text.clear();
        buffer.target = displayName;
    }
    if (charcode::isDigit(c) || c == charcode::Plus || c == charcode::Minus)
        buffer.text += QChar(c);
    if (c == charcode::Space)
        buffer.text.clear();
    if (c == charcode::ClearMark)
        apply(QString(QChar(charcode::ClearMark)));
    // A one-digit display (the period) takes each digit at once.
    if (!buffer.text.isEmpty() && !startsWithSign() && QString::number(maxValue).size() == 1) {
        apply(buffer.text);
        buffer.text.clear();
    }
    // A sign followed by a digit steps the value at once.
    if (buffer.text.size() >= 2 && startsWithSign() && charcode::isDigit(buffer.text[1].unicode())) {
        apply(buffer.text);
        buffer.text.clear();
    }
    if (c == charcode::Enter) {
        apply(buffer.text);
        buffer.text.clear();
    }
    return caption;
}

std::optional<ClockSeconds> ParseClockText(const QString& text)
{
    if (text.size() > 8)
        return std::nullopt;
    for (const QChar ch : text) {
        if (!(ch == u'.' || (ch >= u'0' && ch <= u'9')))
            return std::nullopt;
    }
    const QStringList parts = text.split(u'.');
    if (parts.size() > 2)
        return std::nullopt;
    const int minutes = text.isEmpty() ? 0 : int(leadingNumber(parts[0]));
    int seconds = 0;
    int tenths = 0;
    if (parts.size() == 2) {
        const QString& secondsPart = parts[1];
        if (secondsPart.size() <= 2) {
            seconds = int(leadingNumber(secondsPart));
        } else {
            seconds = int(leadingNumber(secondsPart.left(2)));
            tenths = int(leadingNumber(secondsPart.mid(2, 1)));
        }
    }
    if (tenths > 9 || minutes > 99 || seconds > 99)
        return std::nullopt;
    return ClockSeconds::fromTenths(qint64(minutes * 60 + seconds) * 10 + tenths);
}

std::optional<ClockSeconds> EnterClockDigit(EntryBuffer& buffer, const QString& displayName, int c, qint32 maxSeconds)
{
    if (displayName != buffer.target) {
        buffer.text.clear();
        buffer.target = displayName;
    }
    if (charcode::isDigit(c) || c == charcode::Point)
        buffer.text += QChar(c);
    if (c == charcode::Space)
        buffer.text.clear();
    if (c != charcode::Enter)
        return std::nullopt;
    const std::optional<ClockSeconds> value = ParseClockText(buffer.text);
    buffer.text.clear();
    if (value && *value <= ClockSeconds::fromSeconds(maxSeconds))
        return value;
    return std::nullopt;
}
