#include "ledpainter.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace led {

namespace {

// One row per glyph: the segments it lights.
constexpr std::array<quint8, 10> DigitSegments = {
    A | B | C | D | E | F,     // 0
    B | C,                     // 1
    A | B | G | E | D,         // 2
    A | B | G | C | D,         // 3
    F | G | B | C,             // 4
    A | F | G | C | D,         // 5
    A | F | G | E | C | D,     // 6
    A | B | C,                 // 7
    A | B | C | D | E | F | G, // 8
    A | B | C | D | F | G,     // 9
};

// Rows of LEDs in a dot-style digit: odd, so that the middle segment has a row.
// Rows of LEDs in a dot-style arrow head, one more LED in each row.
constexpr int ArrowRows = 5;

} // namespace

quint8 segmentsFor(QChar glyph)
{
    if (glyph >= QLatin1Char('0') && glyph <= QLatin1Char('9'))
        return DigitSegments[glyph.unicode() - '0'];
    if (glyph == QLatin1Char('-'))
        return G;
    return 0;
}

QColor unlitColour(const QColor& lit, const QColor& back)
{
    // Enough to see the unlit figure on a dark board, little enough to read at a glance.
    constexpr double mix = 0.13;
    auto blend = [](int b, int l) { return int(std::lround(b + (l - b) * mix)); };
    return QColor(blend(back.red(), lit.red()), blend(back.green(), lit.green()), blend(back.blue(), lit.blue()));
}

} // namespace led

using namespace led;

namespace {

// A decimal point's cell is this share of a digit's width: about a segment's
// stroke, so that it fits the space between two digits.
constexpr double PointShare = 0.17;

// Stroke weight of a segment, the one unit every lines-style shape derives from.
double thickness(const LedPainter::Metrics& m)
{
    return std::min(m.cellWidth * 0.2, m.cellHeight * 0.105);
}

// A horizontal segment between the centre lines of the two uprights, with pointed ends.
LedPainter::Element horizontal(double y, double x0, double x1, double t, double gap, quint8 bits)
{
    const double h = t / 2;
    const double a = x0 + gap;
    const double b = std::max(x1 - gap, a + t);
    return {bits, QPolygonF{{a, y}, {a + h, y - h}, {b - h, y - h}, {b, y}, {b - h, y + h}, {a + h, y + h}}, {}, 0,
            QRectF(QPointF(a + h, y - h), QPointF(b - h, y + h))};
}

LedPainter::Element vertical(double x, double y0, double y1, double t, double gap, quint8 bits)
{
    const double h = t / 2;
    const double a = y0 + gap;
    const double b = std::max(y1 - gap, a + t);
    return {bits, QPolygonF{{x, a}, {x + h, a + h}, {x + h, b - h}, {x, b}, {x - h, b - h}, {x - h, a + h}}, {}, 0,
            QRectF(QPointF(x - h, a + h), QPointF(x + h, b - h))};
}

LedPainter::Element dot(QPointF centre, double diameter, quint8 bits)
{
    // The square inscribed in the circle.
    const double half = diameter / 2 / std::sqrt(2.0);
    return {bits, {}, centre, diameter / 2, QRectF(centre - QPointF(half, half), centre + QPointF(half, half))};
}

// The LED grid of a dot-style digit: pitch, column count and the grid's offset in the cell.
struct DotGrid {
    double pitch;
    int columns;
    QPointF origin;
    QPointF centre(int column, int row) const { return origin + QPointF((column + 0.5) * pitch, (row + 0.5) * pitch); }
    double diameter() const { return pitch * 0.8; }
};

DotGrid dotGrid(const LedPainter::Metrics& m)
{
    const double rowPitch = m.cellHeight / DotRows;
    const int columns = std::max(3, int(std::lround(m.cellWidth / rowPitch)));
    const double pitch = std::min(rowPitch, m.cellWidth / columns);
    const QPointF origin((m.cellWidth - columns * pitch) / 2, (m.cellHeight - DotRows * pitch) / 2);
    return {pitch, columns, origin};
}

} // namespace

