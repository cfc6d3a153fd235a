#include "digitdisplay.h"

#include "units.h"

#include <algorithm>

namespace {

struct DigitLayout {
    bool halfOne = false; // a narrow leading "1" before the full digits
    int digits = 1;
};

DigitLayout layoutFor(int max)
{
    const QString text = QString::number(std::max(0, max));
    DigitLayout layout;
    layout.halfOne = text.size() > 1 && text.front() == QLatin1Char('1');
    layout.digits = int(text.size()) - (layout.halfOne ? 1 : 0);
    return layout;
}

} // namespace

DigitDisplay::DigitDisplay(QWidget* parent)
    : LedDisplay(parent)
{
    finishConstruction();
}

void DigitDisplay::setCaption(int caption)
{
    const qint16 value = units::toInt16(caption);
    if (value == m_caption)
        return;
    m_caption = value;
    shownValueChanged();
    Q_EMIT captionChanged(value);
}

void DigitDisplay::setMax(int max)
{
    const int value = std::clamp(max, 0, 32767);
    if (value == m_max)
        return;
    m_max = value;
    layoutChanged();
    shownValueChanged();
    Q_EMIT maxChanged(value);
}

void DigitDisplay::setTenths(bool tenths)
{
    if (tenths == m_tenths)
        return;
    m_tenths = tenths;
    layoutChanged();
    shownValueChanged();
    Q_EMIT tenthsChanged(tenths);
}

bool DigitDisplay::pointShown() const
{
    return m_tenths && layoutFor(m_max).digits > 1;
}

QString DigitDisplay::textFor(int caption, int max, bool tenths)
{
    if (caption < 0)
        return {};
    const int shown = std::min(caption, std::max(0, max));
    if (tenths && layoutFor(max).digits > 1)
        return QStringLiteral("%1.%2").arg(shown / 10).arg(shown % 10);
    return QString::number(shown);
}

QString DigitDisplay::currentText() const
{
    return textFor(m_caption, m_max, m_tenths);
}

std::vector<LedDisplay::Cell> DigitDisplay::cells() const
{
    const DigitLayout layout = layoutFor(m_max);
    std::vector<Cell> row;
    if (layout.halfOne)
        row.push_back({led::CellKind::HalfOne, 0});
    for (int i = 0; i < layout.digits; ++i) {
        if (pointShown() && i == layout.digits - 1)
            row.push_back({led::CellKind::Point, 0});
        row.push_back({led::CellKind::Digit, row.empty() ? 0.0 : double(m_paddingI)});
    }
    return row;
}

std::vector<quint8> DigitDisplay::litBits() const
{
    const DigitLayout layout = layoutFor(m_max);
    QString text = currentText();
    const bool point = pointShown();
    text.remove(QLatin1Char('.'));
    // Right-aligned: the last character goes to the last cell; the point, when
    // there is one, is the cell before the last and lit whenever a value shows.
    std::vector<quint8> bits(size_t(layout.digits + (layout.halfOne ? 1 : 0) + (point ? 1 : 0)), 0);
    const size_t pointCell = bits.size() - 2;
    qsizetype from = text.size() - 1;
    for (size_t cell = bits.size(); cell-- > 0 && from >= 0;) {
        if (point && cell == pointCell) {
            bits[cell] = led::Point;
            continue;
        }
        if (layout.halfOne && cell == 0)
            bits[0] = text[from] == QLatin1Char('1') ? (led::B | led::C) : 0;
        else
            bits[cell] = led::segmentsFor(text[from]);
        --from;
    }
    return bits;
}
