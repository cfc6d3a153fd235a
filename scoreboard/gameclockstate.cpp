#include "gameclockstate.h"

ClockSeconds& GameClockResetTime()
{
    static ClockSeconds resetTime = ClockSeconds::fromSeconds(600);
    return resetTime;
}
