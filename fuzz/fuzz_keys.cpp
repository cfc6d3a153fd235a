// Arbitrary sequences of keys, clicks, drags and time steps driven through the
// real score box, offscreen: nothing crashes and the displays stay in range.

#include "chronometer.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "digitdisplay.h"
#include "frmscoreboard.h"
#include "game.h"
#include "timesource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

struct Key
{
    int qtKey;
    Qt::KeyboardModifiers modifiers;
};

// The keys an operator can reach, Esc and the dialogs left out: they end the
// run or wait for a person.
const std::array<Key, 42> Keys{{
    {Qt::Key_0, {}}, {Qt::Key_1, {}}, {Qt::Key_2, {}}, {Qt::Key_3, {}}, {Qt::Key_5, {}}, {Qt::Key_9, {}},
    {Qt::Key_4, Qt::KeypadModifier}, {Qt::Key_7, Qt::KeypadModifier}, {Qt::Key_Period, Qt::KeypadModifier},
    {Qt::Key_Plus, Qt::KeypadModifier}, {Qt::Key_Minus, Qt::KeypadModifier}, {Qt::Key_Enter, Qt::KeypadModifier},
    {Qt::Key_Period, {}}, {Qt::Key_Minus, {}}, {Qt::Key_Equal, {}}, {Qt::Key_Plus, Qt::ShiftModifier},
    {Qt::Key_Return, {}}, {Qt::Key_Space, {}}, {Qt::Key_Backspace, {}}, {Qt::Key_S, {}},
    {Qt::Key_S, Qt::ShiftModifier}, {Qt::Key_R, {}}, {Qt::Key_T, {}}, {Qt::Key_C, {}}, {Qt::Key_B, {}},
    {Qt::Key_P, {}}, {Qt::Key_Insert, {}}, {Qt::Key_Home, {}}, {Qt::Key_PageUp, {}}, {Qt::Key_Delete, {}},
    {Qt::Key_End, {}}, {Qt::Key_PageDown, {}}, {Qt::Key_F11, {}}, {Qt::Key_F12, {}}, {Qt::Key_NumLock, {}},
    {Qt::Key_A, {}}, {Qt::Key_Exclam, Qt::ShiftModifier}, {Qt::Key_VolumeUp, {}}, {Qt::Key_Tab, {}},
    {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}, {Qt::Key_Y, Qt::ControlModifier},
}};

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// One fresh score box per input, driven by the input's (operation, argument) pairs.
void runActions(ManualTimeSource& time, const uint8_t* data, size_t size)
{
    Game game(time, GameRules::from(Config()));
    game.stopRefreshing();
    frmScoreboard box(game);
    box.load();
    box.show();
    const auto part = [&box](const char* name) { return box.findChild<QWidget*>(QString::fromLatin1(name)); };
    const auto number = [&box](const char* name) { return box.findChild<DigitDisplay*>(QString::fromLatin1(name)); };
    QWidget* const scoreBox = part("picScoreBox");
    QWidget* const shotClock = part("ddShotClock");
    QWidget* targets[] = {part("ddHomeScore"), part("ddVisitorScore"), part("ddPeriod"), part("cdGame"), shotClock,
                          scoreBox};
    QWidget* target = scoreBox;
    QWidget* const grip = part("imgResizeSE");
    const auto mouse = [](QWidget* w, QEvent::Type type, QPointF global) {
        const QPointF local = w->mapFromGlobal(global);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    };

    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint8_t op = data[i];
        const uint8_t arg = data[i + 1];
        if (op < 160) {
            const Key& k = Keys[arg % Keys.size()];
            QKeyEvent press(QEvent::KeyPress, k.qtKey, k.modifiers);
            QKeyEvent release(QEvent::KeyRelease, k.qtKey, k.modifiers);
            QCoreApplication::sendEvent(target, &press);
            QCoreApplication::sendEvent(target, &release);
        } else if (op < 200) {
            // A click marks a display, as the operator's does.
            target = targets[arg % std::size(targets)];
            const QPointF at = target->mapToGlobal(QPointF(2, 2));
            mouse(target, QEvent::MouseButtonPress, at);
            mouse(target, QEvent::MouseButtonRelease, at);
        } else if (op < 215) {
            const QPointF from = scoreBox->mapToGlobal(QPointF(arg % 20, arg % 10));
            mouse(scoreBox, QEvent::MouseButtonPress, from);
            mouse(scoreBox, QEvent::MouseMove, from + QPointF(int(arg) - 128, 7));
            mouse(scoreBox, QEvent::MouseButtonRelease, from + QPointF(int(arg) - 128, 7));
        } else if (op < 230) {
            const QPointF from = grip->mapToGlobal(QPointF(2, 2));
            const QPointF to = from + QPointF((int(arg) - 128) * 3, (int(arg) - 100) * 2);
            mouse(grip, QEvent::MouseButtonPress, from);
            mouse(grip, QEvent::MouseMove, to);
            mouse(grip, QEvent::MouseButtonRelease, to);
        } else {
            time.advanceMs(arg * 37);
            game.refresh();
        }
        // The box shows the game, and the game stays within its limits.
        const GameState g = game.state();
        check(g.homeScore >= -1 && g.homeScore <= 199 && number("ddHomeScore")->caption() == g.homeScore);
        check(g.visitorScore >= -1 && g.visitorScore <= 199 && number("ddVisitorScore")->caption() == g.visitorScore);
        check(g.period >= -1 && g.period <= 9 && number("ddPeriod")->caption() == g.period);
        check(g.gameClock >= ClockSeconds() && g.gameClock <= ClockSeconds::fromSeconds(5999));
        check(scoreBox->height() >= 40);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_keys";
    static char* argv[] = {name, nullptr};
    static bool platform = (qputenv("QT_QPA_PLATFORM", "offscreen"), true);
    // Never destroyed: Qt's input devices must not be torn down after the
    // fuzzer's own exit handlers have run.
    static QApplication* app = new QApplication(argc, argv);
    // The offscreen platform warns about window masks on every view change;
    // a million inputs of that would be the log's whole content.
    static bool quiet = (qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
                             if (type == QtFatalMsg || type == QtCriticalMsg) {
                                 std::fprintf(stderr, "%s\n", qPrintable(message));
                                 std::abort();
                             }
                         }),
                         true);
    (void)quiet;
    static ManualTimeSource time;
    (void)platform;
    (void)app;

    Config() = defaultConfig(QString());
    Config().UseShotClock = (size % 2) == 0;
    runActions(time, data, size);
    // No event loop runs here: what the box left for later deletion goes now,
    // as the program's loop would let it go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
