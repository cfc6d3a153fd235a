#include "programwindows.h"

void ProgramWindows::showOptionsDialog(QWidget*)
{
}
