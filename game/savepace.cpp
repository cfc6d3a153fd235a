#include "savepace.h"

bool SavePace::due(const GameState& state, qint64 nowNs)
{
    const bool clockRuns = state.gameClockRunning || state.shotClockRunning;
    if (!differsBeyondRunningTime(state, m_lastWritten) && !(clockRuns && nowNs - m_lastWrittenNs >= RunningIntervalNs))
        return false;
    m_lastWritten = state;
    m_lastWrittenNs = nowNs;
    return true;
}
