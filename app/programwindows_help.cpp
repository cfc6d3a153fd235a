#include "programwindows.h"

void ProgramWindows::showHelp()
{
}
