// Prints the program's speed figures, one a line as "name: value unit".
// Run it from a build: build/tallivox-bench (it uses the offscreen platform).

#include "chronometer.h"
#include "digitdisplay.h"
#include "timesource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
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
    const qint64 expectedTicks = ClockSeconds::fromSeconds(1).ticks();
    return std::abs(game.seconds().ticks() - expectedTicks) * 100.0;
}

// Paint events a widget receives, counted from outside.
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

double paintMs(int ledType)
{
    DigitDisplay display;
    display.setMax(99);
    display.setLedType(ledType);
    display.setLitColor(33023);
    // Digit size chosen so that the display is about 1080 pixels high.
    display.setDigitSize(1000);
    display.setDigitSize(1000.0 * 1080 / std::max(1, display.height()));
    display.setCaption(88);
    QImage image(display.size(), QImage::Format_ARGB32_Premultiplied);
    display.render(&image); // warm any cache
    const int runs = 20;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < runs; ++i) {
        display.setCaption(i % 2 ? 88 : 47);
        display.render(&image);
    }
    return t.nsecsElapsed() / 1e6 / runs;
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

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    print("clock_error_simulated_48min_us", simulatedClockErrorUs(), "us");
    print("paint_ms_digit_1080p_lines", paintMs(0), "ms");
    print("paint_ms_digit_1080p_dots", paintMs(1), "ms");
    print("unchanged_writes_1000_repaints", repaintsForUnchangedWrites(), "paints");
    return 0;
}
