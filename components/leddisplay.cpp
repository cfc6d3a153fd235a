#include "leddisplay.h"

#include "qcolour.h"
#include "units.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

// Cell images beyond this many bytes are dropped, the least recently painted
// first; the cells of one paint are always kept. A score box's cells are small
// enough to keep every pattern, a 4K shot clock keeps little more than it shows.
constexpr qsizetype CellImageBudget = 16 * 1024 * 1024;

// The whole pixels a cell's drawing can touch.
QRect cellArea(const QRectF& cell, qreal dpr)
{
    return QRectF(LedPainter::snapped(cell.topLeft(), dpr), cell.size()).toAlignedRect();
}

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
    case led::CellKind::Point:
        return 0; // it takes no room of its own
    case led::CellKind::Lamp:
    case led::CellKind::Arrow:
        return cellHeightTwips();
    case led::CellKind::Digit:
        break;
    }
    return cellHeightTwips() * m_digitRatio / 100.0;
}

QSize LedDisplay::sizeHint() const
{
    double width = 2.0 * std::max<qint16>(0, m_paddingH);
    for (const Cell& cell : cells())
        width += cell.kind == led::CellKind::Point ? 0 : std::max(0.0, cell.gapBefore) + widthTwips(cell.kind);
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

void LedDisplay::dropCaches()
{
    m_painter.invalidate();
    m_cellImages.clear();
    m_shownCells.clear();
}

void LedDisplay::appearanceChanged()
{
    dropCaches();
    update();
}

void LedDisplay::layoutChanged()
{
    dropCaches();
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
    std::vector<PlacedCell> placed = placedCells();
    const bool samePlaces = std::equal(placed.begin(), placed.end(), m_shownCells.begin(), m_shownCells.end(),
                                       [](const PlacedCell& a, const PlacedCell& b) {
                                           return a.kind == b.kind && a.rect == b.rect;
                                       });
    if (!samePlaces) {
        update();
    } else {
        for (size_t i = 0; i < placed.size(); ++i) {
            if (placed[i].litBits != m_shownCells[i].litBits)
                update(cellArea(placed[i].rect, devicePixelRatioF()));
        }
    }
    m_shownCells = std::move(placed);
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
    auto cellWidth = [&m](led::CellKind kind) { return LedPainter::width(m, kind); };
    const std::vector<Cell> row = cells();
    const std::vector<quint8> bits = litBits();
    auto gapBefore = [&row](size_t i) { return i < row.size() ? units::twipsToPixels(std::max(0.0, row[i].gapBefore)) : 0.0; };

    // The cells are centred, so a host that stretches the widget still sees them whole.
    // A point takes no room: it sits in the middle of the space before the next
    // cell, so that the digits stay where they are with it and without it.
    double contentWidth = 0;
    for (size_t i = 0; i < row.size(); ++i) {
        if (row[i].kind != led::CellKind::Point)
            contentWidth += gapBefore(i) + cellWidth(row[i].kind);
    }
    double x = (width() - contentWidth) / 2;
    const double y = (height() - m.cellHeight) / 2;
    std::vector<PlacedCell> placed;
    placed.reserve(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        if (row[i].kind == led::CellKind::Point) {
            const double w = cellWidth(row[i].kind);
            // In dots a point level with the bottom row reads as part of the next
            // digit ("4.2" as "42"): it drops below the row, as far as the
            // display's margin lets it.
            const double pitch = m.cellHeight / led::DotRows;
            const double drop = m.style == led::Dots ? std::clamp(y, 0.0, 0.6 * pitch) : 0.0;
            placed.push_back({row[i].kind, QRectF(x + (gapBefore(i + 1) - w) / 2, y + drop, w, m.cellHeight),
                              i < bits.size() ? bits[i] : quint8(0)});
            continue;
        }
        x += units::twipsToPixels(std::max(0.0, row[i].gapBefore));
        placed.push_back({row[i].kind, QRectF(x, y, cellWidth(row[i].kind), m.cellHeight), i < bits.size() ? bits[i] : quint8(0)});
        x += cellWidth(row[i].kind);
    }
    return placed;
}

LedDisplay::CellImage& LedDisplay::cellImage(led::CellKind kind, quint8 litBits)
{
    const qreal dpr = devicePixelRatioF();
    for (CellImage& cached : m_cellImages) {
        if (cached.kind == kind && cached.litBits == litBits && cached.image.devicePixelRatio() == dpr) {
            cached.lastPaint = m_paints;
            return cached;
        }
    }
    const QSize pixels(int(std::ceil(m_painter.width(kind) * dpr)), int(std::ceil(m_painter.metrics().cellHeight * dpr)));
    CellImage made{kind, litBits, QImage(pixels, QImage::Format_RGB32), m_paints, {}, {}};
    QImage& image = made.image;
    image.setDevicePixelRatio(dpr);
    image.fill(toQColor(m_backColor));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        m_painter.drawCell(painter, kind, QPointF(0, 0), litBits, toQColor(m_litColor), QColor());
    }

    qsizetype bytes = image.sizeInBytes();
    for (const CellImage& cached : m_cellImages)
        bytes += cached.image.sizeInBytes();
    while (bytes > CellImageBudget) {
        auto oldest = std::min_element(m_cellImages.begin(), m_cellImages.end(),
                                       [](const CellImage& a, const CellImage& b) { return a.lastPaint < b.lastPaint; });
        if (oldest == m_cellImages.end() || oldest->lastPaint == m_paints)
            break;
        bytes -= oldest->image.sizeInBytes();
        m_cellImages.erase(oldest);
    }
    m_cellImages.push_back(std::move(made));
    return m_cellImages.back();
}

