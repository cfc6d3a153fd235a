// A hand-run gallery of the LED displays: each style, each display kind, from a
// label-sized digit to a large one, in the colours a board is usually set to.
// With a file name as argument it saves the picture and exits (run it with
// QT_QPA_PLATFORM=offscreen on a machine without a screen).

#include "clockdisplay.h"
#include "digitdisplay.h"
#include "glyphdisplay.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>

namespace {

constexpr Colour Red = 0x0000ff;
constexpr Colour Amber = 0x0090ff;
constexpr Colour Green = 0x30ff30;
constexpr Colour Black = 0x000000;
constexpr Colour Navy = 0x401808;

void style(LedDisplay* d, int ledType, double size, Colour lit, Colour back)
{
    d->setLedType(ledType);
    d->setLitColor(lit);
    d->setBackColor(back);
    d->setDigitSize(size);
    d->setPaddingH(size * 2.2);
    d->setPaddingV(size * 2.2);
    d->setPaddingI(size * 2.2);
}

QWidget* row(QWidget* parent, int ledType, double size)
{
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setSpacing(12);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("%1 %2").arg(ledType ? "dots" : "lines").arg(size), box);
    label->setStyleSheet(QStringLiteral("color: #ccc"));
    label->setMinimumWidth(70);
    layout->addWidget(label, 0, Qt::AlignTop);

    auto* home = new DigitDisplay(box);
    home->setMax(199);
    home->setCaption(size > 60 ? 108 : 187);
    style(home, ledType, size, Red, Black);
    layout->addWidget(home, 0, Qt::AlignTop);

    auto* period = new DigitDisplay(box);
    period->setCaption(4);
    style(period, ledType, size, Amber, Black);
    layout->addWidget(period, 0, Qt::AlignTop);

    auto* clock = new ClockDisplay(box);
    style(clock, ledType, size, Amber, Black);
    clock->setPaddingD(size * 2.2);
    clock->setValue(754);
    layout->addWidget(clock, 0, Qt::AlignTop);

    auto* tenths = new ClockDisplay(box);
    style(tenths, ledType, size, Red, Black);
    tenths->setPaddingD(size * 2.2);
    tenths->setFormat(QStringLiteral("1,.1"));
    tenths->setValue(9.5f);
    layout->addWidget(tenths, 0, Qt::AlignTop);

    auto* shot = new DigitDisplay(box);
    shot->setMax(99);
    shot->setCaption(24);
    style(shot, ledType, size, Green, Navy);
    layout->addWidget(shot, 0, Qt::AlignTop);

    auto* blank = new DigitDisplay(box);
    blank->setMax(99);
    blank->setCaption(DigitDisplay::Blank);
    style(blank, ledType, size, Red, Black);
    layout->addWidget(blank, 0, Qt::AlignTop);

    auto* glyph = new GlyphDisplay(box);
    glyph->setLedType(ledType);
    glyph->setLitColor(Amber);
    glyph->setDigitSize(size);
    layout->addWidget(glyph, 0, Qt::AlignTop);

    layout->addStretch();
    return box;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget gallery;
    gallery.setWindowTitle(QStringLiteral("Tallivox LED displays"));
    gallery.setStyleSheet(QStringLiteral("background: #303030"));
    auto* layout = new QVBoxLayout(&gallery);
    layout->setSpacing(14);
    for (int ledType : {0, 1})
        for (double size : {20.0, 25.0, 40.0, 90.0})
            layout->addWidget(row(&gallery, ledType, size));

    // The score box's own design sizes, side by side.
    auto* design = new QWidget(&gallery);
    auto* designRow = new QHBoxLayout(design);
    auto* designHome = new DigitDisplay(design);
    designHome->setMax(199);
    designHome->setCaption(112);
    auto* designClock = new ClockDisplay(design);
    designClock->setValue(600);
    auto* designPeriod = new DigitDisplay(design);
    designPeriod->setCaption(1);
    auto* designShot = new DigitDisplay(design);
    designShot->setMax(99);
    designShot->setDigitSize(40);
    designShot->setPaddingH(60);
    designShot->setPaddingV(60);
    designShot->setPaddingI(90);
    designShot->setCaption(24);
    for (QWidget* w : {static_cast<QWidget*>(designHome), static_cast<QWidget*>(designClock),
                       static_cast<QWidget*>(designPeriod), static_cast<QWidget*>(designShot)})
        designRow->addWidget(w, 0, Qt::AlignTop);
    designRow->addStretch();
    layout->addWidget(design);

    gallery.adjustSize();
    if (argc > 1) {
        gallery.show();
        QCoreApplication::processEvents();
        return gallery.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    }
    gallery.show();
    return app.exec();
}
