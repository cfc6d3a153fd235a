#pragma once
// Where the program's own data files are read from: the help file and the two
// sounds. A copy run from its build folder has them beside the executable; an
// installed copy (bin/tallivox) has them in share/tallivox/ beside bin/.

#include <QString>

// The path of the data file `name` for a program in `programFolder`: the program
// folder when the file is there, else share/tallivox/ one level above it when it
// is there, else the program folder again, so that a missing file is named where
// it was looked for first.
QString dataFilePath(const QString& programFolder, const QString& name);
