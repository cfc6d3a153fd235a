#include "boxoutline.h"

#include "units.h"

#include <algorithm>
#include <cmath>

QRegion roundedOutline(int width, int height, int corner)
{
    if (width <= 0 || height <= 0)
        return {};
    const double rx = std::min(corner, width) / 2.0;
    const double ry = std::min(corner, height) / 2.0;
    if (rx < 0.5 || ry < 0.5)
        return QRegion(0, 0, width, height);
    // Row by row: each row inside a corner band is cut in by the quarter ellipse,
    // measured at the row's middle.
    QRegion region;
    const int band = int(std::ceil(ry));
    for (int y = 0; y < band; ++y) {
        const double dy = (ry - (y + 0.5)) / ry;
        const double inset = dy <= 0 ? 0 : rx - rx * std::sqrt(std::max(0.0, 1 - dy * dy));
        const int cut = int(std::lround(inset));
        const QRect row(cut, y, width - 2 * cut, 1);
        region += row;
        region += row.translated(0, height - 1 - 2 * y);
    }
    if (height > 2 * band)
        region += QRect(0, band, width, height - 2 * band);
    return region;
}

int outlineCorner(double boxHeightTwips)
{
    return units::toInt16(boxHeightTwips / 100);
}

QSize resizedBoxTwips(int boxWidth, int boxHeight, int w, int h)
{
    if (boxWidth <= 0 || boxHeight <= 0)
        return {boxWidth, boxHeight};
    h = std::max(h, 15);
    const double ratio = double(boxWidth) / boxHeight;
    if (ratio < double(w) / h)
        w = units::toInt32(ratio * h);
    else
        h = units::toInt32(double(boxHeight) / boxWidth * w);
    if (h < MinimumBoxHeightTwips) {
        h = MinimumBoxHeightTwips;
        w = units::toInt32(ratio * MinimumBoxHeightTwips);
    }
    return {w, h};
}
