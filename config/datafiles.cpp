#include "datafiles.h"

#include <QDir>
#include <QFileInfo>

QString dataFilePath(const QString& programFolder, const QString& name)
{
    const QString beside = programFolder + u'/' + name;
    if (QFileInfo(beside).isFile())
        return beside;
    const QString shared = QDir::cleanPath(programFolder + QStringLiteral("/../share/tallivox/") + name);
    return QFileInfo(shared).isFile() ? shared : beside;
}
