#pragma once
// LedDisplay: the common ground of the LED-style displays (DigitDisplay,
// ClockDisplay, GlyphDisplay). It owns the colours, the drawing style, the digit
// size and the spacing, sizes itself from them (the host only moves it), paints a
// row of cells through LedPainter and reports keys and mouse to its host.
//
// Lengths are twips, 15 to a pixel. A digit cell is 15 x Size twips high (so Size
// is the digit height in pixels) and DigitRatio percent of that wide; PaddingH and
// PaddingV frame the cells, PaddingI separates them. A subclass says which cells it
// has and which segments are lit; everything else is here.
//
// Every setter compares first: writing the value a display already has costs no
// repaint and no relayout, so a host may write 20 times a second without care.

#include "colour.h"
#include "ledpainter.h"
#include "rowruns.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QKeyEvent;
class QMouseEvent;

class LedDisplay : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qint32 LitColor READ litColor WRITE setLitColor NOTIFY litColorChanged)
    Q_PROPERTY(qint32 BackColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
    Q_PROPERTY(int LedType READ ledType WRITE setLedType NOTIFY ledTypeChanged)
    Q_PROPERTY(qint16 Size READ digitSize WRITE setDigitSize NOTIFY digitSizeChanged)
    Q_PROPERTY(qint16 PaddingH READ paddingH WRITE setPaddingH NOTIFY paddingHChanged)
    Q_PROPERTY(qint16 PaddingV READ paddingV WRITE setPaddingV NOTIFY paddingVChanged)
    Q_PROPERTY(qint16 PaddingI READ paddingI WRITE setPaddingI NOTIFY paddingIChanged)
    Q_PROPERTY(int DigitRatio READ digitRatio WRITE setDigitRatio NOTIFY digitRatioChanged)

public:
    enum Style { Lines = 0, Dots = 1 };

    Colour litColor() const { return m_litColor; }
    void setLitColor(Colour colour);
    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    // 0 draws bevelled segments, 1 rows of round LEDs; any other number draws segments.
    int ledType() const { return m_ledType; }
    void setLedType(int type);

    // Lengths arrive as doubles (the layout scales them) and are kept as whole twips.
    qint16 digitSize() const { return m_size; }
    void setDigitSize(double twips);
    qint16 paddingH() const { return m_paddingH; }
    void setPaddingH(double twips);
    qint16 paddingV() const { return m_paddingV; }
    void setPaddingV(double twips);
    qint16 paddingI() const { return m_paddingI; }
    void setPaddingI(double twips);
    // Cell width in percent of its height; kept within 10..200.
    int digitRatio() const { return m_digitRatio; }
    void setDigitRatio(int percent);

    // Exactly what the display shows ("12", "10:00", "59.9"; "" when blank).
    QString shownText() const { return m_text; }

    // Where each cell is drawn, in the widget's pixels, and the segments it lights:
    // what a paint draws, and what a copy of the display elsewhere needs to draw
    // the same.
    struct PlacedCell {
        led::CellKind kind;
        QRectF rect;
        quint8 litBits;
    };
    std::vector<PlacedCell> placedCells() const;
    // The cell sizes and drawing style the placed cells are drawn with.
    LedPainter::Metrics metrics() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void Click();
    void KeyDown(QKeyEvent* event);
    void KeyUp(QKeyEvent* event);
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);

    void litColorChanged(Colour colour);
    void backColorChanged(Colour colour);
    void ledTypeChanged(int type);
    void digitSizeChanged(qint16 twips);
    void paddingHChanged(qint16 twips);
    void paddingVChanged(qint16 twips);
    void paddingIChanged(qint16 twips);
    void digitRatioChanged(int percent);

protected:
    struct Cell {
        led::CellKind kind;
        double gapBefore; // twips between this cell and the previous one
    };

    explicit LedDisplay(QWidget* parent);

    // The row of cells, left to right, and the segments lit in each (same length).
    virtual std::vector<Cell> cells() const = 0;
    virtual std::vector<quint8> litBits() const = 0;
    virtual QString currentText() const = 0;

    // For subclasses' setters: what a changed value affects.
    void shownValueChanged();
    void layoutChanged();
    // Subclasses call it once their own members are set.
    void finishConstruction();

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Defaults shared by the score displays; GlyphDisplay sets its own.
    Colour m_litColor = 0x0000ff;
    Colour m_backColor = 0x000000;
    int m_ledType = Lines;
    qint16 m_size = 25;
    qint16 m_paddingH = 55;
    qint16 m_paddingV = 55;
    qint16 m_paddingI = 55;
    int m_digitRatio = 53;

private:
    // A cell pattern drawn once on the board's colour, and the two ways it is
    // put on screen, each worked out the first time it is needed: its rows as
    // runs of one colour, written straight into a plain image; or, for QPainter,
    // what is plain board or plain lit colour (and rims of one colour along
    // straight edges) to fill, and the rest of the image to copy.
    struct CellImage {
        struct Pieces {
            std::vector<std::pair<QRect, QColor>> filled; // in the image's pixels
            std::vector<QRect> copied;
        };
        led::CellKind kind;
        quint8 litBits;
        QImage image;
        quint64 lastPaint;
        std::optional<Pieces> pieces;
        RowRuns runs;
    };

    QString m_text;
    LedPainter m_painter;
    bool m_pressed = false;
    // The cells as the shown value last left them: the next value repaints only
    // the cells whose segments differ; cells that moved, or a restyle or recolour
    // (which empties it), repaint everything.
    std::vector<PlacedCell> m_shownCells;
    std::vector<CellImage> m_cellImages;
    quint64 m_paints = 0;

    double cellHeightTwips() const;
    double widthTwips(led::CellKind kind) const;
    void appearanceChanged();
    void relayout();
    void dropCaches();
    CellImage& cellImage(led::CellKind kind, quint8 litBits);
    const CellImage::Pieces& pieces(CellImage& cell);
    void writeRows(const PixelTarget& target, const std::vector<PlacedCell>& placed, const std::vector<QRect>& areas);
};
