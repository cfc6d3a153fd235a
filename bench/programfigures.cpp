#include "programfigures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {

QProcessEnvironment programEnvironment(const QTemporaryDir& dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    return env;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (condition())
            return true;
        QThread::msleep(20);
    }
    return condition();
}

QString run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// CPU seconds (user + system) the process has used so far.
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces; the fields after it are fixed.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = fields[11].toDouble() + fields[12].toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

double statusMb(qint64 pid, const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

double startupMs(const QString& program, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        QProcessEnvironment env = programEnvironment(dir);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tallivox.startup.debug=true"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        process.start(program, {});
        QByteArray output;
        double painted = -1;
        while (clock.elapsed() < 10000 && process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(50);
            output += process.readAll();
            if (output.contains("first paint")) {
                painted = double(clock.nsecsElapsed()) / 1e6;
                break;
            }
        }
        process.kill();
        process.waitForFinished(2000);
        if (painted < 0)
            return -1;
        times.push_back(painted);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

RunningFigures runningFigures(const QString& program, int seconds, const ProgramSetup& setup)
{
    RunningFigures figures;
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfb.isEmpty() || xdotool.isEmpty()) {
        figures.skippedBecause = QStringLiteral("Xvfb or xdotool missing");
        return figures;
    }

    QTemporaryDir dir;
    const auto place = [&dir](const QString& path, const QByteArray& text) {
        if (text.isEmpty())
            return;
        QDir().mkpath(QFileInfo(dir.filePath(path)).path());
        QFile file(dir.filePath(path));
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
    };
    place(QStringLiteral("config/Tallivox/Tallivox.ini"), setup.settings);
    place(QStringLiteral("state/Tallivox/game.json"), setup.game);
    // A display number nobody uses: the first without a lock file or a socket
    // (a server that just ended may leave its socket a moment longer).
    int display = 140 + int(QCoreApplication::applicationPid() % 300);
    const auto socketOf = [](int d) { return QStringLiteral("/tmp/.X11-unix/X%1").arg(d); };
    while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)) || QFile::exists(socketOf(display)))
        ++display;
    const QString name = QStringLiteral(":%1").arg(display);
    QProcess server;
    server.start(xvfb, {name, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QProcessEnvironment env = programEnvironment(dir);
    env.insert(QStringLiteral("DISPLAY"), name);
    // The socket appears before the server answers: it is asked until it does.
    if (!waitFor([&] {
            return QFile::exists(socketOf(display))
                && !run(xdotool, {QStringLiteral("getdisplaygeometry")}, env).isEmpty();
        }, 5000)) {
        figures.skippedBecause = QStringLiteral("Xvfb did not start");
        return figures;
    }

    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tallivox.keys.debug=true"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess app;
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::MergedChannels);
    app.start(program, {});

    auto visibleWindow = [&](const QString& title) {
        return run(xdotool, {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title}, env)
            .split('\n', Qt::SkipEmptyParts).value(0);
    };
    QString box;
    const bool shown = waitFor([&] {
        box = visibleWindow(QStringLiteral("^Tallivox$"));
        if (box.isEmpty()) {
            // The splash hands over on a click away from its buttons.
            const QString splash = visibleWindow(QStringLiteral("^Tallivox - Splash$"));
            if (!splash.isEmpty())
                run(xdotool, {QStringLiteral("mousemove"), QStringLiteral("--window"), splash, QStringLiteral("10"),
                              QStringLiteral("10"), QStringLiteral("click"), QStringLiteral("1")}, env);
        }
        return !box.isEmpty();
    }, 20000);
    QByteArray log;
    bool running = false;
    if (shown) {
        QThread::msleep(300);
        run(xdotool, {QStringLiteral("key"), QStringLiteral("--window"), box, QStringLiteral("s")}, env);
        running = waitFor([&] {
            app.waitForReadyRead(20);
            log += app.readAll();
            return log.contains("running=true");
        }, 3000);
    }
    if (running) {
        // Settle, then measure a quiet stretch of a running clock.
        QThread::sleep(1);
        const qint64 pid = app.processId();
        const double cpuBefore = cpuSeconds(pid);
        QElapsedTimer wall;
        wall.start();
        QThread::sleep(seconds);
        const double cpuAfter = cpuSeconds(pid);
        figures.cpuPercent = (cpuAfter - cpuBefore) / (double(wall.nsecsElapsed()) / 1e9) * 100.0;
        figures.rssMb = statusMb(pid, "VmRSS");
        figures.peakRssMb = statusMb(pid, "VmHWM");
        figures.measured = cpuBefore >= 0 && cpuAfter >= 0;
    } else {
        figures.skippedBecause = shown ? QStringLiteral("the clock did not start") : QStringLiteral("no score box appeared");
        // What the program said last, to tell why.
        log += app.readAll();
        figures.skippedBecause += QStringLiteral("; program said: ") + QString::fromLocal8Bit(log.right(300)).simplified();
    }
    app.kill();
    app.waitForFinished(2000);
    server.terminate();
    server.waitForFinished(2000);
    return figures;
}
