// Draws the program's logo as a square icon for the desktop's menus:
//   tallivox-logoicon SIZE FILE.png
// The logo keeps its proportions, as wide as the icon and centred on a
// transparent square; it is painted at the icon's size, not scaled up.

#include "splashlogo.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char* argv[])
{
    const int size = argc == 3 ? QByteArray(argv[1]).toInt() : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: tallivox-logoicon SIZE FILE.png (SIZE 16 to 1024)\n");
        return 2;
    }
    const QImage logo = paintLogo(qreal(size) / LogoWidth);
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        p.drawImage(QPoint((size - logo.width()) / 2, (size - logo.height()) / 2), logo);
    }
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "tallivox-logoicon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
