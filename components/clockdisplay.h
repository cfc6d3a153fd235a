#pragma once
// ClockDisplay: a time in four LED digits with a separator slot in the middle.
// Format "60,1" shows Value as minutes:seconds (754 shows 12:34, minutes right
// aligned with no leading zero, at most 99:59); "1,.1" shows Value as seconds and
// tenths (59.9), whole seconds in the first two cells, the decimal point in the
// slot, the tenths in the third cell and the fourth cell dark. Any other Format
// text shows as "60,1". A negative Value shows as zero.

#include "leddisplay.h"

class ClockDisplay : public LedDisplay
{
    Q_OBJECT
    Q_PROPERTY(QString Format READ format WRITE setFormat NOTIFY formatChanged)
    Q_PROPERTY(float Value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(qint16 PaddingD READ paddingD WRITE setPaddingD NOTIFY paddingDChanged)

public:
    explicit ClockDisplay(QWidget* parent = nullptr);

    QString format() const { return m_format; }
    void setFormat(const QString& format);
    float value() const { return m_value; }
    void setValue(float value);
    // Space on each side of the separator slot, in twips.
    qint16 paddingD() const { return m_paddingD; }
    void setPaddingD(double twips);

    // The text shown for this value in this format ("10:00", "9.5").
    static QString textFor(const QString& format, float value);

Q_SIGNALS:
    void formatChanged(const QString& format);
    void valueChanged(float value);
    void paddingDChanged(qint16 twips);

protected:
    std::vector<Cell> cells() const override;
    std::vector<quint8> litBits() const override;
    QString currentText() const override;

private:
    QString m_format = QStringLiteral("60,1");
    float m_value = 0;
    qint16 m_paddingD = 55;
};
