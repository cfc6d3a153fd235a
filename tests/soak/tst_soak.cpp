// Ten thousand random operator actions against a loaded score box on the
// offscreen platform: keys into every part of the box, clicks, drags of the box
// and of its resize grip, view switches, options round trips, time passing on a
// stepped clock, and the end of the program followed by a fresh start. After
// every action the box must still stand: scores, period and clocks within their
// limits, the box at least 600 twips high and laid out for its view and size,
// nothing but the operator's own keys touching a score, and the settings file
// loading as exactly what was last saved.
//
// Every choice comes from one seeded generator, so a failure names its seed and
// action and repeats with TALLIVOX_SOAK_SEED=<seed>; TALLIVOX_SOAK_ACTIONS changes
// the length of the run (10000 by default). A new kind of action is one more row
// in addActions(); the options dialog is driven by optionsdriver.h.

#include "chronometer.h"
#include "clockdisplay.h"
#include "controls.h"
#include "crashnote.h"
#include "digitdisplay.h"
#include "entrytext.h"
#include "modscorebox.h"
#include "optionsdriver.h"
#include "scoreboardfixture.h"
#include "soakrandom.h"
#include "sounddevice.h"
#include "storemodel.h"
#include "virtualkeys.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <deque>
#include <functional>
#include <map>

namespace {

constexpr int MaxScore = 199;
constexpr int MaxPeriod = 9;
constexpr int MaxShotClock = 99;
constexpr int MaxGameSeconds = 5999;
constexpr qint64 RefreshMs = 50;
// A stall, not slowness: saves wait for the disk, which a busy machine can hold
// up for seconds, while the abandoned-lock freeze this guards against lasts 30 s.
constexpr qint64 SlowActionMs = 20000;

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

public:
    // One kind of operator action. `touchesScores` and `touchesClocks` say whether
    // it may change a score or the period, and a clock's time; nothing else may,
    // except a key the operator has bound to a command.
    struct Action
    {
        const char* name;
        int weight;
        bool touchesScores;
        bool touchesClocks;
        std::function<void()> run;
    };

private:
    ScoreboardFixture f;
    std::unique_ptr<frmScoreboard> m_box;
    SoakRandom m_random;
    std::vector<Action> m_actions;
    // What the box's options link runs: the driven dialog, or nothing (Cancel) outside the run.
    std::function<void()> m_optionsDialog;
    soakoptions::KeyOfCode m_keyOfCode;
    StoreModel m_store;

    // The gesture in progress: the pressed element and the pointer on the screen.
    QPointer<QWidget> m_pressed;
    Qt::MouseButton m_button = Qt::LeftButton;
    QPointF m_pointer;

    // What happened lately, for the failure message, and the run's totals.
    QString m_detail;
    QString m_actionProblem;
    bool m_boundKeyPressed = false;
    std::deque<QString> m_recent;
    std::map<QString, int> m_counts;
    std::map<QString, int> m_warnings;
    std::map<QString, int> m_dialogClosings;
    std::map<QString, int> m_dialogEdits;
    qint64 m_slowestActionMs = 0;
    QString m_slowestAction;
    int m_largestOverhang = 0;
    QString m_largestOverhangWhere;
    int m_smallestBox = 32767;
    int m_largestBox = 0;
    int m_buzzers = 0;
    int m_horns = 0;

    static TestSoak* s_current;
    static QtMessageHandler s_previousHandler;

