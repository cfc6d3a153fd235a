#include "displaycolours.h"

#include "configrecord.h"
#include "controls.h"
#include "leddisplay.h"
#include "proportionallayout.h"
#include "qcolour.h"

void ColorControls(QWidget* form, const QStringList& excluded)
{
    const ConfigRecord& c = Config();
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (excluded.contains(w->objectName()))
            continue;
        switch (layoutKindOf(w)) {
        case LayoutKind::Label:
            static_cast<Label*>(w)->setForeColor(toQColor(c.BorderColor));
            break;
        case LayoutKind::PictureBox:
            static_cast<PictureBox*>(w)->setBackColor(toQColor(c.FormBack));
            break;
        case LayoutKind::Shape:
            static_cast<Shape*>(w)->setBorderColor(toQColor(c.LEDBack));
            break;
        default:
            break;
        }
    }
}

void ColorDisplay(LedDisplay* display, Colour litColor)
{
    display->setBackColor(Config().LEDBack);
    display->setLitColor(litColor);
}

void SetLedType(QWidget* form, int ledType)
{
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const LayoutKind kind = layoutKindOf(w);
        if (kind == LayoutKind::DigitDisplay || kind == LayoutKind::ClockDisplay || kind == LayoutKind::GlyphDisplay
            || kind == LayoutKind::LedDisplay)
            static_cast<LedDisplay*>(w)->setLedType(ledType);
    }
}
