#include "arrowdisplay.h"

ArrowDisplay::ArrowDisplay(QWidget* parent)
    : LedDisplay(parent)
{
    finishConstruction();
}

void ArrowDisplay::setDirection(int direction)
{
    const int value = direction == Up || direction == Down ? direction : None;
    if (value == m_direction)
        return;
    m_direction = value;
    shownValueChanged();
    Q_EMIT directionChanged(value);
}

std::vector<LedDisplay::Cell> ArrowDisplay::cells() const
{
    return {{led::CellKind::Arrow, 0}};
}

std::vector<quint8> ArrowDisplay::litBits() const
{
    switch (m_direction) {
    case Up:
        return {led::ArrowUp};
    case Down:
        return {led::ArrowDown};
    default:
        return {0};
    }
}

QString ArrowDisplay::currentText() const
{
    switch (m_direction) {
    case Up:
        return QStringLiteral("up");
    case Down:
        return QStringLiteral("down");
    default:
        return {};
    }
}
