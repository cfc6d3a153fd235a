#pragma once
// What the live feed serves: the game, the box as drawn and the colours, as one
// JSON object (the state page and every live message), the same fields as XML,
// and the overlay page that draws the box in a browser from the shapes the
// program draws it with.

#include "configrecord.h"
#include "gamestate.h"
#include "shownbox.h"

#include <QByteArray>
#include <QJsonObject>

struct FeedState
{
    GameState game;
    ShownBox box;
    ConfigRecord config;
};

QJsonObject feedJson(const FeedState& state);
QByteArray feedXml(const QJsonObject& json);
// The game as vMix reads a JSON data source: an array of one row whose values are
// all texts, the clocks' as shown, so that a title's fields map by name. A blank
// display reads empty, and so does the shot clock when it is not in use: the row
// always has the same fields.
QByteArray feedVmix(const QJsonObject& json);
// The pictures of the box as data addresses, by their "pictureId", for the page.
QJsonObject feedPictures(const ShownBox& box);
// What the overlay page fills, as the program draws it: the outline the box is
// cut to, and for each display the elements of its cell kinds (LedPainter's own)
// and the corner each of its cells is drawn at.
QJsonObject feedShapes(const ShownBox& box);
// Whether two boxes have the same shapes: only a new size, corner, cell size,
// style or cell place makes new ones.
bool sameShapes(const ShownBox& a, const ShownBox& b);
