#pragma once
// TallyDisplay: a small count as a row of lamps, lit from the left up to the
// count (the timeouts a team has left). Max is the number of lamps (1..9); a
// count above Max lights them all, -1 (or any negative count) none.

#include "leddisplay.h"

class TallyDisplay : public LedDisplay
{
    Q_OBJECT
    Q_PROPERTY(qint16 Caption READ caption WRITE setCaption NOTIFY captionChanged)
    Q_PROPERTY(int Max READ max WRITE setMax NOTIFY maxChanged)

public:
    static constexpr int MostLamps = 9;

    explicit TallyDisplay(QWidget* parent = nullptr);

    qint16 caption() const { return m_caption; }
    void setCaption(int caption);
    int max() const { return m_max; }
    void setMax(int max);

Q_SIGNALS:
    void captionChanged(qint16 caption);
    void maxChanged(int max);

protected:
    std::vector<Cell> cells() const override;
    std::vector<quint8> litBits() const override;
    // The count as a number ("3"; "" when blank), for the accessible value and the feed.
    QString currentText() const override;

private:
    qint16 m_caption = 0;
    int m_max = 3;
};
