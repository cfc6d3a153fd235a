// The game file as a crash, a full disk or a hand edit may leave it: any bytes
// read as nothing or as a game within the displays' limits, and a game read
// back writes itself out to the same game.

#include "gamestate.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto game = gameStateFromJson(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!game)
        return 0;
    const auto inRange = [](int v, int high) { return v >= game::BlankCaption && v <= high; };
    if (!inRange(game->homeScore, game::MaxScore) || !inRange(game->visitorScore, game::MaxScore)
        || !inRange(game->period, game::MaxPeriod) || game->gameClock < ClockSeconds() || game->shotClock < ClockSeconds())
        std::abort();
    if (gameStateFromJson(toJson(*game)) != game)
        std::abort();
    return 0;
}
