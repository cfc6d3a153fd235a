#pragma once
// The score box as it is drawn, as a plain value: every visible element's place,
// colours and content, so that a copy of the box elsewhere (the live feed's
// overlay page) can draw the same picture without reaching into the widgets.

#include "colour.h"
#include "ledpainter.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>

#include <vector>

class QWidget;

struct ShownCell
{
    led::CellKind kind = led::CellKind::Digit;
    QRectF rect; // in its display's pixels
    quint8 litBits = 0;
    bool operator==(const ShownCell&) const = default;
};

struct ShownElement
{
    enum class Kind { Fill, Display, Caption, Picture };
    Kind kind = Kind::Fill;
    QString name;
    QRect rect; // in the box's pixels
    QColor back; // Fill and Display: the background
    QColor fore; // Display: lit segments; Caption: the text

    // Display
    int style = led::Lines;
    double cellHeight = 0;
    double cellWidth = 0;
    double halfWidth = 0;
    double slotWidth = 0;
    std::vector<ShownCell> cells;

    // Display and Caption: the text as shown
    QString text;
    // Caption
    QString fontFamily;
    double fontPixels = 0;
    bool bold = false;
    Qt::Alignment alignment;

    // Picture: told apart by its key; the image itself is carried along with it
    qint64 pictureKey = 0;
    QImage picture;

    bool operator==(const ShownElement& other) const;
};

struct ShownBox
{
    int width = 0;
    int height = 0;
    double cornerRadius = 0; // the outline's corners, elliptical with this radius
    std::vector<ShownElement> elements; // in drawing order, back to front

    bool operator==(const ShownBox&) const = default;
    // The element of that name, or nothing.
    const ShownElement* find(const QString& name) const;
};

// The visible part of `box` and everything in it, leaving out the widgets named
// in `leftOut` (and what they hold). Pictures unchanged since `previous` are
// taken from it rather than converted again.
ShownBox describeShownBox(const QWidget* box, const QStringList& leftOut, double cornerRadius,
                          const ShownBox* previous = nullptr);
