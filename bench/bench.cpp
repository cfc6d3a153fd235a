// Prints the program's speed figures, one a line as "name: value unit".
// Run it from a build: build/tallivox-bench (it uses the offscreen platform).

#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "feedfigures.h"
#include "figures.h"
#include "digitdisplay.h"
#include "frmscoreboard.h"
#include "game.h"
#include "frmshotclock.h"
#include "programfigures.h"
#include "sounddevice.h"
#include "timesource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <chrono>
#include <thread>
#include <cstdio>
#include <vector>

namespace {


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

// One full repaint of the widget against a plain fill of the same area, timed in
// turns so that both meet the same machine at the same moment: the median ratio.
double paintRatio(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    widget.render(&image);
    std::vector<double> ratios;
    for (int round = 0; round < 15; ++round) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 4; ++i) {
            widget.update();
            widget.render(&image);
        }
        const qint64 paintNs = t.nsecsElapsed();
        t.restart();
        for (int i = 0; i < 4; ++i) {
            QPainter painter(&image);
            painter.fillRect(image.rect(), QColor(0x40, 0x40, 0x40));
        }
        ratios.push_back(double(paintNs) / double(std::max<qint64>(1, t.nsecsElapsed())));
    }
    return percentile(ratios, 50);
}

void digit1080p(DigitDisplay& display, int ledType)
{
    display.setMax(99);
    display.setLedType(ledType);
    display.setLitColor(33023);
    display.setDigitSize(1000);
    display.setDigitSize(1000.0 * 1080 / std::max(1, display.height()));
    display.setCaption(88);
}

double digitPaintMs(int ledType)
{
    DigitDisplay display;
    digit1080p(display, ledType);
    return paintMs(display);
}

double digitPaintRatio(int ledType)
{
    DigitDisplay display;
    digit1080p(display, ledType);
    return paintRatio(display);
}

// The shot clock window at 4K showing 24; shown, as on a screen, when asked.
DigitDisplay* shotClockNumber(const frmShotClock& window)
{
    return window.findChild<DigitDisplay*>(QStringLiteral("ddShotClock"));
}

void shotClockWindow4k(frmShotClock& window, bool shown)
{
    window.load();
    window.resize(3840, 2160);
    shotClockNumber(window)->setCaption(24);
    if (shown) {
        window.show();
        QCoreApplication::processEvents();
    }
}

double shotClockWindow4kPaintMs()
{
    ManualTimeSource time;
    Game game(time, GameRules::withShotClock(24));
    frmShotClock window(game, {});
    shotClockWindow4k(window, false);
    return paintMs(window);
}

// Shown, as on a screen, so that a widget hidden under an opaque child is not
// painted; a hidden window's render paints every layer whole.
double shotClockWindow4kPaintRatio()
{
    ManualTimeSource time;
    Game game(time, GameRules::withShotClock(24));
    frmShotClock window(game, {});
    shotClockWindow4k(window, true);
    return paintRatio(window);
}

