#include "feedstate.h"

#include "boxoutline.h"
#include "clockdisplay.h"
#include "clockreadings.h"
#include "digitdisplay.h"
#include "qcolour.h"

#include <QBuffer>
#include <QJsonArray>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <ranges>

namespace {

QString hex(const QColor& colour) { return colour.isValid() ? colour.name(QColor::HexRgb) : QString(); }
QString hex(Colour colour) { return hex(toQColor(colour)); }

QJsonValue scoreValue(int caption) { return caption < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(caption); }

// Tenths as the clock shows them below a minute: rounded up, so 0 only at time up.
qint64 tenthsShown(ClockSeconds clock) { return qint64(std::ceil(double(std::max<qint64>(0, clock.ticks())) / 1000.0)); }

QString cellKind(led::CellKind kind)
{
    switch (kind) {
    case led::CellKind::HalfOne:
        return QStringLiteral("halfOne");
    case led::CellKind::Separator:
        return QStringLiteral("separator");
    case led::CellKind::Digit:
        break;
    }
    return QStringLiteral("digit");
}

double twoPlaces(double x) { return std::round(x * 100) / 100; }

QJsonObject rectJson(const QRect& r)
{
    return {{"x", r.x()}, {"y", r.y()}, {"width", r.width()}, {"height", r.height()}};
}

QString horizontal(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

QString vertical(Qt::Alignment a)
{
    if (a & Qt::AlignTop)
        return QStringLiteral("top");
    if (a & Qt::AlignBottom)
        return QStringLiteral("bottom");
    return QStringLiteral("middle");
}

QJsonObject elementJson(const ShownElement& e)
{
    QJsonObject o = rectJson(e.rect);
    o.insert("name", e.name);
    switch (e.kind) {
    case ShownElement::Kind::Fill:
        o.insert("kind", "fill");
        o.insert("color", hex(e.back));
        break;
    case ShownElement::Kind::Display: {
        o.insert("kind", "display");
        o.insert("text", e.text);
        o.insert("back", hex(e.back));
        o.insert("lit", hex(e.fore));
        o.insert("style", e.style == led::Dots ? "dots" : "lines");
        o.insert("cellHeight", twoPlaces(e.cellHeight));
        o.insert("cellWidth", twoPlaces(e.cellWidth));
        o.insert("halfWidth", twoPlaces(e.halfWidth));
        o.insert("slotWidth", twoPlaces(e.slotWidth));
        // Cell origins go out unrounded, as placed; the corners they are drawn
        // at, snapped, are in the shapes.
        QJsonArray cells;
        for (const ShownCell& c : e.cells)
            cells.append(QJsonObject{{"kind", cellKind(c.kind)}, {"x", c.rect.x()}, {"y", c.rect.y()},
                                     {"bits", c.litBits}});
        o.insert("cells", cells);
        break;
    }
    case ShownElement::Kind::Caption:
        o.insert("kind", "caption");
        o.insert("text", e.text);
        o.insert("color", hex(e.fore));
        o.insert("font", e.fontFamily);
        o.insert("fontPixels", twoPlaces(e.fontPixels));
        o.insert("bold", e.bold);
        o.insert("align", horizontal(e.alignment));
        o.insert("verticalAlign", vertical(e.alignment));
        break;
    case ShownElement::Kind::Picture:
        o.insert("kind", "picture");
        o.insert("pictureId", QString::number(e.pictureKey));
        break;
    }
    return o;
}

QJsonObject shapeJson(const LedPainter::Element& e)
{
    if (e.polygon.isEmpty())
        return {{"bits", e.bits}, {"circle", QJsonArray{e.centre.x(), e.centre.y(), e.radius}}};
    QJsonArray points;
    for (const QPointF& p : e.polygon)
        points.append(QJsonArray{p.x(), p.y()});
    return {{"bits", e.bits}, {"points", points}};
}

QJsonObject displayShapes(const ShownElement& e)
{
    // The page draws one CSS pixel to a pixel of the box, as a screen without
    // scaling shows it: cells snap to whole pixels.
    constexpr qreal pageDpr = 1;
    LedPainter painter;
    painter.setMetrics({e.cellHeight, e.cellWidth, e.halfWidth, e.slotWidth, e.style, pageDpr});
    QJsonObject kinds;
    QJsonArray corners;
    for (const ShownCell& c : e.cells) {
        const QPointF corner = LedPainter::snapped(c.rect.topLeft(), pageDpr);
        corners.append(QJsonArray{corner.x(), corner.y()});
        if (kinds.contains(cellKind(c.kind)))
            continue;
        QJsonArray elements;
        for (const LedPainter::Element& element : painter.elements(c.kind))
            elements.append(shapeJson(element));
        kinds.insert(cellKind(c.kind), elements);
    }
    return {{"cells", corners}, {"elements", kinds}};
}

auto displays(const ShownBox& box)
{
    return box.elements
        | std::views::filter([](const ShownElement& e) { return e.kind == ShownElement::Kind::Display; });
}

// The game clock's face as the box shows it: the game's time, or the local time of
// day as the box reads it by default.
GameClockReading gameClockFace(const GameState& game)
{
    if (game.showsTimeOfDay)
        return timeOfDayReading(QTime::currentTime(), systemClockIsTwelveHour());
    return gameClockReading(game.gameClock);
}

QString gameClockMode(const GameState& game, const GameClockReading& face)
{
    if (game.showsTimeOfDay)
        return QStringLiteral("timeOfDay");
    return face.format == SecondsTenthsFormat ? QStringLiteral("secondsTenths") : QStringLiteral("minutesSeconds");
}

void writeXml(QXmlStreamWriter& xml, const QString& name, const QJsonValue& value)
{
    xml.writeStartElement(name);
    switch (value.type()) {
    case QJsonValue::Object: {
        // A colour is named as one ("periodColor"), so that a path such as //period
        // finds the game's period and nothing else.
        const QString suffix = name == QLatin1String("colors") ? QStringLiteral("Color") : QString();
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            writeXml(xml, it.key() + suffix, it.value());
        break;
    }
    case QJsonValue::Array: {
        // "elements" holds <element>s, "cells" <cell>s.
        const QString item = name.endsWith(u's') ? name.chopped(1) : QStringLiteral("item");
        for (const QJsonValue& v : value.toArray())
            writeXml(xml, item, v);
        break;
    }
    case QJsonValue::Bool:
        xml.writeCharacters(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        break;
    case QJsonValue::Double:
        xml.writeCharacters(QString::number(value.toDouble(), 'g', 15));
        break;
    case QJsonValue::String:
        xml.writeCharacters(value.toString());
        break;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    xml.writeEndElement();
}

} // namespace

QJsonObject feedJson(const FeedState& s)
{
    const ConfigRecord& c = s.config;
    // The clocks' text comes from the game, in the displays' own wording.
    const GameClockReading face = gameClockFace(s.game);

    QJsonObject json{
        {"homeScore", scoreValue(s.game.homeScore)},
        {"visitorScore", scoreValue(s.game.visitorScore)},
        {"period", scoreValue(s.game.period)},
        {"homeName", c.HomeText},
        {"visitorName", c.VisitorText},
        {"periodCaption", c.PeriodText},
        {"gameClock", QJsonObject{{"text", ClockDisplay::textFor(face.format, face.value)},
                                  {"tenths", tenthsShown(s.game.gameClock)},
                                  {"mode", gameClockMode(s.game, face)},
                                  {"running", s.game.gameClockRunning}}},
        {"ledStyle", c.LEDType == led::Dots ? "dots" : "lines"},
        {"colors", QJsonObject{{"time", hex(c.TimeColor)},
                               {"score", hex(c.ScoreColor)},
                               {"period", hex(c.PeriodColor)},
                               {"ledBack", hex(c.LEDBack)},
                               {"box", hex(c.FormBack)},
                               {"home", hex(c.HomeColor)},
                               {"visitor", hex(c.VisitorColor)},
                               {"border", hex(c.BorderColor)},
                               {"selected", hex(c.LEDSelected)},
                               {"keyBackground", hex(c.GreenBackColor)}}},
    };
    if (c.UseShotClock)
        json.insert("shotClock", QJsonObject{{"text", DigitDisplay::textFor(shotClockCaption(s.game), 99)},
                                             {"seconds", qint64(std::ceil(double(std::max<qint64>(0, s.game.shotClock.ticks()))
                                                                          / ClockSeconds::TicksPerSecond))},
                                             {"running", s.game.shotClockRunning}});
    // Team fouls, timeouts and the possession arrow, as the scorer page shows them.
    json.insert("homeFouls", scoreValue(s.game.homeFouls));
    json.insert("visitorFouls", scoreValue(s.game.visitorFouls));
    json.insert("homeTimeouts", scoreValue(s.game.homeTimeouts));
    json.insert("visitorTimeouts", scoreValue(s.game.visitorTimeouts));
    json.insert("possession", game::possessionName(s.game.possession));

    QJsonArray elements;
    for (const ShownElement& e : s.box.elements)
        elements.append(elementJson(e));
    json.insert("box", QJsonObject{{"width", s.box.width},
                                   {"height", s.box.height},
                                   {"cornerRadius", twoPlaces(s.box.cornerRadius)},
                                   {"elements", elements}});
    return json;
}

QByteArray feedXml(const QJsonObject& json)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    writeXml(xml, QStringLiteral("scoreboard"), json);
    xml.writeEndDocument();
    return out;
}

QJsonObject feedPictures(const ShownBox& box)
{
    QJsonObject pictures;
    for (const ShownElement& e : box.elements) {
        if (e.kind != ShownElement::Kind::Picture || e.picture.isNull())
            continue;
        // Drawn no larger than it is shown: a camera's full-size photo as a logo
        // would make the page megabytes long.
        const QImage shown = e.picture.size().boundedTo(e.rect.size() * 2) == e.picture.size()
            ? e.picture
            : e.picture.scaled(e.rect.size() * 2, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        shown.save(&buffer, "PNG");
        pictures.insert(QString::number(e.pictureKey), QString::fromLatin1("data:image/png;base64," + png.toBase64()));
    }
    return pictures;
}

QJsonObject feedShapes(const ShownBox& box)
{
    QJsonArray outline;
    for (const QRect& r : roundedOutline(box.width, box.height, int(std::lround(2 * box.cornerRadius))))
        outline.append(QJsonArray{r.x(), r.y(), r.width(), r.height()});
    QJsonObject shapes;
    for (const ShownElement& e : displays(box))
        shapes.insert(e.name, displayShapes(e));
    return {{"outline", outline}, {"displays", shapes}};
}

bool sameShapes(const ShownBox& a, const ShownBox& b)
{
    const auto sameCells = [](const ShownElement& x, const ShownElement& y) {
        return x.name == y.name && x.style == y.style && x.cellHeight == y.cellHeight && x.cellWidth == y.cellWidth
            && x.halfWidth == y.halfWidth && x.slotWidth == y.slotWidth
            && std::ranges::equal(x.cells, y.cells, [](const ShownCell& c, const ShownCell& d) {
                   return c.kind == d.kind && c.rect == d.rect;
               });
    };
    return a.width == b.width && a.height == b.height && a.cornerRadius == b.cornerRadius
        && std::ranges::equal(displays(a), displays(b), sameCells);
}
