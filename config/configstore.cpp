#include "configstore.h"

#include "configkeys.h"
#include "settingtext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>

#include <cmath>

namespace {

// QSettings writes the store through a lock file, "<store>.lock", that a writer
// creates and then fills with its process id. A process killed between the two
// leaves an empty lock, and QLockFile waits 30 s before it takes that for stale:
// the next save would freeze the program that long. A lock that names no owner
// and that no live writer holds is such a leftover, so it goes before we write.
void removeAbandonedLock(const QSettings& settings)
{
    const QString lockPath = settings.fileName() + QStringLiteral(".lock");
    if (!QFileInfo::exists(lockPath))
        return;
    QLockFile lock(lockPath);
    qint64 pid = 0;
    QString hostName;
    QString appName;
    // A named owner is QLockFile's own business: it sees at once that a dead one is gone.
    if (lock.getLockInfo(&pid, &hostName, &appName))
        return;
    lock.removeStaleLockFile(); // refused while a live writer holds the lock
}

} // namespace

void LoadConfig(ConfigRecord& record, QSettings& settings, const QString& programFolder)
{
    // A file QSettings cannot parse (status FormatError) still yields whatever
    // keys it did read; everything else comes out at its default.
    configkeys::loadRecord(record, &settings, programFolder);
}

void SaveConfig(const ConfigRecord& record, QSettings& settings)
{
    for (const configkeys::SettingKey* key : configkeys::savedInOrder())
        settings.setValue(key->path(), configkeys::storedText(record, *key));
    removeAbandonedLock(settings);
    settings.sync();
}

void SaveBoxPlacement(QSettings& settings, float left, float top, float height)
{
    const auto write = [&](qint16 ConfigRecord::*field, float value) {
        // A placement that is not a number would only be read back as the default;
        // keeping the previous one is kinder.
        if (std::isfinite(value))
            settings.setValue(configkeys::keyOf(field).path(), settingtext::singleText(value));
    };
    write(&ConfigRecord::StartX, left);
    write(&ConfigRecord::StartY, top);
    write(&ConfigRecord::Height, height);
    removeAbandonedLock(settings);
    settings.sync();
}

void ApplyPlacementReset(ConfigRecord& record)
{
    // Back to where and how big a first start puts the box.
    const ConfigRecord firstStart = defaultConfig(QString());
    record.Height = firstStart.Height;
    record.StartX = firstStart.StartX;
    record.StartY = firstStart.StartY;
}

std::unique_ptr<QSettings> tallivoxSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallivox"),
                                       QStringLiteral("Tallivox"));
}

void LoadConfig()
{
    LoadConfig(Config(), *tallivoxSettings(), QCoreApplication::applicationDirPath());
}

void SaveConfig()
{
    SaveConfig(Config(), *tallivoxSettings());
}

void SaveBoxPlacement(float left, float top, float height)
{
    SaveBoxPlacement(*tallivoxSettings(), left, top, height);
}
