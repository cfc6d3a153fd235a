#include "shownbox.h"

#include "controls.h"
#include "leddisplay.h"
#include "qcolour.h"

#include <QFontInfo>
#include <QPalette>

namespace {

struct Walk {
    const QWidget* box;
    const QStringList& leftOut;
    const ShownBox* previous;
    ShownBox& shown;
};

void describe(const QWidget* widget, const Walk& walk)
{
    const QWidget* box = walk.box;
    if (!widget->isVisibleTo(box) && widget != box)
        return;
    if (walk.leftOut.contains(widget->objectName()))
        return;
    ShownElement e;
    e.name = widget->objectName();
    e.rect = QRect(widget->mapTo(box, QPoint(0, 0)), widget->size());
    if (const auto* display = qobject_cast<const LedDisplay*>(widget)) {
        e.kind = ShownElement::Kind::Display;
        e.back = toQColor(display->backColor());
        e.fore = toQColor(display->litColor());
        const LedPainter::Metrics m = display->metrics();
        e.style = m.style;
        e.cellHeight = m.cellHeight;
        e.cellWidth = m.cellWidth;
        e.halfWidth = m.halfWidth;
        e.slotWidth = m.slotWidth;
        for (const LedDisplay::PlacedCell& cell : display->placedCells())
            e.cells.push_back({cell.kind, cell.rect, cell.litBits});
        e.text = display->shownText();
    } else if (const auto* label = qobject_cast<const Label*>(widget)) {
        e.kind = ShownElement::Kind::Caption;
        e.fore = label->palette().color(label->foregroundRole());
        e.text = label->shownText();
        const QFont font = label->shownFont();
        const QFontInfo info(font);
        e.fontFamily = info.family();
        e.fontPixels = font.pointSizeF() > 0 ? font.pointSizeF() * widget->logicalDpiY() / 72.0 : info.pixelSize();
        e.bold = font.bold();
        e.alignment = label->alignment();
    } else if (const auto* image = qobject_cast<const Image*>(widget)) {
        if (image->picture().isNull())
            return;
        e.kind = ShownElement::Kind::Picture;
        e.pictureKey = image->picture().cacheKey();
        // Converted once per picture, not on every look at the box.
        const ShownElement* before = walk.previous ? walk.previous->find(e.name) : nullptr;
        e.picture = before && before->pictureKey == e.pictureKey ? before->picture : image->picture().toImage();
    } else {
        // A picture box fills itself with its background, then holds the rest.
        if (widget->autoFillBackground()) {
            e.kind = ShownElement::Kind::Fill;
            e.back = widget->palette().color(widget->backgroundRole());
            walk.shown.elements.push_back(e);
        }
        for (const QObject* child : widget->children())
            if (child->isWidgetType())
                describe(static_cast<const QWidget*>(child), walk);
        return;
    }
    walk.shown.elements.push_back(std::move(e));
}

} // namespace

bool ShownElement::operator==(const ShownElement& o) const
{
    // Pictures are compared by key: the same pixmap needs no pixel comparison.
    return kind == o.kind && name == o.name && rect == o.rect && back == o.back && fore == o.fore && style == o.style
        && cellHeight == o.cellHeight && cellWidth == o.cellWidth && halfWidth == o.halfWidth
        && slotWidth == o.slotWidth && cells == o.cells && text == o.text && fontFamily == o.fontFamily
        && fontPixels == o.fontPixels && bold == o.bold && alignment == o.alignment && pictureKey == o.pictureKey;
}

const ShownElement* ShownBox::find(const QString& name) const
{
    for (const ShownElement& e : elements)
        if (e.name == name)
            return &e;
    return nullptr;
}

ShownBox describeShownBox(const QWidget* box, const QStringList& leftOut, double cornerRadius,
                          const ShownBox* previous)
{
    ShownBox shown;
    shown.width = box->width();
    shown.height = box->height();
    shown.cornerRadius = cornerRadius;
    describe(box, Walk{box, leftOut, previous, shown});
    return shown;
}