// The shown 4K window going from 24 to 23 and back: each change and the repaint
// it causes, through the window's own backing store.
double shotClockWindow4kTickMs()
{
    ManualTimeSource time;
    Game game(time, GameRules::withShotClock(24));
    frmShotClock window(game, {});
    shotClockWindow4k(window, true);
    PaintCounter counter;
    shotClockNumber(window)->installEventFilter(&counter);
    std::vector<double> times;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer t;
        t.start();
        shotClockNumber(window)->setCaption(i % 2 ? 24 : 23);
        QCoreApplication::processEvents();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    // Without a repaint there would be nothing to time.
    return counter.paints >= 40 ? percentile(times, 50) : -1;
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
    Game game(time, GameRules::withShotClock(35));
    frmScoreboard box(game);
    box.load();
    box.show();
    QCoreApplication::processEvents();
    game.stopRefreshing();
    game.apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(45)));
    game.apply(GameCommand::startStop());
    game.refresh();
    QCoreApplication::processEvents();

    PaintCounter counter;
    box.findChild<ClockDisplay*>(QStringLiteral("cdGame"))->installEventFilter(&counter);
    std::vector<double> unchanged, changed;
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer t;
        t.start();
        game.refresh();
        unchanged.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    QCoreApplication::processEvents();
    const int idlePaints = counter.paints;
    for (int i = 0; i < 2000; ++i) {
        time.advanceMs(100);
        if (game.gameClock().seconds() < ClockSeconds::fromSeconds(2))
            game.apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(45)));
        QElapsedTimer t;
        t.start();
        game.refresh();
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
    Game game(time);
    frmScoreboard box(game);
    box.load();
    game.stopRefreshing();
    QRandomGenerator rng(99);
    std::vector<double> delays;
    for (int trial = 0; trial < 1000; ++trial) {
        game.apply(GameCommand::resetClock());
        const qint64 phaseNs = rng.bounded(50000000);
        const qint64 leftNs = 200000000 + rng.bounded(800000000);
        game.apply(GameCommand::setGameTime(ClockSeconds::fromTicks(leftNs / 100000)));
        const qint64 startNs = time.nowNs();
        game.apply(GameCommand::startStop());
        const qint64 zeroNs = startNs + leftNs / 100000 * 100000;
        qint64 nextTick = startNs + phaseNs;
        const QTimer& armed = game.expiryRefresh();
        qint64 expiryAt = armed.isActive() ? startNs + qint64(armed.interval()) * 1000000 : -1;
        while (game.gameClock().running()) {
            const bool expiryFirst = expiryAt >= 0 && expiryAt <= nextTick;
            time.setNowNs(expiryFirst ? expiryAt : nextTick);
            if (!expiryFirst)
                nextTick += 50000000;
            game.refresh();
            expiryAt = armed.isActive() ? time.nowNs() + qint64(armed.interval()) * 1000000 : -1;
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
    Game game(SteadyTimeSource::instance());
    frmScoreboard box(game);
    box.load();
    QRandomGenerator rng(5);
    std::vector<double> delays;
    qint64 zeroAtNs = 0;
    QObject::connect(box.findChild<SoundDevice*>(QStringLiteral("mmcBuzzer")), &SoundDevice::playRequested, &box, [&] {
        delays.push_back(double(SteadyTimeSource::instance().nowNs() - zeroAtNs) / 1e6);
    });
    for (int i = 0; i < expiries; ++i) {
        game.apply(GameCommand::resetClock());
        QEventLoop wait;
        QTimer::singleShot(int(rng.bounded(50)), &wait, &QEventLoop::quit);
        wait.exec();
        const qint64 leftTicks = 1000 + rng.bounded(2000);
        game.apply(GameCommand::setGameTime(ClockSeconds::fromTicks(leftTicks)));
        zeroAtNs = SteadyTimeSource::instance().nowNs() + leftTicks * 100000;
        game.apply(GameCommand::startStop());
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

// A real time source that remembers the instant it last gave out.
class WatchedTime final : public TimeSource
{
public:
    qint64 nowNs() const override { return m_last = SteadyTimeSource::instance().nowNs(); }
    qint64 last() const { return m_last; }

private:
    mutable qint64 m_last = 0;
};

// What a clock display's text shows, in tenths of a second: "1:30" 900,
// "59.9" 599, "23" 230; -1 for anything else.
int shownTenths(const QString& text)
{
    bool ok = false;
    if (const qsizetype colon = text.indexOf(u':'); colon >= 0) {
        bool okMinutes = false;
        const int minutes = text.left(colon).toInt(&okMinutes);
        const int seconds = text.mid(colon + 1).toInt(&ok);
        return ok && okMinutes ? (minutes * 60 + seconds) * 10 : -1;
    }
    const double value = text.toDouble(&ok);
    return ok ? int(std::lround(value * 10)) : -1;
}

// Real time from each instant at which a clock's shown value truly changes to the
// refresh that shows it. A count-down shows its time left rounded up, so value v
// becomes true when v is left: at the clock's zero less v. The game clock runs
// from 1:31 through 31 s of whole seconds and 16 s of tenths, the shot clock
// beside it, started again whenever it runs out, with its 4K window fed.
void displayLagFigures()
{
    WatchedTime time;
    Config() = defaultConfig(QString());
    Config().UseShotClock = true;
    Config().ShowShotClockScreen = true;
    Config().ShotClockResetTime = 24;
    Config().BuzzerFile.clear();
    Config().ShotClockFile.clear();
    Game game(time, GameRules::withShotClock(24));
    frmShotClock window(game, {});
    window.load();
    window.resize(3840, 2160);
    frmScoreboard box(game);
    box.load();
    box.show();
    window.show();
    game.apply(GameCommand::setGameTime(ClockSeconds::fromSeconds(91)));
    QCoreApplication::processEvents();

    const auto zeroAt = [&time](const Chronometer* clock) {
        const qint64 left = clock->nanosecondsToZero();
        return time.last() + left;
    };
    struct Watched {
        const LedDisplay* display;
        const Chronometer* clock;
        qint64 zeroNs = 0;
        int shown = -1;
    };
    const LedDisplay* gameDisplay = box.findChild<ClockDisplay*>(QStringLiteral("cdGame"));
    const LedDisplay* shotDisplay = box.findChild<DigitDisplay*>(QStringLiteral("ddShotClock"));
    std::array<Watched, 2> watched{{{gameDisplay, &game.gameClock()}, {shotDisplay, &game.shotClock()}}};
    game.apply(GameCommand::startStop());
    for (Watched& w : watched) {
        w.zeroNs = zeroAt(w.clock);
        w.shown = shownTenths(w.display->shownText());
    }
    const int endTenths = 440;
    std::vector<double> lags;
    QEventLoop loop;
    const auto look = [&] {
        const qint64 nowNs = SteadyTimeSource::instance().nowNs();
        for (Watched& w : watched) {
            const int shown = shownTenths(w.display->shownText());
            if (shown < 0 || shown >= w.shown) {
                w.shown = shown;
                continue;
            }
            // Every value passed over counts too, late by as much as it was skipped.
            const int step = shown < 600 && w.display == gameDisplay ? 1 : 10;
            for (int v = w.shown - step; v >= shown; v -= step) {
                if (v < 600 || v % 10 == 0)
                    lags.push_back(double(nowNs - (w.zeroNs - qint64(v) * 100000000)) / 1e6);
            }
            w.shown = shown;
        }
        if (!game.shotClock().running() && game.gameClock().running()) {
            game.apply(GameCommand::resetShotClock());
            watched[1].zeroNs = zeroAt(&game.shotClock());
        }
        if (watched[0].shown >= 0 && watched[0].shown <= endTenths)
            loop.quit();
    };
    // Connected after the box, so each look follows its drawing of a change.
    QObject::connect(&game, &Game::changed, &box, look);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    print("display_lag_ms_p50", percentile(lags, 50), "ms");
    print("display_lag_ms_p99", percentile(lags, 99), "ms");
    print("display_lag_ms_max", lags.empty() ? -1 : *std::max_element(lags.begin(), lags.end()), "ms");
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
    if (!quick)
        displayLagFigures();
    refreshTickFigures();
    simulatedBuzzerDelayFigures(wave);
    realBuzzerDelayFigures(wave, quick ? 10 : 60);
    print("paint_ms_digit_1080p_lines", digitPaintMs(0), "ms");
    print("paint_ms_digit_1080p_dots", digitPaintMs(1), "ms");
    print("paint_ms_shotclock_window_4k", shotClockWindow4kPaintMs(), "ms");
    print("paint_ms_shotclock_window_4k_tick", shotClockWindow4kTickMs(), "ms");
    print("paint_ratio_digit_1080p_lines", digitPaintRatio(0), "x");
    print("paint_ratio_digit_1080p_dots", digitPaintRatio(1), "x");
    print("paint_ratio_shotclock_window_4k", shotClockWindow4kPaintRatio(), "x");
    print("unchanged_writes_1000_repaints", repaintsForUnchangedWrites(), "paints");
    printFeedFigures(quick ? 100 : 600);
    printControlFigures(quick ? 100 : 400);

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
        // Both clocks below a minute, so the game clock shows tenths, and the shot
        // clock's own window open.
        ProgramSetup tenths;
        tenths.settings = "[AdditionalSettings]\nUseShotClock=True\nShowShotClockScreen=True\n";
        tenths.game = R"({"version": 1, "homeScore": 0, "visitorScore": 0, "period": 1,
            "gameClockTicks": 590000, "gameClockRunning": false, "gameClockResetTicks": 6000000,
            "shotClockTicks": 350000, "shotClockRunning": false, "shotClockFollowsGame": false,
            "showsTimeOfDay": false})";
        const RunningFigures runningTenths = runningFigures(program, 20, tenths);
        if (runningTenths.measured)
            print("cpu_percent_running_tenths", runningTenths.cpuPercent, "%");
        else
            std::printf("cpu_percent_running_tenths: skipped (%s)\n", qPrintable(runningTenths.skippedBecause));
    }
    return 0;
}
