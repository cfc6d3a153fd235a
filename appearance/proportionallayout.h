#pragma once
// Proportional layout: the geometry of every control of a window is captured
// once against the inner size of a reference picture box; whenever that box has
// a new size, every captured control is set to its captured geometry times one
// common factor, so positions, sizes, fonts, digit sizes and paddings all keep
// their proportions. Each capture starts from the controls as they are, so the
// current look is always the reference.

#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

// The kinds of control the layout knows, told apart by class name.
// LedDisplay: the other LED displays (lamps, the arrow), with a size and spacing.
enum class LayoutKind { None, LampDisplay, GlyphDisplay, DigitDisplay, ClockDisplay, LedDisplay, PictureBox, Image, Label, Shape };
LayoutKind layoutKindOf(const QObject* control);

struct LayoutEntry
{
    QPointer<QWidget> Ctl;
    qint16 Left = 0;
    qint16 Top = 0;
    qint16 Height = 0; // 0 everywhere below: not recorded for this kind, left alone
    qint16 Width = 0;
    qint16 FontSize = 0;
    qint16 BorderWidth = 0;
    qint16 LightDiameter = 0;
    qint16 LightSpacing = 0; // stored plus 15, so a spacing of 0 is still applied
    qint16 Size = 0;
    qint16 PaddingD = 0;
    qint16 PaddingI = 0;
    qint16 PaddingH = 0;
    qint16 PaddingV = 0;
};

struct LayoutSet
{
    QList<LayoutEntry> entries;
    qint32 refHeight = 0;
    qint32 refWidth = 0;
};

// Returns x when it is at least 1, else 1 (a not-a-number too).
double AtLeastOne(double x);

// The common factor and the centring offsets (twips) for a reference box that
// now has the given inner size.
struct LayoutScale
{
    double factor = 1;
    qint16 offsetX = 0;
    qint16 offsetY = 0;
};
LayoutScale layoutScale(double innerWidth, double innerHeight, qint32 refWidth, qint32 refHeight);

// Inner size of a reference box in its own units: twips, unless the box keeps a
// scale of its own (a "scaleWidth"/"scaleHeight" property, as the shot clock
// window's picture box has).
QSizeF innerExtent(const QWidget* referenceBox);

// Records every control of `form` but the reference box and those `leftOut`
// (placed by their window itself).
void CaptureLayout(LayoutSet& set, QWidget* form, QWidget* referenceBox, const QList<const QWidget*>& leftOut = {});
void ApplyLayout(const LayoutSet& set, QWidget* form, QWidget* referenceBox);
