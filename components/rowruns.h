#pragma once
// Writing a display's pixels straight into the image a painter paints on.
//
// A copy reads every pixel it writes, so a cell copied from its cached picture
// costs about twice a fill of the same area, and narrow fills done one rectangle
// after another walk the image column-wise. Kept as runs of one colour along
// each row, a picture is written row by row with fills alone, as fast as a plain
// fill of the widget. Where the painter's target is not a plain 32-bit image at
// whole-pixel offsets, the caller paints through QPainter instead.

#include <QImage>
#include <QPoint>
#include <QRegion>

#include <optional>
#include <vector>

class QPainter;

// A picture as runs of one colour along each of its rows.
class RowRuns
{
public:
    RowRuns() = default;
    explicit RowRuns(const QImage& image);

    QSize size() const { return m_size; }
    // Writes pixels x0 up to (not including) x1 of row y to dest; the range is
    // within the picture.
    void writeRow(int y, int x0, int x1, quint32* dest) const;

private:
    struct Run {
        int end; // the first x after the run
        quint32 colour;
    };
    QSize m_size;
    std::vector<Run> m_runs;
    std::vector<qsizetype> m_rowStarts; // row y's runs start at m_rowStarts[y]
};

// Writes n pixels of one colour.
void fillPixels(quint32* dest, quint32 colour, qsizetype n);

// The image under an active painter, when its pixels may be written directly:
// the raster engine on a 32-bit RGB image, at a whole-pixel offset, one device
// pixel to a pixel, with no clip or opacity of the caller's own.
struct PixelTarget {
    QImage* image;
    QPoint offset;   // the painter's origin in the image
    QRegion region;  // what may be written, in the image's pixels

    // The row's pixels where the painter writes them. The image may be shared
    // (a backing store lends it out to be shown): writing through scanLine()
    // would copy it whole and write the copy, so this writes where the paint
    // engine itself does.
    quint32* row(int y) const { return reinterpret_cast<quint32*>(const_cast<uchar*>(image->constScanLine(y))); }
};
// The region is the part of `paintRegion` (in the painter's coordinates) that
// lies in the image and in the painter's system clip.
std::optional<PixelTarget> pixelTarget(QPainter& painter, const QRegion& paintRegion);
