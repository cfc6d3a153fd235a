#include "programwindows.h"

#include "besidebox.h"
#include "configrecord.h"
#include "digitdisplay.h"
#include "frmshotclock.h"
#include "feed.h"
#include "game.h"
#include "gamefile.h"
#include "noticewindow.h"
#include "timesource.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <cstdio>

ProgramWindows::ProgramWindows(const TimeSource& time, QObject* parent)
    : QObject(parent)
    , m_time(time)
{
}

ProgramWindows::~ProgramWindows()
{
    if (m_help)
        disconnect(m_help, nullptr, this, nullptr);
    delete m_scoreboard;
    delete m_shotClock;
    delete m_help;
    delete m_splash;
    delete m_notice;
}


GameFile& ProgramWindows::gameFile()
{
    if (!m_gameFile) {
        m_gameFile = std::make_unique<GameFile>(GameFile::defaultPath(), [this](const QString& message) {
            // Heard on the writer's thread, the notice is shown on the window's. One
            // heard at the end is said at once: the loop runs no more.
            if (QThread::currentThread() == thread())
                showNotice(message);
            else
                QMetaObject::invokeMethod(this, [this, message] { showNotice(message); }, Qt::QueuedConnection);
        });
    }
    return *m_gameFile;
}

// A game left by a run that did not end normally is read before the box exists,
// so that nothing the new box hands out can overwrite it, and put on the box
// once it is loaded; without one, the last game when the splash resumed it.
frmScoreboard& ProgramWindows::scoreboardWindow()
{
    if (!m_scoreboard) {
        std::optional<GameState> leftover = gameFile().takeLeftover();
        if (!leftover)
            leftover = m_gameToRestore;
        m_scoreboard = new frmScoreboard(gameInstance());
        connect(m_scoreboard, &frmScoreboard::helpRequested, this, &ProgramWindows::showHelp);
        connect(m_scoreboard, &frmScoreboard::optionsRequested, this, [this] { showOptionsDialog(m_scoreboard); });
        connect(m_scoreboard, &frmScoreboard::shotClockWindowWanted, this, [this](bool shown) {
            if (shown)
                showShotClockWindow();
            else
                unloadShotClockWindow();
        });
        connect(m_scoreboard, &frmScoreboard::shotClockColoursChanged, this,
                [this] { shotClockInstance().applyColours(); });
        connect(m_scoreboard, &frmScoreboard::endRequested, this, &ProgramWindows::endProcess);
        m_scoreboard->load();
        // The game file and the feed hear the game itself, after the box has drawn it.
        connect(m_game.get(), &Game::changed, this, [this](const GameState& state) {
            saveGame(state);
            publishToFeed();
        });
        if (leftover)
            m_game->restore(*leftover);
        saveGame(m_game->state());
        applyFeedSettings();
    }
    return *m_scoreboard;
}

Game& ProgramWindows::gameInstance()
{
    if (!m_game)
        m_game = std::make_unique<Game>(m_time, GameRules::from(Config()));
    return *m_game;
}

void ProgramWindows::applyFeedSettings()
{
    const ConfigRecord& config = Config();
    if (!m_feed && !config.FeedEnabled)
        return;
    if (!m_feed)
        m_feed = std::make_unique<Feed>();
    const QString problem = m_feed->apply(config.FeedEnabled, config.FeedAddress, quint16(config.FeedPort));
    // Remote commands go to the game through its one entry, like the keyboard's.
    m_feed->setGame(m_game.get());
    m_feed->setControl(config.ControlEnabled, config.ControlToken.toUtf8());
    if (!problem.isEmpty())
        showNotice(problem);
    if (!m_scoreboard)
        return;
    if (m_feed->isServing()) {
        // A box drawn in answer to a change of the game goes out with that change.
        m_scoreboard->setShownBoxListener([this](const ShownBox& box) {
            m_shownBox = box;
            if (!m_game->isAnnouncing())
                publishToFeed();
        });
    } else {
        m_scoreboard->setShownBoxListener({});
    }
}

