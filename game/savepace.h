#pragma once
// How often the game is worth writing down: at once when it changed beyond the
// time a running clock counts, and otherwise a second after the last write while
// a clock runs, so that a crash loses at most a second of running time and a
// running clock does not cost a write at every tenth.

#include "gamestate.h"

class SavePace
{
public:
    static constexpr qint64 RunningIntervalNs = 1000 * 1000000LL;

    // Whether `state`, handed out at `nowNs`, should be written; if so it is
    // taken as written.
    bool due(const GameState& state, qint64 nowNs);

private:
    GameState m_lastWritten;
    qint64 m_lastWrittenNs = 0;
};
