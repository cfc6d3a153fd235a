#pragma once
// Loads a picture file into an image and fits it, proportions kept, centred in
// its container; the spare space shows the container's own background.

#include <QRectF>
#include <QSizeF>
#include <QString>

class Image;
class QWidget;

// Where a picture of natural size `picture` goes inside `container` (twips).
QRectF fittedPictureRect(QSizeF picture, QSizeF container);

// A missing, empty or undecodable file leaves the image's picture, size and
// position as they were; the image is shown either way.
void FitPicture(Image* image, QWidget* container, const QString& path);
