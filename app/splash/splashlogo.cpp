#include "splashlogo.h"

#include "ledpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

void paintBall(QPainter& p, QPointF centre, double radius)
{
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    shade.setColorAt(0, QColor(250, 150, 60));
    shade.setColorAt(1, QColor(180, 70, 15));
    p.setPen(QPen(QColor(60, 25, 5), 1.5));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);

    // The seams: one vertical, one horizontal, and two curves bowing outwards.
    p.save();
    QPainterPath clip;
    clip.addEllipse(centre, radius, radius);
    p.setClipPath(clip);
    p.setPen(QPen(QColor(50, 20, 5), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    p.drawLine(QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));
    const double bow = radius * 0.9;
    p.drawEllipse(QPointF(centre.x() - radius - bow * 0.35, centre.y()), bow, radius * 1.05);
    p.drawEllipse(QPointF(centre.x() + radius + bow * 0.35, centre.y()), bow, radius * 1.05);
    p.restore();
}

void paintShotClock(QPainter& p, const QRectF& panel)
{
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::black);
    p.drawRoundedRect(panel, 4, 4);

    LedPainter led;
    LedPainter::Metrics m;
    m.cellHeight = panel.height() - 12;
    m.cellWidth = m.cellHeight * 0.55;
    m.halfWidth = m.cellWidth / 2;
    m.slotWidth = m.cellWidth / 3;
    // Device pixels per unit, for the digits' snapping: the image's own ratio
    // times the scale the logo is drawn at.
    m.dpr = p.device()->devicePixelRatioF() * p.worldTransform().m11();
    led.setMetrics(m);
    const QColor lit(255, 45, 25);
    const QColor unlit = led::unlitColour(lit, Qt::black);
    const double gap = m.cellWidth * 0.25;
    double x = panel.center().x() - m.cellWidth - gap / 2;
    const double y = panel.top() + 6;
    for (QChar digit : {QChar(u'2'), QChar(u'4')}) {
        led.drawCell(p, led::CellKind::Digit, QPointF(x, y), led::segmentsFor(digit), lit, unlit);
        x += m.cellWidth + gap;
    }
}

} // namespace

QImage paintLogo(qreal scale)
{
    QImage image(qRound(LogoWidth * scale), qRound(LogoHeight * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    const QRectF plate(0.5, 0.5, LogoWidth - 1, LogoHeight - 1);
    QLinearGradient back(plate.topLeft(), plate.bottomLeft());
    back.setColorAt(0, QColor(78, 78, 78));
    back.setColorAt(1, QColor(40, 40, 40));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(back);
    p.drawRoundedRect(plate, 10, 10);

    paintBall(p, QPointF(36, 42.5), 25);
    paintShotClock(p, QRectF(70, 14, 56, 44));

    // Three period lamps under the clock, the first one lit.
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? QColor(255, 190, 40) : QColor(90, 75, 40));
        p.drawEllipse(QPointF(84 + i * 14, 69), 4, 4);
    }
    return image;
}
