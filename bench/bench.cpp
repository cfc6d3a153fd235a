// Prints the program's speed figures, one a line as "name: value unit".
// Run it from a build: build/tallivox-bench (it uses the offscreen platform).

#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "feedfigures.h"
#include "digitdisplay.h"
#include "frmscoreboard.h"
#include "frmshotclock.h"
#include "programfigures.h"
#include "sounddevice.h"
#include "timesource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdio>
#include <vector>

namespace {

void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p / 100.0 * double(v.size())))];
}

bool writeWave(const QString& path)
{
    const quint32 rate = 8000, samples = 800, bytes = samples * 2;
    QByteArray b;
    auto u32 = [&b](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xff)); };
    auto u16 = [&b](quint16 v) { b.append(char(v & 0xff)); b.append(char(v >> 8)); };
    b.append("RIFF"); u32(36 + bytes); b.append("WAVE");
    b.append("fmt "); u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
    b.append("data"); u32(bytes); b.append(QByteArray(bytes, '\0'));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// 48 minutes of game time run through 500 starts and stops at random moments,
// against the stepped time source: the clock must lose and gain nothing.
double simulatedClockErrorUs()
{
    ManualTimeSource time;
    Chronometer game(time);
    const qint64 gameNs = qint64(48) * 60 * 1000000000;
    game.setSeconds(ClockSeconds::fromSeconds(48 * 60 + 1));
    QRandomGenerator rng(2024);
    qint64 runNs = 0;
    for (int i = 0; i < 500; ++i) {
        const qint64 left = gameNs - runNs;
        const qint64 step = i == 499 ? left : std::min<qint64>(left, rng.bounded(2 * gameNs / 500));
        game.setRunning(true);
        time.advanceNs(step);
        runNs += step;
        game.setRunning(false);
        time.advanceNs(rng.bounded(5000000000LL));
    }
    return std::abs(game.seconds().ticks() - ClockSeconds::fromSeconds(1).ticks()) * 100.0;
}

// The real chronometer against steady_clock over 20 real seconds with 200 starts and stops.
double realClockErrorUs()
{
    using clock = std::chrono::steady_clock;
    Chronometer game;
    game.setSeconds(ClockSeconds::fromSeconds(600));
    clock::duration ran{};
    QRandomGenerator rng(7);
    const auto end = clock::now() + std::chrono::seconds(20);
    for (int i = 0; i < 200 && clock::now() < end; ++i) {
        const auto started = clock::now();
        game.setRunning(true);
        std::this_thread::sleep_for(std::chrono::microseconds(rng.bounded(50000, 150000)));
        game.setRunning(false);
        ran += clock::now() - started;
    }
    const double expectedUs = 600e6 - std::chrono::duration<double, std::micro>(ran).count();
    return std::abs(game.seconds().toDouble() * 1e6 - expectedUs);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

double paintMs(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    widget.render(&image); // warms any cache
    const int runs = 20;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < runs; ++i) {
        widget.update();
        widget.render(&image);
    }
    return double(t.nsecsElapsed()) / 1e6 / runs;
}

double digitPaintMs(int ledType)
{
    DigitDisplay display;
    display.setMax(99);
    display.setLedType(ledType);
    display.setLitColor(33023);
    display.setDigitSize(1000);
    display.setDigitSize(1000.0 * 1080 / std::max(1, display.height()));
    display.setCaption(88);
    return paintMs(display);
}

double shotClockWindow4kPaintMs()
{
    frmShotClock window({});
    window.Form_Load();
    window.resize(3840, 2160);
    window.ddShotClock->setCaption(24);
    return paintMs(window);
}

int repaintsForUnchangedWrites()
{
    DigitDisplay display;
    display.setMax(199);
    display.setCaption(12);
    display.show();
    QCoreApplication::processEvents();
    PaintCounter counter;
    display.installEventFilter(&counter);
    for (int i = 0; i < 1000; ++i) {
        display.setCaption(12);
        display.setLitColor(display.litColor());
        display.setDigitSize(display.digitSize());
    }
    QCoreApplication::processEvents();
    return counter.paints;
}

