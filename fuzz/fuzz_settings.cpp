// Settings loading from arbitrary INI text: it must never stop the program, and
// whatever loaded must survive a save and a second load unchanged.

#include "configrecord.h"
#include "configstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_settings";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tallivox.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ConfigRecord first;
    {
        QSettings settings(path, QSettings::IniFormat);
        LoadConfig(first, settings, QStringLiteral("/program"));
    }
    QFile::remove(path);
    {
        QSettings settings(path, QSettings::IniFormat);
        SaveConfig(first, settings);
        SaveBoxPlacement(settings, first.StartX, first.StartY, first.Height);
    }
    ConfigRecord second;
    {
        QSettings settings(path, QSettings::IniFormat);
        LoadConfig(second, settings, QStringLiteral("/program"));
    }
    if (!(first == second))
        std::abort();
    return 0;
}
