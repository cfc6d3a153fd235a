#pragma once
// Clock state that lives for the whole run rather than with a window.

#include "clockseconds.h"

// The time the reset key puts on the game clock: ten minutes at load, then
// whatever game time the operator last typed.
ClockSeconds& GameClockResetTime();