    // Warnings are shown once and counted; a critical message fails the run.
    static void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (s_current && type == QtWarningMsg && s_current->m_warnings[message]++ > 0)
            return;
        if (s_current && (type == QtCriticalMsg || type == QtFatalMsg))
            s_current->m_warnings[QStringLiteral("CRITICAL: ") + message]++;
        if (s_previousHandler)
            s_previousHandler(type, context, message);
    }

    // The score box as the fixture loads it, but with the options link of the run.
    void loadBox()
    {
        frmScoreboard::Links links;
        links.showHelp = [this] { ++f.log.helpShown; };
        links.showOptionsDialog = [this] {
            ++f.log.optionsShown;
            m_optionsDialog();
        };
        links.showShotClockWindow = [this] { ++f.log.shotClockShown; };
        links.unloadShotClockWindow = [this] { ++f.log.shotClockUnloaded; };
        links.copyShotClockCaption = [this](int caption) {
            ++f.log.shotClockCopies;
            f.log.lastShotClockCopy = caption;
        };
        links.colourShotClockWindow = [] {};
        links.endProcess = [this] { ++f.log.ended; };
        m_box = std::make_unique<frmScoreboard>(f.time, std::move(links));
        m_box->setNumLock(f.numLock);
        connect(m_box->mmcBuzzer, &SoundDevice::playRequested, this, [this] { ++m_buzzers; });
        connect(m_box->mmcShotClock, &SoundDevice::playRequested, this, [this] { ++m_horns; });
        m_box->setLocalTime([] { return QTime(14, 7, 30); }, false);
        m_box->Form_Load();
        // The run steps the refreshes itself, on the stepped clock, so that it
        // repeats exactly; the real timer would add refreshes at random moments.
        m_box->tmrClock1.stop();
        m_box->show();
        QCoreApplication::processEvents();
    }

    // ---- keys

    // The Qt key and modifiers that give each virtual-key code, found through the
    // program's own translation so that the two cannot disagree.
    void mapKeys()
    {
        QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> candidates;
        for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k)
            candidates.append({Qt::Key(k), Qt::NoModifier});
        for (int k = Qt::Key_0; k <= Qt::Key_9; ++k) {
            candidates.append({Qt::Key(k), Qt::NoModifier});
            candidates.append({Qt::Key(k), Qt::KeypadModifier});
        }
        for (int k = Qt::Key_F1; k <= Qt::Key_F12; ++k)
            candidates.append({Qt::Key(k), Qt::NoModifier});
        for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,
                          Qt::Key_Pause, Qt::Key_Escape, Qt::Key_Space, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End,
                          Qt::Key_Home, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Insert,
                          Qt::Key_Delete, Qt::Key_NumLock, Qt::Key_Semicolon, Qt::Key_Equal, Qt::Key_Comma,
                          Qt::Key_Minus, Qt::Key_Period, Qt::Key_Slash, Qt::Key_QuoteLeft, Qt::Key_BracketLeft,
                          Qt::Key_Backslash, Qt::Key_BracketRight, Qt::Key_Apostrophe})
            candidates.append({k, Qt::NoModifier});
        for (Qt::Key k : {Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Slash, Qt::Key_Enter})
            candidates.append({k, Qt::KeypadModifier});
        for (const auto& [key, modifiers] : candidates) {
            const int code = virtualKeyCode(KeyFacts{key, modifiers.testFlag(Qt::KeypadModifier), 0});
            if (code != 0 && !m_keyOfCode.count(code))
                m_keyOfCode[code] = {key, modifiers};
        }
    }

    // The parts of the box a key can reach: those that can hold the focus.
    QWidget* keyTarget()
    {
        QList<QWidget*> targets{m_box.get(), m_box->picScoreBox, m_box->picScoreTime, m_box->picLogoContainer};
        QList<QWidget*> displays{m_box->cdGame, m_box->ddHomeScore, m_box->ddVisitorScore, m_box->ddPeriod};
        if (m_box->ddShotClock->isVisible())
            displays << m_box->ddShotClock;
        // Typed entries need a display, so displays are picked more often.
        return m_random.chance(0.7) ? m_random.pick(displays) : m_random.pick(targets);
    }

    void pressCode(int code)
    {
        const auto found = m_keyOfCode.find(code);
        QVERIFY2(found != m_keyOfCode.end(), qPrintable(QStringLiteral("no key gives code %1").arg(code)));
        auto [key, modifiers] = found->second;
        // Shift changes nothing for the program, so it is held now and then.
        if (!modifiers.testFlag(Qt::KeypadModifier) && m_random.chance(0.1))
            modifiers |= Qt::ShiftModifier;
        QWidget* target = keyTarget();
        // A bound key may act on a score or a clock, whatever else it is.
        for (const KeyLabelField& binding : KeyLabelFields)
            m_boundKeyPressed = m_boundKeyPressed || Config().*binding.field == code;
        m_detail = QStringLiteral("key %1 into %2").arg(code).arg(target->objectName());
        QTest::keyClick(target, key, modifiers);
    }

    void pressAnyKey()
    {
        const int kind = m_random.uniform(0, 9);
        if (kind <= 2) {
            pressCode(Config().*m_random.pick(KeyLabelFields).field); // a bound command or quick key
        } else if (kind <= 6) {
            // What typed entries are made of.
            static const int entryKeys[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', vk::Numpad0, vk::Numpad0 + 5,
                                            vk::Numpad9, vk::Plus, vk::Minus, vk::Add, vk::Subtract, vk::Period,
                                            vk::Decimal, vk::Enter, vk::Enter, vk::Space, vk::Backspace};
            pressCode(m_random.pick(entryKeys));
        } else if (kind == 7) {
            pressCode(m_random.pick({vk::F1, vk::F11, vk::F12}));
        } else {
            // Keys bound to nothing, or to something only now and then.
            static const int otherKeys[] = {vk::Tab, vk::Left, vk::Up, vk::Right, vk::Down, vk::Shift, vk::Alt,
                                            vk::F1 + 9, vk::F1 + 2, 'Z', 'X', vk::Semicolon, vk::Quote, vk::Divide};
            pressCode(m_random.pick(otherKeys));
        }
    }

    // The NumLock key toggles the keyboard's light as it goes down; its release
    // lets the box put its policy back.
    void pressNumLock()
    {
        QWidget* target = keyTarget();
        m_detail = QStringLiteral("NumLock into %1").arg(target->objectName());
        f.numLock.on = !f.numLock.on;
        QTest::keyPress(target, Qt::Key_NumLock);
        QTest::keyRelease(target, Qt::Key_NumLock);
    }

    // ---- the mouse: the pressed element gets every event of its gesture, as
    // under the platform's mouse capture

    void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local = target->mapFromGlobal(m_pointer);
        QMouseEvent event(type, local, local, m_pointer, button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    QList<QWidget*> moveSources() const
    {
        QList<QWidget*> sources{m_box->picScoreBox, m_box->picScoreTime, m_box->picLogoContainer, m_box->cdGame,
                                m_box->ddHomeScore, m_box->ddVisitorScore, m_box->ddPeriod};
        if (m_box->ddShotClock->isVisible())
            sources << m_box->ddShotClock;
        return sources;
    }

    QPointF randomPointIn(const QWidget* w)
    {
        return QPointF(m_random.uniform(0, std::max(0, w->width() - 1)), m_random.uniform(0, std::max(0, w->height() - 1)));
    }

    void press(QWidget* target)
    {
        m_pressed = target;
        m_button = m_random.pick({Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton});
        m_pointer = target->mapToGlobal(randomPointIn(target));
        m_detail = QStringLiteral("press %1 at (%2, %3)").arg(target->objectName()).arg(m_pointer.x()).arg(m_pointer.y());
        sendMouse(target, QEvent::MouseButtonPress, m_button, m_button);
    }

    void dragStep()
    {
        if (!m_pressed)
            return press(m_random.chance(0.3) ? m_box->imgResizeSE : m_random.pick(moveSources()));
        // Mostly small steps, now and then a sweep across the screen, and rarely one
        // far beyond it.
        const int reach = m_random.chance(0.02) ? 3000 : m_random.chance(0.15) ? 400 : 25;
        m_pointer += QPointF(m_random.uniform(-reach, reach), m_random.uniform(-reach, reach));
        m_detail = QStringLiteral("drag %1 to (%2, %3)").arg(m_pressed->objectName()).arg(m_pointer.x()).arg(m_pointer.y());
        sendMouse(m_pressed, QEvent::MouseMove, Qt::NoButton, m_button);
    }

    void release()
    {
        if (!m_pressed)
            return dragStep();
        m_detail = QStringLiteral("release %1").arg(m_pressed->objectName());
        sendMouse(m_pressed, QEvent::MouseButtonRelease, m_button, Qt::NoButton);
        m_pressed = nullptr;
    }

    // A press whose release never comes back, as when another window takes the mouse.
    void loseRelease()
    {
        m_detail = QStringLiteral("release lost");
        m_pressed = nullptr;
    }

    // A whole grip gesture to the largest box there can be, or the smallest.
    void resizeToAnExtreme()
    {
        const double reach = m_random.chance(0.5) ? 4000 : -4000;
        press(m_box->imgResizeSE);
        m_pointer += QPointF(reach, reach);
        sendMouse(m_box->imgResizeSE, QEvent::MouseMove, Qt::NoButton, m_button);
        sendMouse(m_box->imgResizeSE, QEvent::MouseButtonRelease, m_button, Qt::NoButton);
        m_pressed = nullptr;
        m_detail = reach > 0 ? QStringLiteral("grip dragged far out") : QStringLiteral("grip dragged far in");
    }

    void click()
    {
        QWidget* target = m_random.pick(moveSources());
        const QPoint at = randomPointIn(target).toPoint();
        m_detail = QStringLiteral("click %1").arg(target->objectName());
        QTest::mouseClick(target, m_random.pick({Qt::LeftButton, Qt::RightButton}), Qt::NoModifier, at);
    }

    // ---- time: the clocks run on while the refresh timer ticks every 50 ms; now
    // and then the time runs until a running clock has expired

    void timePasses()
    {
        qint64 ms = m_random.chance(0.8) ? m_random.uniform(1, 2000) : m_random.uniform(2000, 60000);
        if (m_random.chance(0.2)) {
            const qint64 toZero = std::max(m_box->chGame->nanosecondsToZero(), m_box->chShotClock->nanosecondsToZero());
            if (toZero > 0)
                ms = std::min<qint64>(toZero / 1000000 + m_random.uniform(0, 200), 120000);
        }
        m_detail = QStringLiteral("%1 ms pass").arg(ms);
        for (qint64 passed = 0; passed < ms;) {
            const qint64 step = std::min<qint64>(m_random.uniform(1, RefreshMs), ms - passed);
            f.time.advanceMs(step);
            passed += step;
            m_box->RefreshTime();
        }
    }

    // ---- the options round trip: F2 opens the real dialog, driven from inside its own loop

    void openOptions()
    {
        pressCode(vk::F2);
        m_detail.prepend(QStringLiteral("F2: "));
    }

    void runOptionsDialog()
    {
        soakoptions::OptionsDriver driver(m_random, f.programFolder.path(), f.numLock, m_keyOfCode);
        const soakoptions::OptionsDriver::Outcome outcome = driver.run(m_box.get());
        m_detail = outcome.description();
        m_actionProblem = outcome.problem;
        ++m_dialogClosings[QLatin1String(soakoptions::OptionsDriver::ClosingNames[outcome.closedBy])];
        for (const QString& edit : outcome.edits)
            ++m_dialogEdits[edit];
        // After OK the store check that follows every action must load the file
        // back as the record now in force, every key present.
        if (outcome.accepted)
            m_store.configSaved(Config());
    }

    // ---- the end of the program, and a fresh start

    void endAndRestart()
    {
        const QPoint box = m_box->pos() + m_box->picScoreBox->pos();
        const int height = m_box->picScoreBox->height();
        const int endedBefore = f.log.ended;
        pressCode(vk::Escape);
        QVERIFY2(f.log.ended == endedBefore + 1, "Esc did not end the program");
        m_store.placementSaved(units::toInt16(box.x() * units::TwipsPerPixel), units::toInt16(box.y() * units::TwipsPerPixel),
                               units::toInt16(height * units::TwipsPerPixel));
        m_pressed = nullptr;

        // A new process: the record from the store, empty entry buffers, a new box.
        m_box.reset();
        Config() = ConfigRecord();
        LoadConfig(Config(), *tallivoxSettings(), f.programFolder.path());
        DigitEntry() = {};
        ClockEntry() = {};
        loadBox();
        QVERIFY2(storedPart(Config()) == m_store.expected(),
                 qPrintable(QStringLiteral("after a fresh start ") + differences(storedPart(Config()), m_store.expected())));
    }

    // ---- what must hold after every action

    struct Snapshot
    {
        int home, visitor, period;
        ClockSeconds game, shot;
    };
    Snapshot snapshot() const
    {
        return {m_box->ddHomeScore->caption(), m_box->ddVisitorScore->caption(), m_box->ddPeriod->caption(),
                m_box->chGame->seconds(), m_box->chShotClock->seconds()};
    }

    void checkLimits(QStringList& problems, const Snapshot& now)
    {
        const auto within = [&](const char* what, int value, int low, int high) {
            if (value < low || value > high)
                problems << QStringLiteral("%1 is %2, outside %3 to %4").arg(QLatin1String(what)).arg(value).arg(low).arg(high);
        };
        within("home score", now.home, -1, MaxScore);
        within("visitor score", now.visitor, -1, MaxScore);
        within("period", now.period, -1, MaxPeriod);
        // Following the game clock, the shot clock takes the game's seconds, whatever they are.
        within("shot clock display", m_box->ddShotClock->caption(), -1,
               m_box->ShotClockFollowsGame ? MaxGameSeconds : MaxShotClock);
        if (m_box->ddShotClock->shownText().size() > 2)
            problems << QStringLiteral("the shot clock shows \"%1\"").arg(m_box->ddShotClock->shownText());
        if (now.game < ClockSeconds() || now.game > ClockSeconds::fromSeconds(MaxGameSeconds))
            problems << QStringLiteral("game clock at %1 s").arg(now.game.toDouble());
        if (now.shot < ClockSeconds() || now.shot > ClockSeconds::fromSeconds(MaxShotClock))
            problems << QStringLiteral("shot clock at %1 s").arg(now.shot.toDouble());
    }

    void checkUntouched(QStringList& problems, const Action& action, const Snapshot& before, const Snapshot& now)
    {
        if (!action.touchesScores && !m_boundKeyPressed
            && (now.home != before.home || now.visitor != before.visitor || now.period != before.period))
            problems << QStringLiteral("scores went from %1-%2 period %3 to %4-%5 period %6")
                            .arg(before.home).arg(before.visitor).arg(before.period)
                            .arg(now.home).arg(now.visitor).arg(now.period);
        if (!action.touchesClocks && !m_boundKeyPressed && (now.game != before.game || now.shot != before.shot))
            problems << QStringLiteral("clocks went from %1/%2 s to %3/%4 s")
                            .arg(before.game.toDouble()).arg(before.shot.toDouble())
                            .arg(now.game.toDouble()).arg(now.shot.toDouble());
    }

    void checkBox(QStringList& problems)
    {
        const QSize box = m_box->picScoreBox->size();
        const auto twips = [](int pixels) { return pixels * units::TwipsPerPixel; };
        if (twips(box.height()) < MinimumBoxHeightTwips || twips(box.height()) > 32767 || box.width() < 1
            || twips(box.width()) > 32767)
            problems << QStringLiteral("the box is %1 x %2 twips").arg(twips(box.width())).arg(twips(box.height()));
        m_smallestBox = std::min(m_smallestBox, twips(box.height()));
        m_largestBox = std::max(m_largestBox, twips(box.height()));

        if (Config().ScoreboardView == 0) {
            if (m_box->size() != box || m_box->picScoreBox->pos() != QPoint(0, 0))
                problems << QStringLiteral("floating window %1x%2 does not hug its %3x%4 box at (%5, %6)")
                                .arg(m_box->width()).arg(m_box->height()).arg(box.width()).arg(box.height())
                                .arg(m_box->picScoreBox->x()).arg(m_box->picScoreBox->y());
        } else if (Config().ScoreboardView == 1) {
            if (m_box->geometry() != m_box->screen()->geometry())
                problems << QStringLiteral("the background window does not fill the screen");
        }
        if (!m_box->isVisible())
            problems << QStringLiteral("the box is not shown");

        // Outside a resize gesture the contents are laid out for the box's size: the
        // score and time block fills its height. Every element lies inside the part
        // that holds it, give or take what rounding adds up: each resize takes the
        // current look, in whole pixels, as its reference, so a box made small and
        // then large again carries its small size's rounding scaled up.
        if (m_box->ResizingScoreBox)
            return;
        if (std::abs(m_box->picScoreTime->height() - box.height()) > 2)
            problems << QStringLiteral("the score and time block is %1 px high in a %2 px box")
                            .arg(m_box->picScoreTime->height()).arg(box.height());
        const int maxOverhang = 2 + box.height() / 10;
        for (QWidget* w : std::initializer_list<QWidget*>{m_box->picScoreTime, m_box->picLogoContainer, m_box->cdGame,
                                                           m_box->ddHomeScore, m_box->ddVisitorScore, m_box->ddPeriod,
                                                           m_box->ddShotClock, m_box->lblHomeName, m_box->lblVisitorName,
                                                           m_box->lblPeriod, m_box->imgResizeSE}) {
            if (!w->isVisible())
                continue;
            const QRect g = w->geometry();
            const QRect p = w->parentWidget()->rect();
            const int overhang =
                std::max({p.left() - g.left(), p.top() - g.top(), g.right() - p.right(), g.bottom() - p.bottom(), 0});
            const QString where = QStringLiteral("%1 at %2,%3 %4x%5 sticks out of its %6x%7 %8 by %9 px")
                                      .arg(w->objectName()).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                                      .arg(p.width()).arg(p.height()).arg(w->parentWidget()->objectName()).arg(overhang);
            if (overhang > m_largestOverhang) {
                m_largestOverhang = overhang;
                m_largestOverhangWhere = where;
            }
            if (overhang > maxOverhang)
                problems << where;
        }
    }

    QString invariantProblem(const Action& action, const Snapshot& before)
    {
        QStringList problems;
        if (!m_actionProblem.isEmpty())
            problems << m_actionProblem;
        const Snapshot now = snapshot();
        checkLimits(problems, now);
        checkUntouched(problems, action, before, now);
        checkBox(problems);
        if (const QString store = m_store.problem(); !store.isEmpty())
            problems << store;
        for (const auto& [message, times] : m_warnings) {
            if (message.startsWith(QLatin1String("CRITICAL")))
                problems << message;
        }
        return problems.join(QStringLiteral("; "));
    }

    void addActions()
    {
        m_optionsDialog = [this] { runOptionsDialog(); };
        m_actions = {
            {"key", 40, true, true, [this] { pressAnyKey(); }},
            {"NumLock", 2, false, false, [this] { pressNumLock(); }},
            {"click", 8, false, false, [this] { click(); }},
            {"drag", 14, false, false, [this] { dragStep(); }},
            {"release", 5, false, false, [this] { release(); }},
            {"lost release", 1, false, false, [this] { loseRelease(); }},
            {"extreme resize", 1, false, false, [this] { resizeToAnExtreme(); }},
            {"view key", 3, false, false, [this] { pressCode(m_random.pick({vk::F11, vk::F12})); }},
            {"time passes", 16, false, true, [this] { timePasses(); }},
            {"options round trip", 6, false, false, [this] { openOptions(); }},
            {"end and restart", 1, true, true, [this] { endAndRestart(); }},
        };
    }

    const Action& nextAction()
    {
        int total = 0;
        for (const Action& a : m_actions)
            total += a.weight;
        int roll = m_random.uniform(0, total - 1);
        for (const Action& a : m_actions) {
            if (roll < a.weight)
                return a;
            roll -= a.weight;
        }
        return m_actions.back();
    }

    void reportRun(int count, qint64 ms)
    {
        QStringList counts;
        for (const auto& [name, times] : m_counts)
            counts << QStringLiteral("%1 %2").arg(name).arg(times);
        qInfo("soak: %d actions in %lld ms (%s); slowest %lld ms: %s", count, ms, qPrintable(counts.join(u',')),
              m_slowestActionMs, qPrintable(m_slowestAction));
        qInfo("soak: options shown %d times, help %d, the program ended %d times; buzzer %d times, horn %d times; "
              "box height from %d to %d twips; final score %d-%d period %d",
              f.log.optionsShown, f.log.helpShown, f.log.ended, m_buzzers, m_horns, m_smallestBox, m_largestBox,
              m_box->ddHomeScore->caption(), m_box->ddVisitorScore->caption(), m_box->ddPeriod->caption());
        qInfo("soak: largest overhang %d px%s%s", m_largestOverhang, m_largestOverhang ? ": " : "",
              qPrintable(m_largestOverhangWhere));
        QStringList closings;
        for (const auto& [how, times] : m_dialogClosings)
            closings << QStringLiteral("%1 %2").arg(how).arg(times);
        QStringList edits;
        for (const auto& [edit, times] : m_dialogEdits)
            edits << QStringLiteral("%1 %2").arg(edit).arg(times);
        qInfo("soak: the options dialog closed by %s; its edits: %s", qPrintable(closings.join(u',')),
              qPrintable(edits.join(u',')));
        for (const auto& [message, times] : m_warnings)
            qInfo("soak: warning seen %d times: %s", times, qPrintable(message));
    }

private Q_SLOTS:
    void initTestCase()
    {
        crashnote::install();
        s_current = this;
        s_previousHandler = qInstallMessageHandler(recordMessage);
        mapKeys();
        QVERIFY(soakoptions::writeProgramFiles(f.programFolder.path()));
    }

    void init()
    {
        f.resetConfig();
        DigitEntry() = {};
        ClockEntry() = {};
        m_pressed = nullptr;
        m_optionsDialog = [] {}; // closed with Cancel
    }

    void cleanup() { m_box.reset(); }

    void cleanupTestCase()
    {
        qInstallMessageHandler(s_previousHandler);
        s_current = nullptr;
        crashnote::uninstall();
    }

    // Faults the soak found, kept as plain cases.
    void optionsOpenedDuringAResizeLeaveTheContentsFittingTheBox()
    {
        // Given a box whose grip is being dragged smaller, its contents waiting for the release,
        loadBox();
        m_pointer = m_box->imgResizeSE->mapToGlobal(QPointF(5, 5));
        sendMouse(m_box->imgResizeSE, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        m_pointer += QPointF(-120, -30);
        sendMouse(m_box->imgResizeSE, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
        QVERIFY(m_box->picScoreTime->height() > m_box->picScoreBox->height() + 10);

        // when the options dialog opens and closes before the release,
        QTest::keyClick(m_box->picScoreBox, Qt::Key_F2);

        // then the resize is over and the contents fit the box at its new size.
        QVERIFY(!m_box->ResizingScoreBox);
        QVERIFY(std::abs(m_box->picScoreTime->height() - m_box->picScoreBox->height()) <= 1);
        QCOMPARE(Config().Height, m_box->picScoreBox->height() * units::TwipsPerPixel);
    }

    void aPressAfterALostReleaseEndsTheResize()
    {
        // Given a resize whose release never came,
        loadBox();
        m_pointer = m_box->imgResizeSE->mapToGlobal(QPointF(5, 5));
        sendMouse(m_box->imgResizeSE, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        m_pointer += QPointF(-120, -30);
        sendMouse(m_box->imgResizeSE, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);

        // when the operator presses on the box again,
        m_pointer = m_box->picScoreBox->mapToGlobal(QPointF(3, 3));
        sendMouse(m_box->picScoreBox, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);

        // then the resize ends as its release would have ended it.
        QVERIFY(!m_box->ResizingScoreBox);
        QVERIFY(m_box->MovingScoreBox);
        QVERIFY(std::abs(m_box->picScoreTime->height() - m_box->picScoreBox->height()) <= 1);
    }

    void theLargestBoxKeepsItsProportions()
    {
        // Given a box,
        loadBox();
        const double ratio = double(m_box->picScoreBox->width()) / m_box->picScoreBox->height();

        // when its grip is dragged far beyond what 16-bit twips can hold,
        m_pointer = m_box->imgResizeSE->mapToGlobal(QPointF(5, 5));
        sendMouse(m_box->imgResizeSE, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        m_pointer += QPointF(4000, 4000);
        sendMouse(m_box->imgResizeSE, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
        sendMouse(m_box->imgResizeSE, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);

        // then it stops at the limit with its proportions, its contents filling it.
        const QSize box = m_box->picScoreBox->size();
        QVERIFY(box.width() * units::TwipsPerPixel <= 32767);
        QVERIFY(box.width() * units::TwipsPerPixel > 32767 - 2 * units::TwipsPerPixel);
        QVERIFY(std::abs(double(box.width()) / box.height() - ratio) < 0.02);
        QVERIFY(std::abs(m_box->picScoreTime->height() - box.height()) <= 1);
    }

    void aBoxDraggedToTheEdgeOfThePlacementRangeStartsThereAgain()
    {
        // Given a box dragged as far left as a 16-bit placement goes,
        loadBox();
        m_pointer = m_box->picScoreBox->mapToGlobal(QPointF(3, 3));
        sendMouse(m_box->picScoreBox, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        m_pointer += QPointF(-5000, 0);
        sendMouse(m_box->picScoreBox, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
        sendMouse(m_box->picScoreBox, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        QVERIFY(m_box->x() * units::TwipsPerPixel < -32768); // whole pixels reach a little past it

        // when the program ends,
        QTest::keyClick(m_box->picScoreBox, Qt::Key_Escape);

        // then the next start reads the placement back at the edge, not as a default.
        ConfigRecord loaded;
        LoadConfig(loaded, *tallivoxSettings(), f.programFolder.path());
        QCOMPARE(loaded.StartX, qint16(-32768));
    }

    void randomOperatorActionsKeepTheBoxSound()
    {
        const std::uint64_t seed = soakSeed("TALLIVOX_SOAK_SEED");
        const int count = soakCount("TALLIVOX_SOAK_ACTIONS", 10000);
        crashnote::setSeed(seed);
        m_random.seed(seed);
        qInfo("soak: seed %llu (TALLIVOX_SOAK_SEED=%llu repeats this run), %d actions",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), count);
        m_store.reset(f.programFolder.path(), Config());
        addActions();
        loadBox();

        QElapsedTimer run;
        run.start();
        for (int i = 0; i < count; ++i) {
            const Action& action = nextAction();
            crashnote::setAction(i, action.name);
            m_detail.clear();
            m_actionProblem.clear();
            m_boundKeyPressed = false;
            const Snapshot before = snapshot();
            QElapsedTimer timer;
            timer.start();
            action.run();
            QCoreApplication::processEvents();
            const qint64 ms = timer.elapsed();
            ++m_counts[QString::fromLatin1(action.name)];
            m_recent.push_back(QStringLiteral("%1: %2 (%3)").arg(i).arg(QLatin1String(action.name), m_detail));
            if (m_recent.size() > 25)
                m_recent.pop_front();
            if (ms > m_slowestActionMs) {
                m_slowestActionMs = ms;
                m_slowestAction = m_recent.back();
            }

            QString problem = QTest::currentTestFailed() ? QStringLiteral("a check inside the action failed")
                                                         : invariantProblem(action, before);
            if (ms > SlowActionMs)
                problem += QStringLiteral(" the action took %1 ms").arg(ms);
            if (!problem.isEmpty()) {
                QString recent;
                for (const QString& line : m_recent)
                    recent += QStringLiteral("\n    ") + line;
                QFAIL(qPrintable(
                    QStringLiteral("action %1 (%2) of seed %3 (TALLIVOX_SOAK_SEED=%3 repeats it): %4\n  the last actions:%5")
                        .arg(i).arg(QLatin1String(action.name)).arg(seed).arg(problem, recent)));
            }
        }
        crashnote::setAction(-1, "");
        reportRun(count, run.elapsed());
    }
};

TestSoak* TestSoak::s_current = nullptr;
QtMessageHandler TestSoak::s_previousHandler = nullptr;

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
