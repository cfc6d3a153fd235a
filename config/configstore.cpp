#include "configstore.h"

#include "configkeys.h"
#include "settingtext.h"
#include "wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include <unistd.h>

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

// Said once while it lasts: on a full disk every drag of the box fails to save,
// and a notice for each would bury the first. A save that works ends it.
void reportSaveProblem(const SaveProblem& problem, const QString& file)
{
    static SaveProblem lastSaid;
    if (problem && problem != lastSaid)
        reportStoreProblem(QStringLiteral("The settings were not saved to %1: %2.").arg(file, *problem));
    lastSaid = problem;
}

// QSettings writes the store through a lock file, "<store>.lock", that a writer
// creates and then fills with its process id. A process killed between the two
// leaves an empty lock, and QLockFile waits 30 s before it takes that for stale:
// the next save would freeze the program that long.
//
// QLockFile takes a second lock, "<store>.lock.rmlock", while it removes a dead
// writer's lock, a third to remove a dead second one, and so on; a writer killed
// on its way down leaves the levels it made, so each such kill can add one. Once
// the names reach the file system's limit no writer can make the next level,
// and no save would go through again.
//
// So every lock of the chain that no live writer holds goes before we write,
// the deepest first. A live writer holds its lock with flock() from before it
// names itself, and removeStaleLockFile() leaves such a lock alone.
void removeAbandonedLock(const QSettings& settings)
{
    QStringList chain{settings.fileName() + QStringLiteral(".lock")};
    while (QFileInfo::exists(chain.last() + QStringLiteral(".rmlock")))
        chain.append(chain.last() + QStringLiteral(".rmlock"));
    for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
        if (QFileInfo::exists(*it))
            QLockFile(*it).removeStaleLockFile();
    }
}

using StoredValues = QList<std::pair<QString, QString>>;

// A value as QSettings reads it back, and as it would write it: backslash,
// quote and control characters escaped, and a lone surrogate (UTF-8 has no
// form for one); quotes around a value with a comma (it would read as a list),
// a semicolon (a comment) or a space at either end; a leading "@" doubled, or
// it would read as a typed value. Everything else is UTF-8, as Qt 6 reads it.
QByteArray iniValue(const QString& text)
{
    const QString value = text.startsWith(u'@') ? QStringLiteral("@") + text : text;
    QByteArray out;
    bool hexEscapeOpen = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t unit = value[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < value.size() && value[i + 1].isLowSurrogate();
        // QSettings reads every hex digit after "\x": one that follows such an
        // escape is escaped too.
        const bool hexDigit = unit < 0x80 && std::isxdigit(unit);
        if (unit < 0x20 || unit == 0x7f || (QChar::isSurrogate(unit) && !pair) || (hexEscapeOpen && hexDigit)) {
            out += "\\x" + QByteArray::number(unit, 16);
            hexEscapeOpen = true;
            continue;
        }
        hexEscapeOpen = false;
        if (unit == u'\\' || unit == u'"')
            out += '\\';
        out += QStringView(value).mid(i, pair ? 2 : 1).toUtf8();
        if (pair)
            ++i;
    }
    if (out.contains(',') || out.contains(';') || out.startsWith(' ') || out.endsWith(' '))
        return '"' + out + '"';
    return out;
}

// Groups in the order of their first key; keys as given.
QByteArray iniText(const StoredValues& values)
{
    QList<QString> groups;
    for (const auto& [path, text] : values) {
        const QString group = path.section(u'/', 0, 0);
        if (!groups.contains(group))
            groups.append(group);
    }
    QByteArray out;
    for (const QString& group : groups) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + group.toUtf8() + "]\n";
        for (const auto& [path, text] : values) {
            if (path.section(u'/', 0, 0) == group)
                out += path.section(u'/', 1).toUtf8() + '=' + iniValue(text) + '\n';
        }
    }
    return out;
}

