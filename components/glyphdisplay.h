#pragma once
// GlyphDisplay: a single LED digit, used to preview the colours and the drawing
// style. Caption 0..9 shows that digit, a negative caption shows blank and a larger
// one its last digit.

#include "leddisplay.h"

class GlyphDisplay : public LedDisplay
{
    Q_OBJECT
    Q_PROPERTY(qint16 Caption READ caption WRITE setCaption NOTIFY captionChanged)

public:
    explicit GlyphDisplay(QWidget* parent = nullptr);

    qint16 caption() const { return m_caption; }
    void setCaption(int caption);

    static QString textFor(int caption);

Q_SIGNALS:
    void captionChanged(qint16 caption);

protected:
    std::vector<Cell> cells() const override;
    std::vector<quint8> litBits() const override;
    QString currentText() const override;

private:
    qint16 m_caption = 8;
};
