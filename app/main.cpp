// Tallivox: a desktop scoreboard for live basketball video.

#include "firstpaintprobe.h"
#include "programwindows.h"
#include "timesource.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tallivox"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallivox"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(TALLIVOX_VERSION_MAJOR)
                                                .arg(TALLIVOX_VERSION_MINOR)
                                                .arg(TALLIVOX_VERSION_PATCH));
    // The program ends only through the score box's own quit key.
    QApplication::setQuitOnLastWindowClosed(false);
    FirstPaintProbe::install();

    // The splash's load reads the settings before any other window exists.
    ProgramWindows windows(SteadyTimeSource::instance());
    windows.start();
    return app.exec();
}
