#pragma once
// What the settings store must hold after the saves a soak run has made, and the
// check that the file itself still loads as exactly that, with every key written
// so far still in it.

#include "configkeys.h"
#include "configrecord.h"
#include "configstore.h"

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

// The stored part of a record: what a fresh start reads back.
inline ConfigRecord storedPart(ConfigRecord r)
{
    r.ResetSizeAndPosition = false;
    r.RoundCorners = false;
    return r;
}

// The keys whose stored text differs between two records, with both texts.
inline QString differences(const ConfigRecord& got, const ConfigRecord& want)
{
    QStringList lines;
    for (const configkeys::SettingKey& key : configkeys::Table) {
        const QString a = configkeys::storedText(got, key);
        const QString b = configkeys::storedText(want, key);
        if (a != b)
            lines << QStringLiteral("%1 is \"%2\", not \"%3\"").arg(key.path(), a, b);
    }
    return lines.join(QStringLiteral(", "));
}

class StoreModel
{
public:
    // An empty store, as on a first start, whose defaults are `firstStart`.
    void reset(const QString& programFolder, const ConfigRecord& firstStart)
    {
        m_programFolder = programFolder;
        m_expected = storedPart(firstStart);
        m_configSaved = false;
        m_placementSaved = false;
        m_checked.clear();
    }

    const ConfigRecord& expected() const { return m_expected; }

    // SaveConfig wrote the 36 keys of `record`; the placement stays as it was.
    void configSaved(const ConfigRecord& record)
    {
        ConfigRecord next = storedPart(record);
        next.StartX = m_expected.StartX;
        next.StartY = m_expected.StartY;
        next.Height = m_expected.Height;
        m_expected = next;
        m_configSaved = true;
        m_checked.clear();
    }

    void placementSaved(qint16 startX, qint16 startY, qint16 height)
    {
        m_expected.StartX = startX;
        m_expected.StartY = startY;
        m_expected.Height = height;
        m_placementSaved = true;
        m_checked.clear();
    }

    // What is wrong with the file now, or nothing.
    QString problem()
    {
        if (!m_configSaved && !m_placementSaved)
            return QString();
        QFile file(tallivoxSettings()->fileName());
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("the settings file is gone");
        const QByteArray bytes = file.readAll();
        // The same bytes load the same way: only a changed file is read again.
        if (bytes == m_checked)
            return QString();

        // Read through a copy under a new name: QSettings remembers the files it
        // has read in this process, and the check is about the file itself.
        const QString copyPath = m_copies.filePath(QStringLiteral("check-%1.ini").arg(++m_copyCount));
        QFile copy(copyPath);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
            return QStringLiteral("cannot copy the settings file");
        copy.close();
        QString problem;
        {
            QSettings settings(copyPath, QSettings::IniFormat);
            if (settings.status() != QSettings::NoError)
                problem = QStringLiteral("the settings file does not parse");
            for (const configkeys::SettingKey& key : configkeys::Table) {
                const bool placement = key.saveOrder == configkeys::NotSavedByConfig;
                if ((placement ? m_placementSaved : m_configSaved) && !settings.contains(key.path()))
                    problem += QStringLiteral(" the settings file lost %1").arg(key.path());
            }
            ConfigRecord loaded;
            LoadConfig(loaded, settings, m_programFolder);
            if (storedPart(loaded) != m_expected)
                problem += QStringLiteral(" from the settings file %1").arg(differences(storedPart(loaded), m_expected));
        }
        QFile::remove(copyPath);
        if (problem.isEmpty())
            m_checked = bytes;
        return problem;
    }

private:
    QString m_programFolder;
    ConfigRecord m_expected;
    bool m_configSaved = false;
    bool m_placementSaved = false;
    QByteArray m_checked;
    QTemporaryDir m_copies;
    int m_copyCount = 0;
};
