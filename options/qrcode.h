#pragma once
// A QR code of a text (the scorer page's address with its token), for a phone or
// tablet to read off the screen: one pixel per module, dark on light, with the
// quiet zone of four modules around it. A null image when the text does not fit.

#include <QByteArray>
#include <QImage>

QImage qrCodeImage(const QByteArray& text);
