#pragma once
// Loading the configuration record from the per-user settings store and writing it
// back. The store holds plain text under seven groups; conversion to and from the
// record's typed fields happens only here.

#include "configrecord.h"

#include <QSettings>
#include <QString>

#include <memory>

// Fills every stored field of `record` from `settings`. An absent key, or a value
// that does not convert to its field's type, gives that key's default.
void LoadConfig(ConfigRecord& record, QSettings& settings, const QString& programFolder);

// Writes the 36 keys the options dialog edits; not the box placement.
void SaveConfig(const ConfigRecord& record, QSettings& settings);

// Writes the score box placement (screen twips) to "Views".
void SaveBoxPlacement(QSettings& settings, float left, float top, float height);

// What OK does after SaveConfig when the operator asked for a reset: the box goes
// back to the size and place of a first start. The store keeps the old placement
// until the score box next closes.
void ApplyPlacementReset(ConfigRecord& record);

// The program's own store: $XDG_CONFIG_HOME/Tallivox/Tallivox.ini on Linux.
std::unique_ptr<QSettings> tallivoxSettings();

// The program's forms: Config() against tallivoxSettings(), with the executable's
// folder as the program folder.
void LoadConfig();
void SaveConfig();
void SaveBoxPlacement(float left, float top, float height);
