#include "splashload.h"

#include <algorithm>

namespace {
// The height the vertical centring takes for the splash, not its own.
constexpr int CentringHeightTwips = 5880;
} // namespace

QString splashVersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QPointF splashTopLeftTwips(QSize screenTwips, int windowWidthTwips)
{
    // On a screen too small for the formula the splash keeps its top-left
    // corner on the screen, so that its buttons are not pushed out of reach.
    return QPointF(std::max(0.0, (double(screenTwips.width()) - windowWidthTwips) / 2),
                   std::max(0.0, (double(screenTwips.height()) - CentringHeightTwips) / 2));
}
