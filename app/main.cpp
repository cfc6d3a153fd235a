// Tallivox: a desktop scoreboard for live basketball video.

#include "commandline.h"
#include "firstpaintprobe.h"
#include "configstore.h"
#include "displaycheck.h"
#include "programwindows.h"
#include "terminationsignals.h"
#include "timesource.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    const QString version =
        QStringLiteral("%1.%2.%3").arg(TALLIVOX_VERSION_MAJOR).arg(TALLIVOX_VERSION_MINOR).arg(TALLIVOX_VERSION_PATCH);
    if (const std::optional<int> status = answerCommandLine(argc, argv, version))
        return *status;
    preferX11OnWayland();
    DisplayCheck display;
    if (const auto name = display.unreachable()) {
        std::fprintf(stderr, "tallivox: cannot open display %s\n", qPrintable(*name));
        return 1;
    }
    QApplication app(argc, argv);
    display.close();
    QCoreApplication::setOrganizationName(QStringLiteral("Tallivox"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallivox"));
    QCoreApplication::setApplicationVersion(version);
    // Desktops match the windows to the installed menu entry, and its icon, by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("tallivox"));
    // The program ends only as Esc ends it: a close request on the score box or
    // the shot clock window, or a termination signal, takes the same way.
    QApplication::setQuitOnLastWindowClosed(false);
    FirstPaintProbe::install();

    // The splash's load reads the settings before any other window exists.
    ProgramWindows windows(SteadyTimeSource::instance());
    setStoreProblemReporter([&windows](const QString& message) { windows.showNotice(message); });
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::requested, &windows, &ProgramWindows::endProgram);
    windows.start();
    return app.exec();
}
