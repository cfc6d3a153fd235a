#include "glyphdisplay.h"

#include "units.h"

GlyphDisplay::GlyphDisplay(QWidget* parent)
    : LedDisplay(parent)
{
    // A preview a little larger than a score digit, framed taller than wide.
    m_size = 35;
    m_paddingH = 48;
    m_paddingV = 75;
    finishConstruction();
}

void GlyphDisplay::setCaption(int caption)
{
    const qint16 value = units::toInt16(caption);
    if (value == m_caption)
        return;
    m_caption = value;
    shownValueChanged();
    Q_EMIT captionChanged(value);
}

QString GlyphDisplay::textFor(int caption)
{
    if (caption < 0)
        return {};
    return QString::number(caption % 10);
}

std::vector<LedDisplay::Cell> GlyphDisplay::cells() const
{
    return {{led::CellKind::Digit, 0}};
}

std::vector<quint8> GlyphDisplay::litBits() const
{
    const QString text = currentText();
    return {text.isEmpty() ? quint8(0) : led::segmentsFor(text.front())};
}

QString GlyphDisplay::currentText() const
{
    return textFor(m_caption);
}
