#include "helpgeometry.h"

#include <algorithm>

namespace helpgeometry {

QSize clampOuterSize(QSize outerTwips)
{
    return outerTwips.expandedTo(MinimumOuterTwips);
}

QRect textViewRect(QSize clientTwips)
{
    return QRect(TextViewLeftTwips, 0, std::max(clientTwips.width() - TextViewLeftTwips, 0),
                 std::max(clientTwips.height(), 0));
}

int wrapWidth(int textViewWidthTwips)
{
    // Never narrower than a pixel: a zero width would mean "no wrapping" to Qt.
    return std::max(textViewWidthTwips - WrapInsetTwips, 15);
}

} // namespace helpgeometry
