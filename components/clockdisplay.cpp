#include "clockdisplay.h"

#include "units.h"

#include <algorithm>
#include <cmath>

namespace {

// What the four cells and the slot show: two two-digit figures either side of a
// colon or a point.
struct ClockFigures {
    bool tenths = false; // seconds and tenths rather than minutes and seconds
    int high = 0;        // minutes, or whole seconds
    int low = 0;         // seconds, or tenths
};

ClockFigures figuresFor(const QString& format, float value)
{
    ClockFigures f;
    f.tenths = format == QLatin1String("1,.1");
    const double v = std::isnan(value) ? 0.0 : std::max(0.0, double(value));
    if (f.tenths) {
        qint64 tenths = units::roundHalfEvenClamped(v * 10, 0, 999);
        // The tenths format is for the last minute: rounding up never makes it read 60.0.
        if (v < 60 && tenths >= 600)
            tenths = 599;
        f.high = int(tenths / 10);
        f.low = int(tenths % 10);
    } else {
        const qint64 seconds = units::roundHalfEvenClamped(v, 0, 99 * 60 + 59);
        f.high = int(seconds / 60);
        f.low = int(seconds % 60);
    }
    return f;
}

} // namespace

ClockDisplay::ClockDisplay(QWidget* parent)
    : LedDisplay(parent)
{
    finishConstruction();
}

void ClockDisplay::setFormat(const QString& format)
{
    if (format == m_format)
        return;
    m_format = format;
    shownValueChanged();
    Q_EMIT formatChanged(format);
}

void ClockDisplay::setValue(float value)
{
    // Compared bit for bit: a NaN written twice is still no change.
    if (value == m_value || (std::isnan(value) && std::isnan(m_value)))
        return;
    m_value = value;
    shownValueChanged();
    Q_EMIT valueChanged(value);
}

void ClockDisplay::setPaddingD(double twips)
{
    const qint16 value = units::toInt16(twips);
    if (value == m_paddingD)
        return;
    m_paddingD = value;
    layoutChanged();
    Q_EMIT paddingDChanged(value);
}

QString ClockDisplay::textFor(const QString& format, float value)
{
    const ClockFigures f = figuresFor(format, value);
    if (f.tenths)
        return QStringLiteral("%1.%2").arg(f.high).arg(f.low);
    return QStringLiteral("%1:%2").arg(f.high).arg(f.low, 2, 10, QLatin1Char('0'));
}

QString ClockDisplay::currentText() const
{
    return textFor(m_format, m_value);
}

std::vector<LedDisplay::Cell> ClockDisplay::cells() const
{
    const double i = m_paddingI;
    const double d = m_paddingD;
    return {{led::CellKind::Digit, 0},         {led::CellKind::Digit, i}, {led::CellKind::Separator, d},
            {led::CellKind::Digit, d},         {led::CellKind::Digit, i}};
}

std::vector<quint8> ClockDisplay::litBits() const
{
    const ClockFigures f = figuresFor(m_format, m_value);
    auto digit = [](int n) { return led::segmentsFor(QLatin1Char(char('0' + n))); };
    const quint8 highTens = f.high >= 10 ? digit(f.high / 10) : 0;
    if (f.tenths)
        return {highTens, digit(f.high % 10), led::Point, digit(f.low), 0};
    return {highTens, digit(f.high % 10), led::Colon, digit(f.low / 10), digit(f.low % 10)};
}
