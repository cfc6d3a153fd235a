#include "configstore.h"

#include "configkeys.h"
#include "settingtext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cmath>
#include <cstdio>

namespace {

// How long a save waits for another writer's lock. A writer holds it for the
// milliseconds of one write; a lock that outlives this wait is no writer (a
// folder of that name, a hung process), and the save is reported, not waited
// for, so the clock never stops drawing behind it.
constexpr int LockWaitMs = 50;

std::function<void(const QString&)>& storeProblemReporter()
{
    static std::function<void(const QString&)> reporter;
    return reporter;
}

void reportStoreProblem(const QString& message)
{
    if (storeProblemReporter())
        storeProblemReporter()(message);
    else
        std::fprintf(stderr, "tallivox: %s\n", qPrintable(message));
}

void reportSaveProblem(const SaveProblem& problem, const QString& file)
{
    if (problem)
        reportStoreProblem(QStringLiteral("The settings were not saved to %1: %2.").arg(file, *problem));
}

// QSettings writes the store through a lock file, "<store>.lock", that a writer
// creates and then fills with its process id. A process killed between the two
// leaves an empty lock, and QLockFile waits 30 s before it takes that for stale:
// the next save would freeze the program that long. A lock that names no owner
// and that no live writer holds is such a leftover, so it goes before we write.
//
// QLockFile takes a second lock, "<store>.lock.rmlock", while it removes a dead
// writer's lock; a writer killed just then leaves that one empty, and every later
// save would wait on it the same way. So it goes too, first.
void removeAbandonedLock(const QSettings& settings)
{
    const QString lockPath = settings.fileName() + QStringLiteral(".lock");
    for (const QString& path : {lockPath + QStringLiteral(".rmlock"), lockPath}) {
        if (!QFileInfo::exists(path))
            continue;
        QLockFile lock(path);
        qint64 pid = 0;
        QString hostName;
        QString appName;
        // A named owner is QLockFile's own business: it sees at once that a dead one is gone.
        if (!lock.getLockInfo(&pid, &hostName, &appName))
            lock.removeStaleLockFile(); // refused while a live writer holds the lock
    }
}

using StoredValues = QList<std::pair<QString, QString>>;

// Writes the values, first making sure that the lock can be had at once.
SaveProblem writeStore(QSettings& settings, const StoredValues& values)
{
    const QString file = settings.fileName();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return QStringLiteral("its folder cannot be made");
    removeAbandonedLock(settings);
    {
        QLockFile probe(file + QStringLiteral(".lock"));
        if (!probe.tryLock(LockWaitMs)) {
            return probe.error() == QLockFile::LockFailedError
                       ? QStringLiteral("its lock file is held by something else")
                       : QStringLiteral("its folder cannot be written");
        }
    }
    for (const auto& [path, text] : values)
        settings.setValue(path, text);
    settings.sync();
    if (settings.status() == QSettings::AccessError)
        return QStringLiteral("the file cannot be written (read-only, a folder, or a full disk)");
    return std::nullopt;
}

} // namespace

void LoadConfig(ConfigRecord& record, QSettings& settings, const QString& programFolder)
{
    // A file QSettings cannot parse (status FormatError) still yields whatever
    // keys it did read; everything else comes out at its default.
    configkeys::loadRecord(record, &settings, programFolder);
}

SaveProblem SaveConfig(const ConfigRecord& record, QSettings& settings)
{
    StoredValues values;
    for (const configkeys::SettingKey* key : configkeys::savedInOrder())
        values.append({key->path(), configkeys::storedText(record, *key)});
    return writeStore(settings, values);
}

SaveProblem SaveBoxPlacement(QSettings& settings, float left, float top, float height)
{
    StoredValues values;
    const auto write = [&](qint16 ConfigRecord::*field, float value) {
        // A placement that is not a number would only be read back as the default;
        // keeping the previous one is kinder.
        if (std::isfinite(value))
            values.append({configkeys::keyOf(field).path(), settingtext::singleText(value)});
    };
    write(&ConfigRecord::StartX, left);
    write(&ConfigRecord::StartY, top);
    write(&ConfigRecord::Height, height);
    return writeStore(settings, values);
}

// QSettings reads UTF-16 (a Windows editor's "Unicode") as keys full of NUL
// characters and calls it well read; any NUL near the start is such a file.
bool readsAsText(const QSettings& settings)
{
    if (settings.status() == QSettings::FormatError)
        return false;
    QFile file(settings.fileName());
    return !file.open(QIODevice::ReadOnly) || !file.read(4096).contains('\0');
}

std::optional<QString> KeepUnreadableStore(const QSettings& settings)
{
    const QString file = settings.fileName();
    if (!QFileInfo(file).isFile() || readsAsText(settings))
        return std::nullopt;
    const QString kept = file + QStringLiteral(".bad");
    QFile::remove(kept);
    if (!QFile::copy(file, kept))
        return QStringLiteral("The settings file %1 cannot be read, and no copy of it could be kept; the next save replaces it.").arg(file);
    return QStringLiteral("The settings file %1 cannot be read; it was kept as %2, and the next save replaces it.").arg(file, kept);
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

void setStoreProblemReporter(std::function<void(const QString& message)> reporter)
{
    storeProblemReporter() = std::move(reporter);
}

void LoadConfig()
{
    const auto settings = tallivoxSettings();
    LoadConfig(Config(), *settings, QCoreApplication::applicationDirPath());
    if (const auto kept = KeepUnreadableStore(*settings))
        reportStoreProblem(*kept);
}

void SaveConfig()
{
    const auto settings = tallivoxSettings();
    reportSaveProblem(SaveConfig(Config(), *settings), settings->fileName());
}

void SaveBoxPlacement(float left, float top, float height)
{
    const auto settings = tallivoxSettings();
    reportSaveProblem(SaveBoxPlacement(*settings, left, top, height), settings->fileName());
}
