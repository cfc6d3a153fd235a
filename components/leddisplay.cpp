#include "leddisplay.h"

#include "units.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

template<typename T>
bool assign(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// The narrow leading "1" and the clock's separator slot, in Size units.
constexpr double HalfOneWidth = 3;
constexpr double SeparatorWidth = 5;

} // namespace

LedDisplay::LedDisplay(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // The whole rectangle is painted with the background colour every time.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LedDisplay::finishConstruction()
{
    relayout();
    shownValueChanged();
}

void LedDisplay::setLitColor(Colour colour)
{
    if (!assign(m_litColor, colour))
        return;
    appearanceChanged();
    Q_EMIT litColorChanged(colour);
}

void LedDisplay::setBackColor(Colour colour)
{
    if (!assign(m_backColor, colour))
        return;
    appearanceChanged();
    Q_EMIT backColorChanged(colour);
}

void LedDisplay::setLedType(int type)
{
    if (!assign(m_ledType, type))
        return;
    appearanceChanged();
    Q_EMIT ledTypeChanged(type);
}

void LedDisplay::setDigitSize(double twips)
{
    if (!assign(m_size, units::toInt16(twips)))
        return;
    layoutChanged();
    Q_EMIT digitSizeChanged(m_size);
}

void LedDisplay::setPaddingH(double twips)
{
    if (!assign(m_paddingH, units::toInt16(twips)))
        return;
    layoutChanged();
    Q_EMIT paddingHChanged(m_paddingH);
}

void LedDisplay::setPaddingV(double twips)
{
    if (!assign(m_paddingV, units::toInt16(twips)))
        return;
    layoutChanged();
    Q_EMIT paddingVChanged(m_paddingV);
}

void LedDisplay::setPaddingI(double twips)
{
    if (!assign(m_paddingI, units::toInt16(twips)))
        return;
    layoutChanged();
    Q_EMIT paddingIChanged(m_paddingI);
}

void LedDisplay::setDigitRatio(int percent)
{
    if (!assign(m_digitRatio, std::clamp(percent, 10, 200)))
        return;
    layoutChanged();
    Q_EMIT digitRatioChanged(m_digitRatio);
}

double LedDisplay::cellHeightTwips() const
{
    // A size below one still draws a one-pixel digit rather than nothing.
    return units::TwipsPerPixel * std::max<double>(1, m_size);
}

double LedDisplay::widthTwips(led::CellKind kind) const
{
    const double size = std::max<double>(1, m_size);
    switch (kind) {
    case led::CellKind::HalfOne:
        return HalfOneWidth * size;
    case led::CellKind::Separator:
        return SeparatorWidth * size;
    case led::CellKind::Digit:
        break;
    }
    return cellHeightTwips() * m_digitRatio / 100.0;
}

QSize LedDisplay::sizeHint() const
{
    double width = 2.0 * std::max<qint16>(0, m_paddingH);
    for (const Cell& cell : cells())
        width += std::max(0.0, cell.gapBefore) + widthTwips(cell.kind);
    const double height = 2.0 * std::max<qint16>(0, m_paddingV) + cellHeightTwips();
    return {std::max(1, units::twipsToWholePixels(width)), std::max(1, units::twipsToWholePixels(height))};
}

LedPainter::Metrics LedDisplay::metrics() const
{
    LedPainter::Metrics m;
    m.cellHeight = units::twipsToPixels(cellHeightTwips());
    m.cellWidth = units::twipsToPixels(widthTwips(led::CellKind::Digit));
    m.halfWidth = units::twipsToPixels(widthTwips(led::CellKind::HalfOne));
    m.slotWidth = units::twipsToPixels(widthTwips(led::CellKind::Separator));
    m.style = m_ledType == Dots ? led::Dots : led::Lines;
    m.dpr = devicePixelRatioF();
    return m;
}

void LedDisplay::appearanceChanged()
{
    m_painter.invalidate();
    update();
}

void LedDisplay::layoutChanged()
{
    m_painter.invalidate();
    relayout();
    update();
}

void LedDisplay::shownValueChanged()
{
    const QString text = currentText();
    if (text != m_text) {
        m_text = text;
        setAccessibleDescription(text);
    }
    update();
}

void LedDisplay::relayout()
{
    const QSize wanted = sizeHint();
    if (wanted == size())
        return;
    resize(wanted);
    updateGeometry();
}

std::vector<LedDisplay::PlacedCell> LedDisplay::placedCells() const
{
    const LedPainter::Metrics m = metrics();
    auto cellWidth = [&m](led::CellKind kind) {
        switch (kind) {
        case led::CellKind::HalfOne:
            return m.halfWidth;
        case led::CellKind::Separator:
            return m.slotWidth;
        case led::CellKind::Digit:
            break;
        }
        return m.cellWidth;
    };
    const std::vector<Cell> row = cells();
    const std::vector<quint8> bits = litBits();

    // The cells are centred, so a host that stretches the widget still sees them whole.
    double contentWidth = 0;
    for (const Cell& cell : row)
        contentWidth += units::twipsToPixels(std::max(0.0, cell.gapBefore)) + cellWidth(cell.kind);
    double x = (width() - contentWidth) / 2;
    const double y = (height() - m.cellHeight) / 2;
    std::vector<PlacedCell> placed;
    placed.reserve(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        x += units::twipsToPixels(std::max(0.0, row[i].gapBefore));
        placed.push_back({row[i].kind, QRectF(x, y, cellWidth(row[i].kind), m.cellHeight), i < bits.size() ? bits[i] : quint8(0)});
        x += cellWidth(row[i].kind);
    }
    return placed;
}

void LedDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor back = toQColor(m_backColor);
    painter.fillRect(rect(), back);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    m_painter.setMetrics(metrics());
    const QColor lit = toQColor(m_litColor);
    // Unlit segments are the board itself, so that a board in the key colour
    // leaves nothing behind the digits for the mixer to miss.
    const QColor unlit;
    for (const PlacedCell& cell : placedCells())
        m_painter.drawCell(painter, cell.kind, cell.rect.topLeft(), cell.litBits, lit, unlit);
}

void LedDisplay::resizeEvent(QResizeEvent*)
{
    m_painter.invalidate();
}

void LedDisplay::changeEvent(QEvent* event)
{
    // Moving to a screen with another pixel ratio or a new palette redraws from scratch.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ScreenChangeInternal)
        m_painter.invalidate();
    QWidget::changeEvent(event);
}

// Keys and mouse go to the host through the signals only; the events are accepted
// here so that they do not travel on to the parent and reach the host twice.
void LedDisplay::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    Q_EMIT KeyDown(event);
}

void LedDisplay::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    Q_EMIT KeyUp(event);
}

void LedDisplay::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    m_pressed = true;
    Q_EMIT MouseDown(event);
}

void LedDisplay::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    Q_EMIT MouseMove(event);
}

void LedDisplay::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    if (event->buttons() == Qt::NoButton)
        m_pressed = false;
    Q_EMIT MouseUp(event);
    if (click)
        Q_EMIT Click();
}
