#pragma once
// LedPainter: the drawing shared by every LED display. A display is a row of cells
// (full digits, the narrow leading "1" of a score display, the separator slot of a
// clock, the decimal point between two digits, a round lamp, the possession
// arrow); each cell kind is a list of lit-able elements (a bevelled segment or one
// round LED) tagged with the segment bits that light it. The elements are plain
// values, handed out as they are to whatever draws a display elsewhere (the feed's
// overlay page), and a paint fills exactly them: built once per cell size and
// style, merged into two paths per bit pattern, kept until the owner invalidates
// them.

#include <QColor>
#include <QHash>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QtGlobal>

#include <array>
#include <vector>

class QPainter;

namespace led {

// Seven-segment bits: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
enum Segment : quint8 { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

// Separator slot bits; a point cell lights with Point too.
enum Separator : quint8 { Colon = 1, Point = 2 };
// A lamp cell's one bit, and the arrow cell's two heads.
enum Lamp : quint8 { LampOn = 1 };
enum Arrow : quint8 { ArrowUp = 1, ArrowDown = 2 };

// The rows of LEDs a dot-matrix cell is tall.
constexpr int DotRows = 9;

enum class CellKind { Digit, HalfOne, Separator, Point, Lamp, Arrow };
constexpr int CellKindCount = 6;
enum Style { Lines = 0, Dots = 1 };

// Segments lit for a glyph: '0'-'9', '-', and anything else (a blank) dark.
quint8 segmentsFor(QChar glyph);

// A faint unlit segment, for the splash's logo: the background a little toward
// the lit colour. The displays draw none, so their board keys out whole.
QColor unlitColour(const QColor& lit, const QColor& back);

} // namespace led

class LedPainter
{
public:
    struct Metrics {
        double cellHeight = 1; // all in device-independent pixels
        double cellWidth = 1;
        double halfWidth = 1;
        double slotWidth = 1;
        int style = led::Lines;
        qreal dpr = 1;
        bool operator==(const Metrics&) const = default;
    };

    // Keeps the cached shapes when nothing changed, drops them otherwise.
    void setMetrics(const Metrics& metrics);
    const Metrics& metrics() const { return m_metrics; }
    void invalidate();

    double width(led::CellKind kind) const { return width(m_metrics, kind); }
    // A cell's width at these metrics: a point is a sixth of a digit wide, a lamp
    // and an arrow are as wide as they are high.
    static double width(const Metrics& metrics, led::CellKind kind);

    // One lit-able element of a cell, in the cell's own pixels (its top-left corner
    // at 0,0): a segment's corners, or a round LED's centre and radius.
    struct Element {
        quint8 bits = 0; // lit when any of these bits is lit
        QPolygonF polygon; // empty for a round LED
        QPointF centre;
        double radius = 0;
        QRectF inner; // a rectangle within it that it covers entirely
        QRectF bounds() const;
        QPainterPath path() const;
    };
    // What a cell of `kind` is drawn from at the current metrics.
    const std::vector<Element>& elements(led::CellKind kind);

    // Where a cell placed at `origin` is drawn: on the nearest device pixel, so
    // that its edges shade alike wherever the cell sits.
    static QPointF snapped(QPointF origin, qreal dpr);

    // Draws one cell with its top-left corner at `origin`, snapped; an invalid
    // `unlit` leaves the unlit segments undrawn.
    void drawCell(QPainter& painter, led::CellKind kind, QPointF origin, quint8 litBits, const QColor& lit,
                  const QColor& unlit);

private:
    struct Built {
        bool done = false;
        std::vector<Element> elements;
        // Lit and unlit outlines per bit pattern, merged on first use.
        QHash<quint8, std::pair<QPainterPath, QPainterPath>> byBits;
    };

    Metrics m_metrics;
    std::array<Built, led::CellKindCount> m_built;

    Built& built(led::CellKind kind);
    const std::pair<QPainterPath, QPainterPath>& outlines(Built& built, quint8 litBits);
    std::vector<Element> build(led::CellKind kind) const;
};