void LedPainter::setMetrics(const Metrics& metrics)
{
    if (metrics == m_metrics)
        return;
    m_metrics = metrics;
    invalidate();
}

void LedPainter::invalidate()
{
    for (Built& b : m_built)
        b = Built{};
}

QRectF LedPainter::Element::bounds() const
{
    return polygon.isEmpty() ? QRectF(centre - QPointF(radius, radius), centre + QPointF(radius, radius))
                             : polygon.boundingRect();
}

QPainterPath LedPainter::Element::path() const
{
    QPainterPath path;
    if (polygon.isEmpty()) {
        path.addEllipse(centre, radius, radius);
    } else {
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    return path;
}

double LedPainter::width(const Metrics& m, CellKind kind)
{
    switch (kind) {
    case CellKind::HalfOne:
        return m.halfWidth;
    case CellKind::Separator:
        return m.slotWidth;
    case CellKind::Point:
        return m.cellWidth * PointShare;
    case CellKind::Lamp:
    case CellKind::Arrow:
        return m.cellHeight;
    case CellKind::Digit:
        break;
    }
    return m.cellWidth;
}

LedPainter::Built& LedPainter::built(CellKind kind)
{
    Built& b = m_built[size_t(kind)];
    if (!b.done) {
        b.elements = build(kind);
        b.done = true;
    }
    return b;
}

const std::vector<LedPainter::Element>& LedPainter::elements(CellKind kind)
{
    return built(kind).elements;
}

const std::pair<QPainterPath, QPainterPath>& LedPainter::outlines(Built& b, quint8 litBits)
{
    auto it = b.byBits.find(litBits);
    if (it == b.byBits.end()) {
        std::pair<QPainterPath, QPainterPath> merged;
        for (const Element& e : b.elements)
            ((e.bits & litBits) ? merged.first : merged.second).addPath(e.path());
        it = b.byBits.insert(litBits, merged);
    }
    return *it;
}

QPointF LedPainter::snapped(QPointF origin, qreal dpr)
{
    if (dpr <= 0)
        dpr = 1;
    return {std::round(origin.x() * dpr) / dpr, std::round(origin.y() * dpr) / dpr};
}

void LedPainter::drawCell(QPainter& painter, CellKind kind, QPointF origin, quint8 litBits, const QColor& lit,
                          const QColor& unlit)
{
    const auto& [litPath, unlitPath] = outlines(built(kind), litBits);
    const QPointF corner = snapped(origin, m_metrics.dpr);
    painter.translate(corner);
    if (unlit.isValid())
        painter.fillPath(unlitPath, unlit);
    painter.fillPath(litPath, lit);
    painter.translate(-corner);
}

std::vector<LedPainter::Element> LedPainter::build(CellKind kind) const
{
    const Metrics& m = m_metrics;
    const double w = width(kind);
    const double h = m.cellHeight;
    std::vector<Element> elements;
    auto add = [&elements](Element e) { elements.push_back(std::move(e)); };

    if (m.style == Dots) {
        const DotGrid grid = dotGrid(m);
        const double d = grid.diameter();
        const int mid = DotRows / 2;
        const int last = DotRows - 1;
        switch (kind) {
        case CellKind::Digit: {
            const int right = grid.columns - 1;
            for (int c = 1; c < right; ++c) {
                add(dot(grid.centre(c, 0), d, A));
                add(dot(grid.centre(c, mid), d, G));
                add(dot(grid.centre(c, last), d, D));
            }
            for (int r = 1; r < mid; ++r) {
                add(dot(grid.centre(0, r), d, F));
                add(dot(grid.centre(right, r), d, B));
            }
            for (int r = mid + 1; r < last; ++r) {
                add(dot(grid.centre(0, r), d, E));
                add(dot(grid.centre(right, r), d, C));
            }
            // A corner LED belongs to every segment that meets there.
            add(dot(grid.centre(0, 0), d, A | F));
            add(dot(grid.centre(right, 0), d, A | B));
            add(dot(grid.centre(0, mid), d, F | E | G));
            add(dot(grid.centre(right, mid), d, B | C | G));
            add(dot(grid.centre(0, last), d, E | D));
            add(dot(grid.centre(right, last), d, C | D));
            break;
        }
        case CellKind::HalfOne:
            for (int r = 0; r <= last; ++r) {
                const QPointF c(w / 2, grid.centre(0, r).y());
                add(dot(c, d, quint8((r <= mid ? B : 0) | (r >= mid ? C : 0))));
            }
            break;
        case CellKind::Separator:
            add(dot({w / 2, grid.centre(0, mid - 2).y()}, d, Colon));
            add(dot({w / 2, grid.centre(0, mid + 2).y()}, d, Colon));
            add(dot({w / 2, grid.centre(0, last).y()}, d, Point));
            break;
        case CellKind::Point:
            add(dot({w / 2, grid.centre(0, last).y()}, std::min(d, w), Point));
            break;
        case CellKind::Lamp: {
            // Three rows of three LEDs.
            const double pitch = h / 3;
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    add(dot({(c + 0.5) * pitch, (r + 0.5) * pitch}, pitch * 0.8, LampOn));
            break;
        }
        case CellKind::Arrow: {
            // A triangle of LEDs, one in the row at its point and one more in each row after.
            const double pitch = h / ArrowRows;
            for (int r = 0; r < ArrowRows; ++r) {
                for (int c = 0; c <= r; ++c) {
                    const double x = w / 2 + (c - r / 2.0) * pitch;
                    add(dot({x, (r + 0.5) * pitch}, pitch * 0.8, ArrowUp));
                    add(dot({x, h - (r + 0.5) * pitch}, pitch * 0.8, ArrowDown));
                }
            }
            break;
        }
        }
        return elements;
    }

    const double t = thickness(m);
    const double gap = t * 0.14;
    switch (kind) {
    case CellKind::Digit: {
        const double left = t / 2, right = w - t / 2;
        const double top = t / 2, middle = h / 2, bottom = h - t / 2;
        add(horizontal(top, left, right, t, gap, A));
        add(vertical(right, top, middle, t, gap, B));
        add(vertical(right, middle, bottom, t, gap, C));
        add(horizontal(bottom, left, right, t, gap, D));
        add(vertical(left, middle, bottom, t, gap, E));
        add(vertical(left, top, middle, t, gap, F));
        add(horizontal(middle, left, right, t, gap, G));
        break;
    }
    case CellKind::HalfOne:
        add(vertical(w / 2, t / 2, h / 2, t, gap, B));
        add(vertical(w / 2, h / 2, h - t / 2, t, gap, C));
        break;
    case CellKind::Separator: {
        const double d = t * 1.25;
        add(dot({w / 2, h / 2 - h * 0.2}, d, Colon));
        add(dot({w / 2, h / 2 + h * 0.2}, d, Colon));
        add(dot({w / 2, h - d / 2}, d, Point));
        break;
    }
    case CellKind::Point: {
        const double d = std::min(t * 1.25, w);
        add(dot({w / 2, h - d / 2}, d, Point));
        break;
    }
    case CellKind::Lamp:
        add(dot({w / 2, h / 2}, h * 0.8, LampOn));
        break;
    case CellKind::Arrow: {
        // A head pointing up and one pointing down, each across the whole cell.
        const double inset = h * 0.08;
        const QRectF r(inset, inset, w - 2 * inset, h - 2 * inset);
        const auto head = [&r](bool up, quint8 bits) {
            const double tip = up ? r.top() : r.bottom();
            const double base = up ? r.bottom() : r.top();
            const QPolygonF corners{{r.center().x(), tip}, {r.right(), base}, {r.left(), base}};
            // The inner rectangle: the middle third of the base's half of the head.
            const double y0 = up ? r.top() + r.height() * 0.55 : r.top() + r.height() * 0.15;
            return Element{bits, corners, {}, 0, QRectF(r.left() + r.width() * 0.35, y0, r.width() * 0.3, r.height() * 0.3)};
        };
        add(head(true, ArrowUp));
        add(head(false, ArrowDown));
        break;
    }
    }
    return elements;
}
