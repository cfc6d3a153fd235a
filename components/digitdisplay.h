#pragma once
// DigitDisplay: a whole number in LED digits, as a score, period or shot clock.
// Max fixes the number of digits: 9 gives one, 99 two, 999 three; a Max whose
// first digit is 1 (19, 199, 1999) swaps that digit for the narrow "1" that real
// score boards use, so 199 is a half digit and two full ones.
// Caption -1 is blank. A caption above Max shows Max (the display cannot show
// more digits than it has); any other negative caption shows blank too.
// Tenths reads the caption in tenths, with a point lit before the last digit
// (49 shows "4.9", 5 shows "0.5"); the point takes no room of its own, so the
// digits stay where they are when it comes and goes. A single digit has no room
// for a point and shows the caption as it is.

#include "leddisplay.h"

class DigitDisplay : public LedDisplay
{
    Q_OBJECT
    Q_PROPERTY(qint16 Caption READ caption WRITE setCaption NOTIFY captionChanged)
    Q_PROPERTY(int Max READ max WRITE setMax NOTIFY maxChanged)
    Q_PROPERTY(bool Tenths READ tenths WRITE setTenths NOTIFY tenthsChanged)

public:
    static constexpr int Blank = -1;

    explicit DigitDisplay(QWidget* parent = nullptr);

    qint16 caption() const { return m_caption; }
    void setCaption(int caption);
    int max() const { return m_max; }
    // Kept within 0..32767.
    void setMax(int max);
    bool tenths() const { return m_tenths; }
    void setTenths(bool tenths);

    // The text a display with this Max shows for this caption ("" when blank).
    static QString textFor(int caption, int max, bool tenths = false);

Q_SIGNALS:
    void captionChanged(qint16 caption);
    void maxChanged(int max);
    void tenthsChanged(bool tenths);

protected:
    std::vector<Cell> cells() const override;
    std::vector<quint8> litBits() const override;
    QString currentText() const override;

private:
    qint16 m_caption = 0;
    int m_max = 9;
    bool m_tenths = false;

    bool pointShown() const;
};