// One refresh with both clocks running, the displays unchanged (a stopped
// time) and changed (a tenth further every refresh).
void refreshTickFigures()
{
    ManualTimeSource time;
    Config() = defaultConfig(QString());
    Config().UseShotClock = true;
    frmScoreboard box(time, {});
    box.Form_Load();
    box.show();
    QCoreApplication::processEvents();
    box.tmrClock1.stop();
    box.chGame->setSeconds(ClockSeconds::fromSeconds(45));
    box.StartStopClock();
    box.RefreshTime();
    QCoreApplication::processEvents();

    PaintCounter counter;
    box.cdGame->installEventFilter(&counter);
    std::vector<double> unchanged, changed;
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer t;
        t.start();
        box.RefreshTime();
        unchanged.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    QCoreApplication::processEvents();
    const int idlePaints = counter.paints;
    for (int i = 0; i < 2000; ++i) {
        time.advanceMs(100);
        if (box.chGame->seconds() < ClockSeconds::fromSeconds(2))
            box.chGame->setSeconds(ClockSeconds::fromSeconds(45));
        QElapsedTimer t;
        t.start();
        box.RefreshTime();
        changed.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("refresh_tick_us_p50_unchanged", percentile(unchanged, 50), "us");
    print("refresh_tick_us_p99_unchanged", percentile(unchanged, 99), "us");
    print("refresh_tick_us_p50_changed", percentile(changed, 50), "us");
    print("refresh_tick_us_p99_changed", percentile(changed, 99), "us");
    print("refresh_unchanged_2000_repaints", idlePaints, "paints");
}

// 1,000 expiries at random phases of the 50 ms refresh, followed on the stepped
// clock exactly as the two timers would fire: the regular refresh and the one
// armed for the moment of zero.
void simulatedBuzzerDelayFigures(const QString& wave)
{
    ManualTimeSource time;
    Config() = defaultConfig(QString());
    Config().BuzzerFile = wave;
    frmScoreboard box(time, {});
    box.Form_Load();
    box.tmrClock1.stop();
    QRandomGenerator rng(99);
    std::vector<double> delays;
    for (int trial = 0; trial < 1000; ++trial) {
        box.ResetClock();
        const qint64 phaseNs = rng.bounded(50000000);
        const qint64 leftNs = 200000000 + rng.bounded(800000000);
        box.chGame->setSeconds(ClockSeconds::fromTicks(leftNs / 100000));
        const qint64 startNs = time.nowNs();
        box.StartStopClock();
        const qint64 zeroNs = startNs + leftNs / 100000 * 100000;
        qint64 nextTick = startNs + phaseNs;
        qint64 expiryAt = box.expiryRefresh().isActive() ? startNs + qint64(box.expiryRefresh().interval()) * 1000000 : -1;
        while (box.chGame->running()) {
            const bool expiryFirst = expiryAt >= 0 && expiryAt <= nextTick;
            time.setNowNs(expiryFirst ? expiryAt : nextTick);
            if (!expiryFirst)
                nextTick += 50000000;
            box.RefreshTime();
            expiryAt = box.expiryRefresh().isActive() ? time.nowNs() + qint64(box.expiryRefresh().interval()) * 1000000 : -1;
        }
        delays.push_back(double(time.nowNs() - zeroNs) / 1e6);
    }
    print("buzzer_after_zero_simulated_ms_p50", percentile(delays, 50), "ms");
    print("buzzer_after_zero_simulated_ms_max", *std::max_element(delays.begin(), delays.end()), "ms");
}

// Real expiries of short clocks started at random phases of the real refresh timer.
void realBuzzerDelayFigures(const QString& wave, int expiries)
{
    Config() = defaultConfig(QString());
    Config().BuzzerFile = wave;
    frmScoreboard box(SteadyTimeSource::instance(), {});
    box.Form_Load();
    QRandomGenerator rng(5);
    std::vector<double> delays;
    qint64 zeroAtNs = 0;
    QObject::connect(box.mmcBuzzer, &SoundDevice::playRequested, &box, [&] {
        delays.push_back(double(SteadyTimeSource::instance().nowNs() - zeroAtNs) / 1e6);
    });
    for (int i = 0; i < expiries; ++i) {
        box.ResetClock();
        QEventLoop wait;
        QTimer::singleShot(int(rng.bounded(50)), &wait, &QEventLoop::quit);
        wait.exec();
        const qint64 leftTicks = 1000 + rng.bounded(2000);
        box.chGame->setSeconds(ClockSeconds::fromTicks(leftTicks));
        zeroAtNs = SteadyTimeSource::instance().nowNs() + leftTicks * 100000;
        box.StartStopClock();
        const size_t before = delays.size();
        QElapsedTimer guard;
        guard.start();
        while (delays.size() == before && guard.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    print("buzzer_after_zero_ms_p50", percentile(delays, 50), "ms");
    print("buzzer_after_zero_ms_p99", percentile(delays, 99), "ms");
    print("buzzer_after_zero_ms_max", delays.empty() ? -1 : *std::max_element(delays.begin(), delays.end()), "ms");
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    QTemporaryDir dir;
    const QString wave = dir.filePath(QStringLiteral("buzzer.wav"));
    writeWave(wave);

    print("clock_error_simulated_48min_us", simulatedClockErrorUs(), "us");
    if (!quick)
        print("clock_error_real_us", realClockErrorUs(), "us");
    refreshTickFigures();
    simulatedBuzzerDelayFigures(wave);
    realBuzzerDelayFigures(wave, quick ? 10 : 60);
    print("paint_ms_digit_1080p_lines", digitPaintMs(0), "ms");
    print("paint_ms_digit_1080p_dots", digitPaintMs(1), "ms");
    print("paint_ms_shotclock_window_4k", shotClockWindow4kPaintMs(), "ms");
    print("unchanged_writes_1000_repaints", repaintsForUnchangedWrites(), "paints");
    printFeedFigures(quick ? 100 : 600);

    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/tallivox");
    print("startup_ms", startupMs(program, quick ? 3 : 9), "ms");
    if (!quick) {
        const RunningFigures running = runningFigures(program, 20);
        if (running.measured) {
            print("cpu_percent_running", running.cpuPercent, "%");
            print("rss_mb", running.rssMb, "MB");
            print("rss_peak_mb", running.peakRssMb, "MB");
        } else {
            std::printf("cpu_percent_running: skipped (%s)\n", qPrintable(running.skippedBecause));
        }
    }
    return 0;
}
