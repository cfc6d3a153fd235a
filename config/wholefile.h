#pragma once
// A file replaced only by a whole new one: the bytes go to a new file beside the
// old (nameless until it is whole, where the system allows), are flushed to the
// disk and checked, and only then is the new file renamed over the old. Whatever fails (a full disk, a read-only one, a folder in the
// file's place), the old file stays as it was, and the caller hears why.
//
// QSaveFile is not used: Qt 6.4's commit() takes no notice of a flush that
// fails, and renames an empty file over the old one when the disk is full.

#include <QByteArray>
#include <QString>

#include <optional>

// Why a file could not be written, in the operator's words ("no space left on
// the disk"); nothing when it was.
using WriteProblem = std::optional<QString>;

// Replaces the file at `path` (its folder must exist) with `bytes`. A file that
// was there keeps its permissions, unless `permissions` (0600) says what they are.
WriteProblem replaceWholeFile(const QString& path, const QByteArray& bytes, int permissions = -1);

// The words for a system error number, as replaceWholeFile says them.
QString writeProblemText(int errorNumber);
