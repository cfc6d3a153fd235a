// Tallivox: a desktop scoreboard for live basketball video.

#include "commandline.h"
#include "firstpaintprobe.h"
#include "configstore.h"
#include "displaycheck.h"
#include "gamefile.h"
#include "programwindows.h"
#include "singleinstance.h"
#include "terminationsignals.h"
#include "timesource.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

// The window on air (the score box, or the splash before it) comes to the front,
// and over it a modal dialog that is open, which keeps the keyboard.
void bringForward(const ProgramWindows& windows)
{
    QWidget* onAir = windows.scoreboard() ? static_cast<QWidget*>(windows.scoreboard()) : windows.splashWindow();
    if (!onAir)
        return;
    if (onAir->isMinimized())
        onAir->setWindowState(onAir->windowState() & ~Qt::WindowMinimized);
    onAir->show();
    onAir->raise();
    onAir->activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

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

    // One copy per user, settled before any settings or game file is read: a
    // second copy only brings the first one's window forward.
    SingleInstance instance(QFileInfo(GameFile::defaultPath()).path());
    if (!instance.isFirst()) {
        if (instance.askFirstToShow()) {
            std::fputs("Tallivox is already running.\n", stderr);
            return 0;
        }
        // The lock names a copy that does not answer: one killed on a disk too
        // full to take the lock over. Its game is this run's to bring back.
        std::fputs("tallivox: the lock of a copy that no longer runs could not be taken over; running without it.\n", stderr);
    }
    // The program ends only as Esc ends it: a close request on the score box or
    // the shot clock window, or a termination signal, takes the same way.
    QApplication::setQuitOnLastWindowClosed(false);
    FirstPaintProbe::install();

    // The splash's load reads the settings before any other window exists.
    ProgramWindows windows(SteadyTimeSource::instance());
    setStoreProblemReporter([&windows](const QString& message) { windows.showNotice(message); });
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::requested, &windows, &ProgramWindows::endProgram);
    QObject::connect(&instance, &SingleInstance::showRequested, &windows, [&windows] { bringForward(windows); });
    windows.start();
    return app.exec();
}