const LedDisplay::CellImage::Pieces& LedDisplay::pieces(CellImage& cell)
{
    if (cell.pieces)
        return *cell.pieces;
    const QImage& image = cell.image;
    const qreal dpr = image.devicePixelRatio();
    CellImage::Pieces& made = cell.pieces.emplace();
    // Outside its elements' bounds the cell is board; a pixel inside an
    // element's inner rectangle, a pixel away from its edge, is lit colour.
    const QRect whole = image.rect();
    QRegion ink, solid;
    if (dpr == 1) {
        for (const LedPainter::Element& e : m_painter.elements(cell.kind)) {
            if (!(e.bits & cell.litBits))
                continue;
            ink += e.bounds().toAlignedRect();
            const QRectF in = e.inner;
            const QRect inner(QPoint(int(std::ceil(in.left())) + 1, int(std::ceil(in.top())) + 1),
                              QPoint(int(std::floor(in.right())) - 2, int(std::floor(in.bottom())) - 2));
            if (inner.isValid())
                solid += inner;
        }
    } else {
        ink = whole;
    }
    const auto rects = [&whole](const QRegion& region) {
        const QRegion inside = region & whole;
        return std::vector<QRect>(inside.begin(), inside.end());
    };
    for (const QRect& r : rects(QRegion(whole) - ink))
        made.filled.emplace_back(r, toQColor(m_backColor));
    for (const QRect& r : rects(solid))
        made.filled.emplace_back(r, toQColor(m_litColor));
    // The rim along a straight edge is one colour down its length: a narrow rim
    // whose every column is one colour is filled, column by column, not copied.
    const auto oneColour = [&image](const QRect& r) -> std::optional<QRgb> {
        const QRgb first = image.pixel(r.topLeft());
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            if (!std::all_of(row + r.left(), row + r.right() + 1, [first](QRgb p) { return p == first; }))
                return std::nullopt;
        }
        return first;
    };
    for (const QRect& r : rects(ink - solid)) {
        std::vector<std::pair<QRect, QColor>> columns;
        for (int x = r.left(); r.width() <= 3 && x <= r.right(); ++x) {
            const QRect column(x, r.top(), 1, r.height());
            if (const std::optional<QRgb> colour = oneColour(column))
                columns.emplace_back(column, QColor::fromRgb(*colour));
        }
        if (r.width() <= 3 && int(columns.size()) == r.width())
            made.filled.insert(made.filled.end(), columns.begin(), columns.end());
        else
            made.copied.push_back(r);
    }
    // Many small pieces (a dot-style cell) cost more to draw one by one than
    // the whole cell costs to copy.
    if (made.filled.size() + made.copied.size() > 64) {
        made.filled.clear();
        made.copied = {whole};
    }
    return made;
}

