#include "configstore.h"

#include "configkeys.h"
#include "settingtext.h"

#include <QCoreApplication>

#include <cmath>

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
