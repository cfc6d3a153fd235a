#include "placement.h"

#include <algorithm>

namespace {

constexpr int Gap = 8;

qint64 overlapArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// `start` moved as little as possible to keep `length` within [low, high].
int clampedStart(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length + 1));
}

// The screen `box` overlaps most, the first on a tie; `screens` is not empty.
QRect homeScreen(const QRect& box, const QList<QRect>& screens)
{
    return *std::max_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
        return overlapArea(a, box) < overlapArea(b, box);
    });
}

} // namespace

std::optional<QPoint> placeBesideBox(const QRect& box, const QSize& size, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return std::nullopt;
    const QRect screen = homeScreen(box, screens);
    const int x = clampedStart(box.left(), size.width(), screen.left(), screen.right());
    const int y = clampedStart(box.top(), size.height(), screen.top(), screen.bottom());
    const QPoint candidates[] = {
        {x, box.bottom() + 1 + Gap},
        {x, box.top() - Gap - size.height()},
        {box.right() + 1 + Gap, y},
        {box.left() - Gap - size.width(), y},
    };
    for (const QPoint& at : candidates) {
        const QRect placed(at, size);
        if (screen.contains(placed) && !placed.intersects(box))
            return at;
    }
    for (const QRect& other : screens) {
        const QRect placed(other.center() - QPoint(size.width() / 2, size.height() / 2), size);
        if (other != screen && other.contains(placed) && !placed.intersects(box))
            return placed.topLeft();
    }
    return std::nullopt;
}

QRect placeWholeBesideBox(const QRect& box, const QSize& size, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return {};
    const QRect screen = homeScreen(box, screens);
    const QSize fitted = size.boundedTo(screen.size());
    if (const auto at = placeBesideBox(box, fitted, screens))
        return {*at, fitted};
    // No room off the box: the operator's window is more use whole over the box
    // than cut off by the screen's edge.
    return {QPoint(clampedStart(box.left(), fitted.width(), screen.left(), screen.right()),
                   clampedStart(box.bottom() + 1 + Gap, fitted.height(), screen.top(), screen.bottom())),
            fitted};
}

QPoint wholeOnScreen(const QRect& box, const QList<QRect>& screens, const QRect& primary)
{
    QRect screen = primary;
    qint64 most = 0;
    for (const QRect& s : screens) {
        if (s.contains(box))
            return box.topLeft();
        if (const qint64 area = overlapArea(s, box); area > most)
            most = area, screen = s;
    }
    return {clampedStart(box.left(), box.width(), screen.left(), screen.right()),
            clampedStart(box.top(), box.height(), screen.top(), screen.bottom())};
}
