#include "configrecord.h"

#include "configkeys.h"

#include <QDebug>

ConfigRecord defaultConfig(const QString& programFolder)
{
    // A first start is a load from an empty store.
    ConfigRecord record;
    configkeys::loadRecord(record, nullptr, programFolder);
    return record;
}

ConfigRecord& Config()
{
    static ConfigRecord record;
    return record;
}

QDebug operator<<(QDebug debug, const ConfigRecord& record)
{
    const QDebugStateSaver saver(debug);
    debug.nospace().noquote() << "ConfigRecord(";
    for (const configkeys::SettingKey& key : configkeys::Table)
        debug << key.path() << '=' << configkeys::storedText(record, key) << ' ';
    debug << ')';
    return debug;
}