void LedDisplay::paintEvent(QPaintEvent* event)
{
    ++m_paints;
    QPainter painter(this);
    const QColor back = toQColor(m_backColor);
    const LedPainter::Metrics m = metrics();
    if (!(m == m_painter.metrics()))
        m_cellImages.clear();
    m_painter.setMetrics(m);
    const qreal dpr = devicePixelRatioF();
    const std::vector<PlacedCell> placed = placedCells();

    // Each cell is a copy of its image, and the board is filled only around
    // them, so every pixel is written once. Cells drawn over one another (no
    // spacing and a fractional width) are drawn one on the other instead.
    std::vector<QRect> areas;
    areas.reserve(placed.size());
    bool apart = true;
    for (const PlacedCell& cell : placed) {
        areas.push_back(cellArea(cell.rect, dpr));
        apart = apart && (areas.size() < 2 || !areas[areas.size() - 2].intersects(areas.back()));
    }
    if (!apart) {
        painter.fillRect(rect(), back);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        // Unlit segments are the board itself, so that a board in the key colour
        // leaves nothing behind the digits for the mixer to miss.
        for (const PlacedCell& cell : placed)
            m_painter.drawCell(painter, cell.kind, cell.rect.topLeft(), cell.litBits, toQColor(m_litColor), QColor());
        return;
    }
    if (dpr == 1) {
        if (const std::optional<PixelTarget> target = pixelTarget(painter, event->region())) {
            writeRows(*target, placed, areas);
            return;
        }
    }
    QRegion board = event->region();
    for (const QRect& area : areas)
        board -= area;
    for (const QRect& r : board)
        painter.fillRect(r, back);
    for (size_t i = 0; i < placed.size(); ++i) {
        if (!event->region().intersects(areas[i]))
            continue;
        CellImage& cell = cellImage(placed[i].kind, placed[i].litBits);
        const CellImage::Pieces& parts = pieces(cell);
        const QPointF corner = LedPainter::snapped(placed[i].rect.topLeft(), dpr);
        painter.translate(corner);
        for (const auto& [r, colour] : parts.filled)
            painter.fillRect(r, colour);
        for (const QRect& r : parts.copied)
            painter.drawImage(QRectF(QPointF(r.topLeft()) / dpr, QSizeF(r.size()) / dpr), cell.image, r);
        painter.translate(-corner);
    }
}

// Every pixel of the region written once, row after row: the board filled
// between the cells, each cell's row written from its runs.
void LedDisplay::writeRows(const PixelTarget& target, const std::vector<PlacedCell>& placed, const std::vector<QRect>& areas)
{
    struct Placed {
        QRect area; // in the image's pixels
        const CellImage* image;
    };
    // Only the cells being painted are looked up, so that the images of cells
    // that stay as they are never crowd out those that change. They are made
    // first and looked up after: making an image may move the others.
    std::vector<const PlacedCell*> painted;
    for (size_t i = 0; i < placed.size(); ++i) {
        if (target.region.intersects(areas[i].translated(target.offset))) {
            cellImage(placed[i].kind, placed[i].litBits);
            painted.push_back(&placed[i]);
        }
    }
    std::vector<Placed> cells;
    for (const PlacedCell* cell : painted) {
        CellImage& image = cellImage(cell->kind, cell->litBits);
        if (image.runs.size() != image.image.size())
            image.runs = RowRuns(image.image);
        const QPoint corner = LedPainter::snapped(cell->rect.topLeft(), 1).toPoint() + target.offset;
        cells.push_back({QRect(corner, image.runs.size()), &image});
    }
    std::sort(cells.begin(), cells.end(), [](const Placed& a, const Placed& b) { return a.area.left() < b.area.left(); });
    const quint32 board = toQColor(m_backColor).rgb();
    for (const QRect& r : target.region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = target.row(y);
            int x = r.left();
            const int end = r.right() + 1;
            for (const Placed& cell : cells) {
                const QRect& a = cell.area;
                if (y < a.top() || y > a.bottom() || a.right() < x)
                    continue;
                if (a.left() >= end)
                    break;
                const int from = std::max(x, a.left());
                fillPixels(row + x, board, from - x);
                const int to = std::min(end, a.right() + 1);
                cell.image->runs.writeRow(y - a.top(), from - a.left(), to - a.left(), row + from);
                x = to;
            }
            fillPixels(row + x, board, end - x);
        }
    }
}

void LedDisplay::changeEvent(QEvent* event)
{
    // Moving to a screen with another pixel ratio or a new palette redraws from scratch.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ScreenChangeInternal)
        dropCaches();
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
