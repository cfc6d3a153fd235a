#include "proportionallayout.h"

#include "clockdisplay.h"
#include "controls.h"
#include "digitdisplay.h"
#include "glyphdisplay.h"
#include "units.h"

#include <QVariant>

#include <cmath>
#include <cstring>

namespace {

using units::toInt16;

constexpr int LampSpacingBias = 15;

double twips(int pixels) { return units::pixelsToTwips(pixels); }
int pixels(double twips) { return units::twipsToWholePixels(twips); }

// Controls of a window in the order they were created, children after their container.
void collectControls(QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        out.append(w);
        collectControls(w, out);
    }
}

LedDisplay* asLed(QWidget* w) { return static_cast<LedDisplay*>(w); }

} // namespace

LayoutKind layoutKindOf(const QObject* control)
{
    static const struct { const char* name; LayoutKind kind; } kinds[] = {
        {"LampDisplay", LayoutKind::LampDisplay}, {"GlyphDisplay", LayoutKind::GlyphDisplay},
        {"DigitDisplay", LayoutKind::DigitDisplay}, {"ClockDisplay", LayoutKind::ClockDisplay},
        {"TallyDisplay", LayoutKind::LedDisplay}, {"ArrowDisplay", LayoutKind::LedDisplay},
        {"PictureBox", LayoutKind::PictureBox}, {"Image", LayoutKind::Image},
        {"Label", LayoutKind::Label}, {"Shape", LayoutKind::Shape},
    };
    const char* name = control->metaObject()->className();
    for (const auto& k : kinds) {
        if (std::strcmp(name, k.name) == 0)
            return k.kind;
    }
    return LayoutKind::None;
}

double AtLeastOne(double x)
{
    return x >= 1 ? x : 1;
}

LayoutScale layoutScale(double innerWidth, double innerHeight, qint32 refWidth, qint32 refHeight)
{
    LayoutScale s;
    const double hr = innerHeight / refHeight;
    const double wr = innerWidth / refWidth;
    if (wr < hr) {
        s.factor = wr;
        s.offsetY = toInt16((innerHeight - refHeight * s.factor) / 2);
    } else {
        s.factor = hr;
        s.offsetX = toInt16((innerWidth - refWidth * s.factor) / 2);
    }
    if (!std::isfinite(s.factor))
        s.factor = 1;
    return s;
}

QSizeF innerExtent(const QWidget* referenceBox)
{
    const QVariant w = referenceBox->property("scaleWidth");
    const QVariant h = referenceBox->property("scaleHeight");
    if (w.isValid() && h.isValid())
        return {w.toDouble(), h.toDouble()};
    const QRect inner = referenceBox->contentsRect();
    return {twips(inner.width()), twips(inner.height())};
}

