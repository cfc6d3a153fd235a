#include "programwindows.h"

void ProgramWindows::start()
{
    showScoreboard();
}

void ProgramWindows::showSplash()
{
}

void ProgramWindows::GoScore()
{
    showScoreboard();
}
