#pragma once
// Loading the configuration record from the per-user settings store and writing it
// back. The store holds plain text under seven groups; conversion to and from the
// record's typed fields happens only here.

#include "configrecord.h"

#include <QSettings>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Fills every stored field of `record` from `settings`. An absent key, or a value
// that does not convert to its field's type, gives that key's default.
void LoadConfig(ConfigRecord& record, QSettings& settings, const QString& programFolder);

// Why a save did not reach the file, in the operator's words; nothing when the
// values were written. Every save writes a whole new file beside the old one and
// renames it over: whatever fails, the old file stays as it was.
using SaveProblem = std::optional<QString>;

// Writes the 36 keys the options dialog edits; not the box placement.
SaveProblem SaveConfig(const ConfigRecord& record, QSettings& settings);

// Writes the score box placement (screen twips) to "Views".
SaveProblem SaveBoxPlacement(QSettings& settings, float left, float top, float height);

// What a load finds that the file must not keep, repaired once, at load: a file
// the store cannot read as text (UTF-16 from a Windows editor, say), a value
// longer than any setting (it would be written again with every save), keys
// that are not the program's. The file is kept as "<file>.bad" and written anew
// with the program's keys only. Gives the sentence to tell the operator, or
// nothing when the file needed nothing or is not there.
std::optional<QString> RepairStore(QSettings& settings);

// What OK does after SaveConfig when the operator asked for a reset: the box goes
// back to the size and place of a first start. The store keeps the old placement
// until the score box next closes.
void ApplyPlacementReset(ConfigRecord& record);

// The program's own store: $XDG_CONFIG_HOME/Tallivox/Tallivox.ini on Linux.
std::unique_ptr<QSettings> tallivoxSettings();

// Where the program's forms report a save that failed (once while it goes on
// failing for the same reason), or a store repaired: the window owner shows a
// notice. Without a reporter they go to standard error.
void setStoreProblemReporter(std::function<void(const QString& message)> reporter);

// The program's forms: Config() against tallivoxSettings(), with the executable's
// folder as the program folder.
void LoadConfig();
void SaveConfig();
void SaveBoxPlacement(float left, float top, float height);
