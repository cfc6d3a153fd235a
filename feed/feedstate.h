#pragma once
// What the live feed serves: the game, the box as drawn and the colours, as one
// JSON object (the state page and every live message), the same fields as XML,
// and the overlay page that draws the box in a browser.

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
// The pictures of the box as data addresses, by their "pictureId", for the page.
QJsonObject feedPictures(const ShownBox& box);