void CaptureLayout(LayoutSet& set, QWidget* form, QWidget* referenceBox, const QList<const QWidget*>& leftOut)
{
    set.entries.clear();
    const QSizeF extent = innerExtent(referenceBox);
    set.refHeight = units::toInt32(extent.height());
    set.refWidth = units::toInt32(extent.width());

    QList<QWidget*> controls;
    collectControls(form, controls);
    for (QWidget* c : controls) {
        // The reference box is what scales; it is never scaled itself.
        if (c == referenceBox || leftOut.contains(c))
            continue;
        const LayoutKind kind = layoutKindOf(c);
        if (kind == LayoutKind::None)
            continue;
        LayoutEntry e;
        e.Ctl = c;
        switch (kind) {
        case LayoutKind::LampDisplay:
            e.LightDiameter = toInt16(c->property("LightDiameter").toDouble());
            e.LightSpacing = toInt16(c->property("LightSpacing").toDouble() + LampSpacingBias);
            break;
        case LayoutKind::GlyphDisplay:
            e.Size = asLed(c)->digitSize();
            break;
        case LayoutKind::ClockDisplay: {
            auto* d = static_cast<ClockDisplay*>(c);
            e.Size = d->digitSize();
            e.PaddingH = d->paddingH();
            e.PaddingV = d->paddingV();
            e.PaddingI = d->paddingI();
            e.PaddingD = d->paddingD();
            break;
        }
        case LayoutKind::DigitDisplay:
        case LayoutKind::LedDisplay: {
            auto* d = asLed(c);
            e.Size = d->digitSize();
            e.PaddingH = d->paddingH();
            e.PaddingV = d->paddingV();
            e.PaddingI = d->paddingI();
            break;
        }
        case LayoutKind::PictureBox:
        case LayoutKind::Image:
            e.Height = toInt16(twips(c->height()));
            e.Width = toInt16(twips(c->width()));
            break;
        case LayoutKind::Label:
            e.Height = toInt16(twips(c->height()));
            e.Width = toInt16(twips(c->width()));
            e.FontSize = toInt16(c->font().pointSizeF());
            break;
        case LayoutKind::Shape:
            e.Height = toInt16(twips(c->height()));
            e.Width = toInt16(twips(c->width()));
            e.BorderWidth = toInt16(static_cast<Shape*>(c)->borderWidth());
            break;
        case LayoutKind::None:
            break;
        }
        e.Left = toInt16(twips(c->x()));
        e.Top = toInt16(twips(c->y()));
        set.entries.append(e);
    }
}

void ApplyLayout(const LayoutSet& set, QWidget* form, QWidget* referenceBox)
{
    if (form->isMinimized() || set.refHeight == 0 || set.refWidth == 0)
        return;
    const QSizeF extent = innerExtent(referenceBox);
    const LayoutScale scale = layoutScale(extent.width(), extent.height(), set.refWidth, set.refHeight);
    const double s = scale.factor;

    for (const LayoutEntry& e : set.entries) {
        QWidget* c = e.Ctl;
        if (!c)
            continue;
        const bool onForm = c->parentWidget() == form;
        const double left = e.Left * s + (onForm ? scale.offsetX : 0);
        const double top = e.Top * s + (onForm ? scale.offsetY : 0);
        QRect g = c->geometry();
        g.moveTo(pixels(toInt16(left)), pixels(toInt16(top)));
        if (e.Width != 0)
            g.setWidth(pixels(toInt16(AtLeastOne(e.Width * s))));
        if (e.Height != 0)
            g.setHeight(pixels(toInt16(AtLeastOne(e.Height * s))));
        c->setGeometry(g);
        if (e.FontSize != 0) {
            QFont f = c->font();
            f.setPointSizeF(std::min(AtLeastOne(e.FontSize * s), 32767.0));
            c->setFont(f);
        }
        if (e.BorderWidth != 0)
            static_cast<Shape*>(c)->setBorderWidth(toInt16(AtLeastOne(e.BorderWidth * s)));
        if (e.LightDiameter != 0)
            c->setProperty("LightDiameter", AtLeastOne(e.LightDiameter * s));
        if (e.LightSpacing != 0)
            c->setProperty("LightSpacing", AtLeastOne(e.LightSpacing - LampSpacingBias) * s);
        if (e.Size != 0)
            asLed(c)->setDigitSize(std::floor(AtLeastOne(e.Size * s)));
        const auto padding = [s](qint16 v) { return AtLeastOne(v * s); };
        if (auto* d = qobject_cast<LedDisplay*>(c)) {
            if (e.PaddingH != 0) d->setPaddingH(padding(e.PaddingH));
            if (e.PaddingV != 0) d->setPaddingV(padding(e.PaddingV));
            if (e.PaddingI != 0) d->setPaddingI(padding(e.PaddingI));
        }
        if (auto* d = qobject_cast<ClockDisplay*>(c)) {
            if (e.PaddingD != 0) d->setPaddingD(padding(e.PaddingD));
        }
    }
    form->update();
}