void ProgramWindows::publishToFeed()
{
    if (m_feed && m_feed->isServing() && m_game)
        m_feed->publish(FeedState{m_game->state(), m_shownBox, Config()});
}

void ProgramWindows::saveGame(const GameState& state)
{
    if (m_gameFile && m_savePace.due(state, m_time.nowNs()))
        m_gameFile->save(state);
}

void ProgramWindows::showScoreboard()
{
    frmScoreboard& box = scoreboardWindow();
    box.show();
    box.raise();
    box.activateWindow();
    placeNotice();
}

// Loaded on first use, not shown: the score box's updates reach it before it is
// shown. A close request on it ends the program as one on the score box does.
frmShotClock& ProgramWindows::shotClockInstance()
{
    if (!m_shotClock) {
        auto* window = new frmShotClock(
            gameInstance(),
            [this](int keyCode, Qt::KeyboardModifiers modifiers) {
                if (m_scoreboard)
                    m_scoreboard->pressKey(keyCode, modifiers);
            },
            [this] { endProgram(); });
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->load();
        m_shotClock = window;
    }
    return *static_cast<frmShotClock*>(m_shotClock.data());
}

void ProgramWindows::showShotClockWindow()
{
    shotClockInstance().show();
}

void ProgramWindows::unloadShotClockWindow()
{
    delete m_shotClock;
}

void ProgramWindows::showNotice(const QString& message)
{
    std::fprintf(stderr, "tallivox: %s\n", qPrintable(message));
    if (!m_notice) {
        auto* notice = new NoticeWindow;
        notice->setAttribute(Qt::WA_DeleteOnClose);
        m_notice = notice;
    }
    static_cast<NoticeWindow*>(m_notice.data())->addMessage(message);
    placeNotice();
    m_notice->show();
}

// Off the window on air (the score box, or the splash before it); with neither
// up yet, at the foot of the primary screen, where the box does not start.
void ProgramWindows::placeNotice()
{
    if (!m_notice)
        return;
    const QWidget* onAir = m_scoreboard ? static_cast<QWidget*>(m_scoreboard) : m_splash.data();
    if (onAir && onAir->isVisible()) {
        placeOffWindow(*m_notice, *onAir);
    } else if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QSize size = m_notice->frameGeometry().size().expandedTo(m_notice->sizeHint());
        const QRect screen = primary->availableGeometry();
        m_notice->move(screen.center().x() - size.width() / 2, screen.bottom() - size.height() - 40);
    }
}

// Whatever the camera takes from the box's screen must not show the operator's
// windows: `window` goes beside or below `onAir` when a screen has room, and
// whole on the screen, frame and all, either way.
void ProgramWindows::placeOffWindow(QWidget& window, const QWidget& onAir)
{
    placeBesideOnAir(window, onAir);
}

// The score box when it is on air, else nothing.
QWidget* ProgramWindows::scoreBoxOnAir() const
{
    return m_scoreboard && m_scoreboard->isVisible() ? m_scoreboard.data() : nullptr;
}

void ProgramWindows::endProgram()
{
    if (m_scoreboard)
        m_scoreboard->endProgram();
    else
        endProcess();
}

void ProgramWindows::endProcess()
{
    // A normal end: the next start is a fresh game, and this one is kept for a
    // resume. Before the box there is no game to keep.
    if (m_game)
        m_game->stopRefreshing();
    if (m_scoreboard && m_game)
        gameFile().retire(m_game->state());
    // Nothing of any window runs after this: the loop ends and main tears down.
    for (QWidget* w : {static_cast<QWidget*>(m_scoreboard), m_shotClock.data(), m_help.data(), m_splash.data(),
                       m_notice.data()}) {
        if (w)
            w->hide();
    }
    QCoreApplication::exit(0);
}
