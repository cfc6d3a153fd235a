#include "tallydisplay.h"

#include "units.h"

#include <algorithm>

TallyDisplay::TallyDisplay(QWidget* parent)
    : LedDisplay(parent)
{
    finishConstruction();
}

void TallyDisplay::setCaption(int caption)
{
    const qint16 value = units::toInt16(caption);
    if (value == m_caption)
        return;
    m_caption = value;
    shownValueChanged();
    Q_EMIT captionChanged(value);
}

void TallyDisplay::setMax(int max)
{
    const int value = std::clamp(max, 1, MostLamps);
    if (value == m_max)
        return;
    m_max = value;
    layoutChanged();
    shownValueChanged();
    Q_EMIT maxChanged(value);
}

std::vector<LedDisplay::Cell> TallyDisplay::cells() const
{
    std::vector<Cell> row;
    for (int i = 0; i < m_max; ++i)
        row.push_back({led::CellKind::Lamp, row.empty() ? 0.0 : double(m_paddingI)});
    return row;
}

std::vector<quint8> TallyDisplay::litBits() const
{
    std::vector<quint8> bits(size_t(m_max), 0);
    for (int i = 0; i < std::min<int>(m_caption, m_max); ++i)
        bits[size_t(i)] = led::LampOn;
    return bits;
}

QString TallyDisplay::currentText() const
{
    return m_caption < 0 ? QString() : QString::number(m_caption);
}
