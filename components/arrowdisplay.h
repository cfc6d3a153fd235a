#pragma once
// ArrowDisplay: one LED arrow head pointing up or down, or dark (the possession
// arrow, between the home row above and the visitor row below).

#include "leddisplay.h"

class ArrowDisplay : public LedDisplay
{
    Q_OBJECT
    Q_PROPERTY(int Direction READ direction WRITE setDirection NOTIFY directionChanged)

public:
    enum Direction { None = 0, Up = 1, Down = 2 };

    explicit ArrowDisplay(QWidget* parent = nullptr);

    int direction() const { return m_direction; }
    // Anything but Up or Down is None.
    void setDirection(int direction);

Q_SIGNALS:
    void directionChanged(int direction);

protected:
    std::vector<Cell> cells() const override;
    std::vector<quint8> litBits() const override;
    // "up", "down" or "" when dark.
    QString currentText() const override;

private:
    int m_direction = None;
};
