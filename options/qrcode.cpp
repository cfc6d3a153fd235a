#include "qrcode.h"

#include <qrencode.h>

#include <memory>

QImage qrCodeImage(const QByteArray& text)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code)
        return {};
    constexpr int QuietZone = 4;
    const int width = code->width;
    QImage image(width + 2 * QuietZone, width + 2 * QuietZone, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    // The lowest bit of each module's byte says whether it is dark.
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < width; ++x)
            if (code->data[y * width + x] & 1)
                image.setPixel(x + QuietZone, y + QuietZone, 1);
    return image;
}
