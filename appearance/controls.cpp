#include "controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The share of its font an eliding caption keeps to show its text whole.
constexpr qreal ElidingSizeKept = 0.9;

} // namespace

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
}

// Each event is reported once and taken here, so it never reaches the box's
// container a second time.
void PictureBox::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    Q_EMIT KeyDown(event);
}

void PictureBox::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    Q_EMIT KeyUp(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    Q_EMIT MouseDown(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    Q_EMIT MouseMove(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    Q_EMIT MouseUp(event);
}

void PictureBox::setBackColor(const QColor& colour)
{
    QPalette p = palette();
    if (p.color(QPalette::Window) == colour)
        return;
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

Label::Label(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
{
    // A caption is what the operator typed, never markup: a team name such as
    // "<b>Smith & Sons</b>" shows its brackets, as the feed and the overlay do.
    setTextFormat(Qt::PlainText);
    // Labels are transparent: the box's colour shows behind them.
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void Label::setFitsWidth(bool fits)
{
    if (fits == m_fitsWidth)
        return;
    m_fitsWidth = fits;
    update();
}

void Label::setElides(bool elides)
{
    if (elides == m_elides)
        return;
    m_elides = elides;
    update();
}

QFont Label::shownFont() const
{
    QFont f = font();
    const int available = contentsRect().width();
    if ((!m_fitsWidth && !m_elides) || available <= 0 || text().isEmpty())
        return f;
    // Text widths grow almost in proportion to the size: start from that guess
    // and step down the rest of the way (a step or two, for the font's hinting).
    const qreal designed = f.pointSizeF();
    const int needed = QFontMetrics(f).horizontalAdvance(text());
    if (needed <= available || designed <= 0)
        return f;
    qreal size = designed * available / needed;
    // An eliding caption gives up no more of its size than whole pixels take
    // from a label scaled with its box (a name that fits its label at one size
    // fits it at every size); a text much wider ends in "…" instead.
    const qreal smallest = m_fitsWidth ? 1 : designed * ElidingSizeKept;
    if (size < smallest)
        return font();
    for (; size > 1; size -= 0.25) {
        f.setPointSizeF(size);
        if (QFontMetrics(f).horizontalAdvance(text()) <= available)
            break;
    }
    return f.pointSizeF() < smallest ? font() : f;
}

QString Label::shownText() const
{
    if (!m_elides)
        return text();
    const QFontMetrics metrics(shownFont());
    const int width = contentsRect().width();
    QString shown = text();
    // An elided text can come back a pixel wider than it was asked to be (its
    // pieces rounded on their own): then it is asked for a pixel less.
    for (int room = width; room > 0 && metrics.horizontalAdvance(shown) > width; --room)
        shown = metrics.elidedText(text(), Qt::ElideRight, room);
    return shown;
}

void Label::paintEvent(QPaintEvent* event)
{
    const QFont shown = shownFont();
    const QString caption = shownText();
    if (shown == font() && caption == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(shown);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()), caption);
}

void Label::setForeColor(const QColor& colour)
{
    QPalette p = palette();
    if (p.color(QPalette::WindowText) == colour)
        return;
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

Image::Image(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void Image::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (!m_stretch && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

void Image::setStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    // Only a newly loaded picture sizes an unstretched image; switching keeps the size.
    m_stretch = stretch;
    update();
}

void Image::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}

Shape::Shape(QWidget* parent)
    : QWidget(parent)
{
}

void Shape::setFillColor(const QColor& colour)
{
    if (colour == m_fill)
        return;
    m_fill = colour;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
}