// What the store holds that is the program's: each known key that holds text, in
// the table's order, cut to its length. `cut` hears whether a value was longer.
StoredValues keptValues(const QSettings& settings, bool* cut = nullptr)
{
    StoredValues values;
    for (const configkeys::SettingKey& key : configkeys::Table) {
        if (const auto stored = configkeys::textInStore(&settings, key)) {
            values.append({key.path(), stored->text});
            if (cut && stored->cut)
                *cut = true;
        }
    }
    return values;
}

// Writes the file anew: what it held of the program's keys, with `values` put
// over them. Keys that are not the program's (a hand edit, or the junk a UTF-16
// file reads as) are left out.
SaveProblem writeStore(QSettings& settings, const StoredValues& values)
{
    const QString file = settings.fileName();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return QStringLiteral("its folder cannot be made");
    StoredValues merged = keptValues(settings);
    for (const auto& value : values) {
        const auto at = std::find_if(merged.begin(), merged.end(), [&](const auto& kept) { return kept.first == value.first; });
        if (at != merged.end())
            at->second = value.second;
        else
            merged.append(value);
    }
    removeAbandonedLock(settings);
    // The lock keeps out another writer that goes through QSettings. One that
    // cannot be made for any other reason than a live holder (a full disk, a
    // read-only folder) stops nothing: the write that follows meets the same
    // obstacle and says it in its own, truer words.
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs) && lock.error() == QLockFile::LockFailedError)
        return QStringLiteral("its lock file is held by something else");
    // Readable by its owner only: it holds the remote control's token.
    if (const WriteProblem problem = replaceWholeFile(file, iniText(merged), 0600))
        return problem;
    // The caller's settings read the new file, not the one they were made on.
    settings.sync();
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
    if (values.isEmpty())
        return std::nullopt;
    return writeStore(settings, values);
}

namespace {

// QSettings reads UTF-16 (a Windows editor's "Unicode") as keys full of NUL
// characters and calls it well read; any NUL near the start is such a file.
bool readsAsText(const QSettings& settings)
{
    if (settings.status() == QSettings::FormatError)
        return false;
    QFile file(settings.fileName());
    return !file.open(QIODevice::ReadOnly) || !file.read(4096).contains('\0');
}

// A second name for the file's data where the disk allows it, so that keeping
// it needs no room on a full disk; a copy elsewhere.
bool keepAside(const QString& file, const QString& aside)
{
    QFile::remove(aside);
    return ::link(QFile::encodeName(file).constData(), QFile::encodeName(aside).constData()) == 0
           || QFile::copy(file, aside);
}

bool holdsKeysNotOurs(const QSettings& settings)
{
    QSet<QString> ours;
    for (const configkeys::SettingKey& key : configkeys::Table)
        ours.insert(key.path());
    const QStringList keys = settings.allKeys();
    return std::any_of(keys.begin(), keys.end(), [&](const QString& key) { return !ours.contains(key); });
}

} // namespace

std::optional<QString> RepairStore(QSettings& settings)
{
    const QString file = settings.fileName();
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    bool cut = false;
    keptValues(settings, &cut);
    QString what;
    if (!readsAsText(settings))
        what = QStringLiteral("cannot be read");
    else if (cut)
        what = QStringLiteral("held a value over %1 characters long").arg(configkeys::MaxStoredTextLength);
    else if (holdsKeysNotOurs(settings))
        what = QStringLiteral("held settings that are not the program's");
    else
        return std::nullopt;
    const QString aside = file + QStringLiteral(".bad");
    if (!keepAside(file, aside))
        return QStringLiteral("The settings file %1 %2, and no copy of it could be kept; it is left as it is.").arg(file, what);
    if (const SaveProblem problem = writeStore(settings, {})) {
        return QStringLiteral("The settings file %1 %2; it was kept as %3, but a repaired file could not be written: %4.")
            .arg(file, what, aside, *problem);
    }
    return QStringLiteral("The settings file %1 %2; it was kept as %3 and written anew.").arg(file, what, aside);
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
    if (const auto repaired = RepairStore(*settings))
        reportStoreProblem(*repaired);
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
