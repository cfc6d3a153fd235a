#include "fitpicture.h"

#include "controls.h"
#include "units.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

QRectF fittedPictureRect(QSizeF picture, QSizeF container)
{
    const double nw = picture.width();
    const double nh = units::toInt16(picture.height());
    const double cw = container.width();
    const double ch = container.height();
    if (nw <= 0 || nh <= 0 || cw <= 0 || ch <= 0)
        return QRectF(0, 0, nw, nh);
    double w = 0;
    double h = 0;
    if (nh / ch > nw / cw) {
        h = ch;
        w = h * nw / nh;
    } else {
        w = cw;
        h = w * nh / nw;
    }
    return QRectF((cw - w) / 2, (ch - h) / 2, w, h);
}

void FitPicture(Image* image, QWidget* container, const QString& path)
{
    image->hide();
    image->setStretch(false);
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        // A huge picture is refused rather than decoded into gigabytes.
        const QSize declared = reader.size();
        const QImage picture = declared.isValid() && qint64(declared.width()) * declared.height() > 100'000'000
                                   ? QImage()
                                   : reader.read();
        if (!picture.isNull()) {
            image->setPicture(QPixmap::fromImage(picture));
            const QSizeF natural(units::pixelsToTwips(picture.width()), units::pixelsToTwips(picture.height()));
            const QSizeF box(units::pixelsToTwips(container->width()), units::pixelsToTwips(container->height()));
            const QRectF r = fittedPictureRect(natural, box);
            using units::twipsToWholePixels;
            image->setGeometry(twipsToWholePixels(r.x()), twipsToWholePixels(r.y()), twipsToWholePixels(r.width()),
                               twipsToWholePixels(r.height()));
        }
    }
    image->setStretch(true);
    image->show();
}
